// The options window as the user runs it: what start-up tells when the game
// cannot be found, the mouse sensitivity, the game's start buttons, Help, and
// the install action and Uninstall All: which packages start and in which
// order, and what stops an install before any package starts.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "platform/file_search.h"
#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "varnopts/window/varn_options_dlg.h"

namespace varnwindowtest {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// Writes the modification's packages into its folder, only the named ones
// ("FULL GOCODES" for VARN_FULL.EXE and VARN_GOCODES.EXE) when names are given.
inline void WritePackages(testsupport::FakeInstallation& installation, std::string names = "") {
    if (names.empty()) {
        names =
            "FULL FULL_INDEX NO_EW TN_RAINBOW TN_ASSAULT TN_RECON TN_HEAVY TN_TANGO TN_MULTI "
            "MP_DEFAULT MP_TANGO MP_PISTOLS MP_9MM HIGH_SOUND LOW_SOUND GOCODES ORG_GO UNINSTALL";
    }
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        installation.WriteFile("C:\\VARN\\VARN_" + name + ".EXE", "MZ");
    }
}

// Writes InstallationPath + "RainbowSix.exe" with the given length (1.04 by default).
inline void WriteGameExecutable(testsupport::FakeInstallation& installation,
                                std::uintmax_t length = 4814528) {
    std::filesystem::resize_file(
        installation.WriteFile(installation.GameValue("InstallationPath") + "RainbowSix.exe", ""),
        length);
}

inline std::unique_ptr<CVarnOptionsDlg> OpenWindow(const FakeInstallation& installation) {
    auto window = std::make_unique<CVarnOptionsDlg>(installation.prefix());
    window->m_installPause = std::chrono::milliseconds(0);
    EXPECT_TRUE(window->OnInitDialog());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

template <class T = QAbstractButton>
T* Control(const QWidget& window, const char* objectName) {
    return window.findChild<T*>(QString::fromLatin1(objectName));
}

inline void Click(const QWidget& window, const char* button) {
    QTest::mouseClick(Control(window, button), Qt::LeftButton);
}

TEST(OptionsWindowStart, WithoutTheGameItTellsWhyThenEndsWithoutAWindow) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "Error opening R6 main registry key."},  // no game key at all
        {{"TextPath", "MissionPath"}, "Error opening TextPath path regkey"},
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
            EXPECT_TRUE(message.caption == "VARN MOD Options" &&
                        message.style == platform::MB_ICONHAND);
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
    fs::remove(readMe);  // a missing read-me shows nothing
    Click(*window, "IDC_HELP_BUTTON");
    EXPECT_EQ(wine.Opened(0).size(), 1u);
    EXPECT_TRUE(messages.messages().empty());
}

// The packages wine was asked to start, without "C:\VARN\VARN_" and ".EXE",
// once as many as expected have ended, in the order they were started: each
// start is confirmed before the next, so process ids rise in that order.
std::string Started(const testsupport::FakeWine& wine, const std::string& expected) {
    const auto count = expected.empty() ? 0 : std::count(expected.begin(), expected.end(), ' ') + 1;
    if (count == 0) {
        QTest::qWait(300);  // time for a start that should not come
    }
    auto calls = wine.WaitForCalls(count, true);
    std::sort(calls.begin(), calls.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    std::string started;
    for (const auto& call : calls) {
        const std::string& file = call.arguments.at(0);
        EXPECT_TRUE(file.starts_with("C:\\VARN\\VARN_") && file.ends_with(".EXE")) << file;
        started += (started.empty() ? "" : " ") + file.substr(13, file.size() - 17);
    }
    return started;
}

// What the user chose and what is on disk: the packages that start, the
// messages, and whether the install went as far as clearing the read-only
// marks of the equipment folder.
TEST(InstallAction, StartsTheChosenPackagesInOrderOrTellsWhyNot) {
    struct Case {
        bool eagleWatch;
        const char* quickWeapon;  // typed into its list; the other lists then take their last entry
        std::uintmax_t length;    // of the game's executable
        const char* bitmapPath;   // "" leaves the default
        bool allPackages;         // else only VARN_FULL.EXE and VARN_GOCODES.EXE
        const char* started;
        std::size_t messages;
        const char* caption;  // of the first message
    };
    const Case cases[] = {
        {true, "", 4814528, "", true, "FULL FULL_INDEX TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES", 0,
         ""},
        {false, "Multiplayer Only - All", 4899328, "", true,
         "FULL NO_EW TN_MULTI MP_9MM LOW_SOUND ORG_GO", 0, ""},
        {true, "My own team", 4814528, "", true, "FULL FULL_INDEX MP_9MM LOW_SOUND ORG_GO", 0, ""},
        // Each missing package costs two messages, and the others still start.
        {false, "", 4814528, "", false, "FULL GOCODES", 8, "VARN MOD Options"},
        {false, "", 4625408, "", true, "", 1, "VARN Install Aborted"},  // version 1.0
        // The kernel's process files refuse every change of mode, even to root.
        {false, "", 4814528, "Z:\\proc\\self", true, "", 1, "varnopts"}};
    for (const Case& c : cases) {
        testsupport::FakeWine wine;
        testsupport::InstallationOptions options;
        options.eagleWatch = c.eagleWatch;
        if (*c.bitmapPath) {
            options.gameValues["BitmapPath"] = c.bitmapPath;
        }
        FakeInstallation installation(options);
        WriteGameExecutable(installation, c.length);
        WritePackages(installation, c.allPackages ? "" : "FULL GOCODES");
        const fs::path mark =
            installation.WriteFile(installation.GameValue("EquipmentPath") + "\\a", "");
        fs::permissions(mark, fs::perms::owner_read);
        auto window = OpenWindow(installation);
        if (*c.quickWeapon) {
            Control<QComboBox>(*window, "IDC_COMBO_QUICK_WEAPON")
                ->lineEdit()
                ->setText(c.quickWeapon);
            for (const char* list : {"IDC_COMBO_MP_MODE", "IDC_COMBO_SOUND", "IDC_COMBO_GOCODES"}) {
                auto* combo = Control<QComboBox>(*window, list);
                combo->setCurrentIndex(combo->count() - 1);
            }
        }
        std::vector<std::string> captions;
        const auto previous = platform::SetMessageOperation(
            [&](const std::string&, const std::string& caption, unsigned) {
                // A refusal comes after the wait cursor is gone.
                EXPECT_TRUE(c.messages != 1 || QApplication::overrideCursor() == nullptr);
                captions.push_back(caption);
                return platform::IDOK;
            });
        Click(*window, "IDC_INSTALL");
        EXPECT_EQ(Started(wine, c.started), c.started);
        platform::SetMessageOperation(previous);
        ASSERT_EQ(captions.size(), c.messages) << c.started;
        EXPECT_TRUE(captions.empty() || captions[0] == c.caption) << c.caption;
        EXPECT_EQ(platform::IsReadOnly(mark), c.messages == 1) << c.caption;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(UninstallAll, YesRunsTheUninstallPackagesInOrderNoRunsNothing) {
    for (const int answer : {platform::IDYES, platform::IDNO}) {
        testsupport::FakeWine wine;
        MessageRecorder messages;
        FakeInstallation installation;
        WriteGameExecutable(installation);
        WritePackages(installation);
        auto window = OpenWindow(installation);
        messages.QueueAnswer(answer);
        Click(*window, "IDC_UNINSTALL_ALL");
        ASSERT_EQ(messages.texts(), Texts{"Are you sure you want to uninstall VARN?"});
        EXPECT_EQ(messages.messages()[0].caption, "Uninstall VARN");
        EXPECT_EQ(messages.messages()[0].style, platform::MB_YESNO);
        EXPECT_EQ(Started(wine, answer == platform::IDYES ? "UNINSTALL ORG_GO" : ""),
                  answer == platform::IDYES ? "UNINSTALL ORG_GO" : "");
    }
}

}  // namespace
}  // namespace varnwindowtest
