// The mouse sensitivity slider against the registry file, the game's start
// buttons and Help.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/registry.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using testsupport::FakeInstallation;
using testsupport::MessageRecorder;
using namespace varnwindowtest;
namespace fs = std::filesystem;

namespace {

constexpr char kGameKey[] = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

std::string StoredSensitivity(const FakeInstallation& installation) {
    platform::RegistryKey key;
    if (platform::RegOpenKey(installation.prefix(), kGameKey, platform::KeyAccess::QueryValue,
                             key) != platform::RegStatus::Success) {
        return "<no key>";
    }
    char buffer[260] = {};
    std::uint32_t size = sizeof buffer;
    const auto status = platform::RegQueryValue(key, "MouseRadiansPerPixel", buffer, size);
    platform::RegCloseKey(key);
    return status == platform::RegStatus::Success ? std::string(buffer) : "<no value>";
}

void Click(CVarnOptionsDlg& window, const char* button) {
    QTest::mouseClick(Control<QPushButton>(window, button), Qt::LeftButton);
}

TEST(MouseSensitivityInWindow, SliderShowsTheStoredValue) {
    // The conversion itself is tested with the settings; these are the ends.
    const std::pair<const char*, int> cases[] = {{"0.008727", 8727}, {"", 100}, {"0.03", 25000}};
    for (const auto& [stored, position] : cases) {
        SCOPED_TRACE(stored);
        FakeInstallation installation(Options(false, {{"MouseRadiansPerPixel", stored}}));
        auto window = OpenWindow(installation);
        EXPECT_EQ(Control<QSlider>(*window, "IDC_SLIDER_MOUSE")->value(), position);
    }
}

TEST(MouseSensitivityInWindow, ResetThenSaveWritesTheDefault) {
    MessageRecorder messages;
    FakeInstallation installation(Options(false, {{"MouseRadiansPerPixel", "0.02"}}));
    auto window = OpenWindow(installation);
    auto* slider = Control<QSlider>(*window, "IDC_SLIDER_MOUSE");

    Click(*window, "IDC_RESET");
    EXPECT_EQ(slider->value(), 8727);
    EXPECT_EQ(StoredSensitivity(installation), "0.02");  // Reset alone writes nothing

    Click(*window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(StoredSensitivity(installation), "0.008727");

    slider->setValue(249);
    Click(*window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(StoredSensitivity(installation), "0.000249");
    EXPECT_TRUE(messages.messages().empty());
}

TEST(MouseSensitivityInWindow, FailedSaveKeepsTheSliderAndTheWindow) {
    MessageRecorder messages;
    FakeInstallation installation;
    auto window = OpenWindow(installation);
    auto* slider = Control<QSlider>(*window, "IDC_SLIDER_MOUSE");
    slider->setValue(12345);

    // The game's key vanishes while the window is open.
    std::ifstream in(installation.systemReg());
    std::stringstream content;
    content << in.rdbuf();
    in.close();
    const std::string withoutKey = std::regex_replace(
        content.str(), std::regex(R"(\[[^\]\n]*Tom Clancy's Rainbow Six\][^\n]*\n)"), "[Gone] 0\n");
    ASSERT_NE(withoutKey, content.str());
    std::ofstream(installation.systemReg(), std::ios::trunc) << withoutKey;

    Click(*window, "IDC_SAVE_MOUSE");

    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Error opening R6 main reg key."});
    EXPECT_EQ(messages.messages()[0].caption, "VARN MOD Options");
    EXPECT_EQ(slider->value(), 12345);
    EXPECT_TRUE(window->isVisible());
}

TEST(GameLaunchInWindow, StartButtonsRunTheGameFromItsFolder) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation(Options(true));
    const std::string game = installation.GameValue("InstallationPath");
    installation.WriteFile(game + "RainbowSix.exe", "MZ");
    installation.WriteFile(game + "RainbowSixMP.exe", "MZ");
    auto window = OpenWindow(installation);

    Click(*window, "IDC_START_R6");
    Click(*window, "IDC_START_EW");

    const auto starts = recorder.WaitForStarts(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0].program, game + "RainbowSix.exe");
    EXPECT_EQ(starts[1].program, game + "RainbowSixMP.exe");
    for (const auto& start : starts) {
        EXPECT_EQ(start.parameters, "");
        EXPECT_EQ(start.folder, fs::canonical(installation.UnixPath(game)).string());
    }
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(window->isVisible());
}

TEST(HelpButton, OpensTheReadMeWhateverItsLetterCase) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation;
    const fs::path readMe = installation.WriteFile("C:\\VARN\\varn_v200_readme.txt", "Read me");
    auto window = OpenWindow(installation);

    Click(*window, "IDC_HELP_BUTTON");

    const auto opened = recorder.OpenedDocuments(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fs::canonical(opened[0]), fs::canonical(readMe));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(HelpButton, MissingReadMeShowsNothing) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation;
    auto window = OpenWindow(installation);

    Click(*window, "IDC_HELP_BUTTON");

    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(recorder.OpenedDocuments(0).empty());
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
