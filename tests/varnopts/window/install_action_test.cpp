// The install action as the user runs it: which packages start, in which
// order and how; what refuses it; the read-only marks; and
// Uninstall All.

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/file_search.h"
#include "platform/message.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using testsupport::FakeInstallation;
using testsupport::MessageRecorder;
using namespace varnwindowtest;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Programs(const std::vector<RecordedStart>& starts) {
    std::vector<std::string> programs;
    for (const auto& start : starts) {
        programs.push_back(start.program);
    }
    return programs;
}

std::vector<std::string> InModFolder(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    for (const auto& name : names) {
        files.push_back("C:\\VARN\\" + name);
    }
    return files;
}

void Select(CVarnOptionsDlg& window, const char* list, const QString& entry) {
    auto* combo = Control<QComboBox>(window, list);
    const int index = combo->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    combo->setCurrentIndex(index);
}

void ClickInstall(CVarnOptionsDlg& window) {
    QTest::mouseClick(Control<QPushButton>(window, "IDC_INSTALL"), Qt::LeftButton);
}

fs::path MakeReadOnlyFile(FakeInstallation& installation, const std::string& windowsPath) {
    const fs::path file = installation.WriteFile(windowsPath, "data");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    return file;
}

struct PlanCase {
    const char* name;
    bool eagleWatch;
    std::vector<std::pair<const char*, QString>> selections;
    std::vector<std::string> packages;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PlanCase& param, std::ostream* out) {
    *out << param.name;
}

class InstallPlanInWindow : public testing::TestWithParam<PlanCase> {};

TEST_P(InstallPlanInWindow, StartsThePackagesInPlanOrder) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation(Options(GetParam().eagleWatch));
    WriteGameExecutable(installation, kAcceptedLength);
    WritePackages(installation, AllPackageNames());
    auto window = OpenWindow(installation);
    for (const auto& [list, entry] : GetParam().selections) {
        Select(*window, list, entry);
    }

    ClickInstall(*window);

    const auto starts = recorder.WaitForStarts(GetParam().packages.size());
    EXPECT_EQ(Programs(starts), InModFolder(GetParam().packages));
    const fs::path modFolder = fs::canonical(installation.UnixPath("C:\\VARN"));
    for (const auto& start : starts) {
        EXPECT_EQ(start.parameters, "/auto C:\\Games\\Rainbow Six\\");
        EXPECT_EQ(start.folder, modFolder.string());
        EXPECT_EQ(start.prefix, installation.prefix().folder.string());
    }
    EXPECT_EQ(messages.messages().size(), 1u);  // the result
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallPlanInWindow,
    testing::Values(PlanCase{"DefaultsWithEagleWatch",
                             true,
                             {},
                             {"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_TN_RAINBOW.EXE",
                              "VARN_MP_DEFAULT.EXE", "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}},
                    PlanCase{"DefaultsWithoutEagleWatch",
                             false,
                             {},
                             {"VARN_FULL.EXE", "VARN_NO_EW.EXE", "VARN_TN_RAINBOW.EXE",
                              "VARN_MP_DEFAULT.EXE", "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}},
                    PlanCase{"OtherChoices",
                             true,
                             {{"IDC_COMBO_QUICK_WEAPON", "Multiplayer Only - All"},
                              {"IDC_COMBO_MP_MODE", "9mm Only"},
                              {"IDC_COMBO_SOUND", "Low Quality"},
                              {"IDC_COMBO_GOCODES", "Original"}},
                             {"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_TN_MULTI.EXE",
                              "VARN_MP_9MM.EXE", "VARN_LOW_SOUND.EXE", "VARN_ORG_GO.EXE"}}),
    [](const testing::TestParamInfo<PlanCase>& info) { return info.param.name; });

TEST(InstallAction, TypedQuickWeaponTextThatNamesNoEntryRunsNoTeamPackage) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation(Options(true));
    WritePackages(installation, AllPackageNames());
    auto window = OpenWindow(installation);
    auto* quickWeapon = Control<QComboBox>(*window, "IDC_COMBO_QUICK_WEAPON");
    quickWeapon->lineEdit()->setText("My own team");
    EXPECT_EQ(window->QuickWeaponPosition(), -1);

    ClickInstall(*window);
    EXPECT_EQ(Programs(recorder.WaitForStarts(5)),
              InModFolder({"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_MP_DEFAULT.EXE",
                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}));
    // The lists keep their choices after an install.
    EXPECT_EQ(quickWeapon->currentText(), "My own team");
}

TEST(InstallAction, ClearsReadOnlyMarksOnlyWhereItShould) {
    StartRecorder recorder;
    FakeInstallation installation(Options(true));
    WritePackages(installation, AllPackageNames());
    const std::string game = installation.GameValue("InstallationPath");
    const fs::path cleared[] = {
        MakeReadOnlyFile(installation, game + "RainbowSix.ini"),
        MakeReadOnlyFile(installation, installation.GameValue("SoundPath") + "\\english\\a.wav"),
        MakeReadOnlyFile(installation, installation.GameValue("BitmapPath") + "\\.hidden.bmp"),
    };
    const fs::path kept[] = {
        MakeReadOnlyFile(installation, installation.GameValue("TextPath") + "\\text.txt"),
        MakeReadOnlyFile(installation, installation.GameValue("ActionMusicPath") + "\\m.wav"),
        MakeReadOnlyFile(installation, installation.GameValue("BitmapPath") + "\\english\\b.bmp"),
    };
    auto window = OpenWindow(installation);
    ClickInstall(*window);
    recorder.WaitForStarts(6);
    for (const fs::path& file : cleared) {
        EXPECT_FALSE(platform::IsReadOnly(file)) << file;
        EXPECT_TRUE(fs::exists(file)) << file;
    }
    for (const fs::path& file : kept) {
        EXPECT_TRUE(platform::IsReadOnly(file)) << file;
    }
}

TEST(InstallAction, RefusedVersionChangesNothing) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation;
    WriteGameExecutable(installation, 4625408);  // version 1.0
    WritePackages(installation, AllPackageNames());
    const fs::path file =
        MakeReadOnlyFile(installation, installation.GameValue("InstallationPath") + "a.txt");
    auto window = OpenWindow(installation);

    ClickInstall(*window);

    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "VARN Install Aborted");
    EXPECT_TRUE(platform::IsReadOnly(file));
    EXPECT_TRUE(recorder.StartsSoFar().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(InstallAction, AFileThatStaysReadOnlyStopsBeforeAnyPackage) {
    StartRecorder recorder;
    MessageRecorder messages;
    // The kernel's process files refuse every change of mode, even to root.
    FakeInstallation installation(Options(true, {{"BitmapPath", "Z:\\proc\\self"}}));
    WritePackages(installation, AllPackageNames());
    const fs::path later =
        MakeReadOnlyFile(installation, installation.GameValue("EquipmentPath") + "\\gun.txt");
    auto window = OpenWindow(installation);
    QCursor* cursorAtMessage = reinterpret_cast<QCursor*>(1);
    platform::SetMessageOperation(
        [&](const std::string& text, const std::string& caption, unsigned style) {
            cursorAtMessage = QApplication::overrideCursor();
            EXPECT_EQ(caption, "varnopts");
            EXPECT_EQ(style, platform::MB_ICONHAND);
            EXPECT_NE(text.find("proc"), std::string::npos) << text;
            return platform::IDOK;
        });

    ClickInstall(*window);

    EXPECT_EQ(cursorAtMessage, nullptr);  // the wait cursor was gone before the message
    EXPECT_TRUE(platform::IsReadOnly(later));
    EXPECT_TRUE(recorder.StartsSoFar().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(InstallAction, WithoutPackagesEachOneIsReportedAndTheRestStillRun) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation(Options(true));
    WritePackages(installation, {"VARN_FULL.EXE", "VARN_GOCODES.EXE"});
    auto window = OpenWindow(installation);
    ClickInstall(*window);

    EXPECT_EQ(Programs(recorder.WaitForStarts(2)),
              InModFolder({"VARN_FULL.EXE", "VARN_GOCODES.EXE"}));
    std::vector<std::string> expected;
    for (const char* missing : {"VARN_FULL_INDEX.EXE", "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                "VARN_HIGH_SOUND.EXE"}) {
        expected.push_back("Failed to start C:\\VARN\\" + std::string(missing));
        expected.push_back("The installation could not be completed.");
    }
    std::vector<std::string> texts = messages.texts();
    texts.pop_back();  // the result
    EXPECT_EQ(texts, expected);
}

TEST(UninstallAll, YesRunsTheUninstallPackagesInOrder) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation;
    WriteGameExecutable(installation, kAcceptedLength);
    WritePackages(installation, AllPackageNames());
    auto window = OpenWindow(installation);
    messages.QueueAnswer(platform::IDYES);

    QTest::mouseClick(Control<QPushButton>(*window, "IDC_UNINSTALL_ALL"), Qt::LeftButton);

    ASSERT_EQ(messages.messages().size(), 2u);  // the question and the result
    EXPECT_EQ(messages.messages()[0].text, "Are you sure you want to uninstall VARN?");
    EXPECT_EQ(messages.messages()[0].caption, "Uninstall VARN");
    EXPECT_EQ(messages.messages()[0].style, platform::MB_YESNO);
    const auto starts = recorder.WaitForStarts(2);
    EXPECT_EQ(Programs(starts), InModFolder({"VARN_UNINSTALL.EXE", "VARN_ORG_GO.EXE"}));
    for (const auto& start : starts) {
        EXPECT_EQ(start.parameters, "/auto C:\\Games\\Rainbow Six\\");
    }
}

TEST(UninstallAll, NoRunsNothing) {
    StartRecorder recorder;
    MessageRecorder messages;
    FakeInstallation installation(Options(true));
    WritePackages(installation, AllPackageNames());
    auto window = OpenWindow(installation);
    messages.QueueAnswer(platform::IDNO);

    QTest::mouseClick(Control<QPushButton>(*window, "IDC_UNINSTALL_ALL"), Qt::LeftButton);

    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"Are you sure you want to uninstall VARN?"});
    EXPECT_TRUE(recorder.StartsSoFar().empty());
}

}  // namespace
