// The options window: what start-up tells when the game cannot be found,
// the mouse sensitivity, the game's start buttons and Help.

#include <gtest/gtest.h>

#include <algorithm>

#include <QSlider>
#include <QTimer>

#include "platform/message.h"
#include "platform/registry.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

namespace varnwindowtest {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

TEST(OptionsWindowStart, WithoutTheGameItTellsWhyThenEndsWithoutAWindow) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "Error opening R6 main registry key."},  // no game key at all
        {{"ActorPath", "MissionPath", "MouseRadiansPerPixel"},
         "Error opening ActorPath path regkey"},
        {{"TextPath"}, "Error opening TextPath path regkey"},
        {{"MouseRadiansPerPixel"}, "Error opening MouseRadiansPerPixel path regkey"}};
    for (const auto& [missing, first] : cases) {
        InstallationOptions options;
        options.gameKey = !missing.empty();
        for (const std::string& name : missing) {
            options.gameValues[name] = std::nullopt;
        }
        MessageRecorder messages;
        FakeInstallation installation(options);
        CVarnOptionsDlg window(installation.prefix());
        bool everShown = false;
        // Should the start-up wrongly go on, the window is closed again at once.
        QTimer::singleShot(0, &window, [&] {
            everShown = window.isVisible();
            window.done(platform::IDOK);
        });
        EXPECT_EQ(window.DoModal(), platform::IDCANCEL);
        EXPECT_FALSE(everShown);
        EXPECT_EQ(messages.texts(),
                  (Texts{first,
                         "Rainbow Six has not been installed properly or has not been run for the "
                         "first time. Please install or run Rainbow Six before installing."}));
        for (const auto& message : messages.messages()) {
            EXPECT_EQ(message.caption, "VARN MOD Options");
            EXPECT_EQ(message.style, platform::MB_ICONHAND);
        }
    }
}

TEST(MouseSensitivityInWindow, ResetThenSaveWritesTheDefault) {
    InstallationOptions options;
    options.gameValues["MouseRadiansPerPixel"] = "0.02";
    FakeInstallation installation(options);
    const auto stored = [&] {
        varnopts::GamePaths paths;
        EXPECT_TRUE(varnopts::ReadGamePaths(installation.prefix(), paths));
        return paths.m_strMouseRadiansPerPixel;
    };
    MessageRecorder messages;
    auto window = OpenWindow(installation);
    auto* slider = Control<QSlider>(*window, "IDC_SLIDER_MOUSE");
    EXPECT_EQ(slider->value(), 20000);
    Click(*window, "IDC_RESET");
    EXPECT_EQ(slider->value(), 8727);
    EXPECT_EQ(stored(), "0.02");  // Reset alone writes nothing
    Click(*window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(stored(), "0.008727");
    slider->setValue(249);
    Click(*window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(stored(), "0.000249");
    EXPECT_TRUE(messages.messages().empty());
}

TEST(GameLaunchInWindow, StartButtonsRunTheGameFromItsFolderAndHelpOpensTheReadMe) {
    testsupport::FakeWine wine;
    MessageRecorder messages;
    InstallationOptions options;
    options.eagleWatch = true;
    FakeInstallation installation(options);
    const std::string game = installation.GameValue("InstallationPath");
    installation.WriteFile(game + "RainbowSix.exe", "MZ");
    installation.WriteFile(game + "RainbowSixMP.exe", "MZ");
    const fs::path readMe = installation.WriteFile("C:\\VARN\\varn_v200_readme.txt", "Read me");
    auto window = OpenWindow(installation);
    Click(*window, "IDC_START_R6");
    Click(*window, "IDC_START_EW");
    Click(*window, "IDC_HELP_BUTTON");
    auto calls = wine.WaitForCalls(2);
    std::sort(calls.begin(), calls.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments, Texts{game + "RainbowSix.exe"});
    EXPECT_EQ(calls[1].arguments, Texts{game + "RainbowSixMP.exe"});
    EXPECT_EQ(fs::path(calls[1].folder), fs::canonical(installation.UnixPath(game)));
    const Texts opened = wine.Opened(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fs::canonical(opened[0]), fs::canonical(readMe));
    EXPECT_TRUE(messages.messages().empty());
    fs::remove(readMe);  // a missing read-me shows nothing
    Click(*window, "IDC_HELP_BUTTON");
    EXPECT_EQ(wine.Opened(0).size(), 1u);
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
}  // namespace varnwindowtest
