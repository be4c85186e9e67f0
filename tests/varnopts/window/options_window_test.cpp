// The options window as the user runs it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "platform/file_search.h"
#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "varnopts/window/varn_options_dlg.h"

namespace varnwindowtest {
namespace {

namespace fs = std::filesystem;
using namespace platform;
using namespace testsupport;
using Texts = std::vector<std::string>;

template <class T = QWidget>
T* Control(const QWidget& window, const char* objectName) {
    return window.findChild<T*>(QString::fromLatin1(objectName));
}

void Click(const QWidget& window, const char* button) {
    QTest::mouseClick(Control(window, button), Qt::LeftButton);
}

bool OpenAndShow(CVarnOptionsDlg& window) {
    const bool opened = window.OnInitDialog();
    window.show();
    return opened && QTest::qWaitForWindowExposed(&window);
}

// After delay ms on the window's thread (while a button's work goes on),
// calls check and asks the window to repaint; paints counts the paints after.
struct PaintCounter : QObject {
    int paints = -1;
    PaintCounter(QWidget& window, int delay, const std::function<void()>& check) {
        window.installEventFilter(this);
        QTimer::singleShot(delay, this, [this, &window, check] {
            check();
            paints = 0;
            window.update();
        });
    }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += paints >= 0 && event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST(OptionsWindowStart, WithoutTheGameItTellsWhyThenEndsWithoutAWindow) {
    FakeInstallation installation({.gameKey = false, .gameValues = {}});
    MessageRecorder messages;
    CVarnOptionsDlg window(installation.prefix());
    bool everShown = false;  // should the start-up go on, the window closes at once
    QTimer::singleShot(0, &window, [&] {
        everShown = window.isVisible();
        window.done(IDOK);
    });
    EXPECT_EQ(window.DoModal(), IDCANCEL);
    EXPECT_FALSE(everShown);
    EXPECT_EQ(messages.texts(),
              (Texts{"Error opening R6 main registry key.",
                     "Rainbow Six has not been installed properly or has not been run for the "
                     "first time. Please install or run Rainbow Six before installing."}));
}

// The start buttons run the game from its folder; Help opens the read-me.
// Reset alone writes nothing. While the game runs, Save goes through a slow
// `wine reg add`, Install reads through a slow export, and the window keeps
// painting meanwhile.
TEST(OptionsWindowButtons, StartHelpAndTheMouseSensitivityAlsoThroughASlowServer) {
    FakeWine wine("[ \"$2\" = add ] && exec sleep 1\n[ \"$2\" = export ] && sleep 1\n" +
                  RegExportBody());
    FakeInstallation installation(
        {.eagleWatch = true, .gameValues = {{"MouseRadiansPerPixel", "0.02"}}});
    const std::string game = installation.GameValue("InstallationPath");
    installation.WriteFile(game + "RainbowSix.exe", "MZ");
    const fs::path readMe = installation.WriteFile("C:\\VARN\\varn_v200_readme.txt", "Read me");
    MessageRecorder messages;
    CVarnOptionsDlg window(installation.prefix());
    ASSERT_TRUE(OpenAndShow(window));
    EXPECT_FALSE(window.windowIcon().pixmap(32).isNull()) << "the icon's resource";
    Click(window, "IDC_START_EW");  // before its program is there
    EXPECT_EQ(messages.texts(), Texts{"Failed to start " + game + "RainbowSixMP.exe"});
    installation.WriteFile(game + "RainbowSixMP.exe", "MZ");
    Click(window, "IDC_START_R6");
    Click(window, "IDC_START_EW");
    Click(window, "IDC_HELP_BUTTON");
    auto calls = wine.WaitForCalls(3, true);
    std::ranges::sort(calls, {}, &WineCall::arguments);  // the read-me's Unix path first
    EXPECT_EQ(fs::canonical(calls.at(0).arguments.at(0)), fs::canonical(readMe));
    EXPECT_EQ(calls.at(1).arguments, Texts{game + "RainbowSix.exe"});
    EXPECT_EQ(calls.at(2).arguments, Texts{game + "RainbowSixMP.exe"});
    EXPECT_EQ(fs::path(calls[2].folder), fs::canonical(installation.UnixPath(game)));

    auto* slider = Control<QSlider>(window, "IDC_SLIDER_MOUSE");
    EXPECT_EQ(slider->value(), 20000);
    Click(window, "IDC_RESET");
    EXPECT_EQ(slider->value(), 8727);
    EXPECT_STREQ(QueryValue(installation.prefix(), GameKeyName(), "MouseRadiansPerPixel").c_str(),
                 "0.02");
    Click(window, "IDC_SAVE_MOUSE");
    EXPECT_STREQ(QueryValue(installation.prefix(), GameKeyName(), "MouseRadiansPerPixel").c_str(),
                 "0.008727");
    FakeRunningServer server(installation);
    PaintCounter counter(window, 300, [] {});
    Click(window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(wine.Calls().back().arguments.at(1), "add");
    EXPECT_TRUE(wine.Calls().back().ended);
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(messages.messages().size(), 1u);
    // Install reads the keys anew, through a slow export, before any package runs.
    PaintCounter installCounter(window, 300, [] {});
    Click(window, "IDC_INSTALL");
    server.End();
    EXPECT_EQ(wine.Calls().back().arguments.at(1), "export");
    EXPECT_GT(installCounter.paints, 0);
    // The game runs from a Flatpak launcher: a Wine started here would start a second server.
    FakeRunningServer sandboxed(installation, FakeRunningServer::Place::FlatpakSandbox);
    const std::size_t callsBefore = wine.Calls().size();
    Click(window, "IDC_START_R6");
    EXPECT_EQ(wine.Calls().size(), callsBefore);
    EXPECT_EQ(messages.texts().back(), "Failed to start " + game + "RainbowSix.exe");
    EXPECT_NE(messages.messages().back().details.find("Flatpak sandbox"), std::string::npos);
}

// A game that Wine cannot run ends at once: the click returns at once, and
// "Failed to start" follows with Wine's last lines and where its log is.
TEST(OptionsWindowButtons, AGameThatEndsAtOnceFailsToStartWithWinesLines) {
    FakeWine wine("echo 'wine: Bad EXE format for Z:\\\\R6.exe.' >&2\nexit 1");
    FakeInstallation installation;
    const std::string game = installation.GameValue("InstallationPath");
    installation.WriteFile(game + "RainbowSix.exe", PeProgram(false));
    MessageRecorder messages;
    CVarnOptionsDlg window(installation.prefix());
    ASSERT_TRUE(OpenAndShow(window));
    Click(window, "IDC_START_R6");
    EXPECT_TRUE(messages.messages().empty()) << "the click waits for nothing";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.messages().empty(); }, 10000));
    ASSERT_EQ(messages.texts(), Texts{"Failed to start " + game + "RainbowSix.exe"});
    const std::string& details = messages.messages()[0].details;
    EXPECT_NE(details.find("exit code 1.\n\nThe last lines Wine printed:\nwine: Bad EXE format "
                           "for Z:\\R6.exe.\n\nThe whole log: " +
                           wine.runLogs().string()),
              std::string::npos)
        << details;
    EXPECT_TRUE(window.isVisible());
}

// The packages run one at a time in plan order while the window paints, each with "/auto <game
// folder>" word by word, unquoted, in the modification's folder; the last message gives the
// result or why nothing changed (the equipment folder then stays read-only).
TEST(InstallAction, RunsTheChosenPackagesOneAtATimeOrTellsWhyNot) {
    struct Case {
        const char* ran;  // the packages on disk, without "VARN_" and ".EXE"
        std::size_t messages;
        const char* inLast;  // parts, between '|', of the last message (its details included);
                             // one that begins with '!' must not be there
        int uninstall = 0;   // Uninstall All instead, its question answered so
        bool eagleWatch = false;
        const char* quickWeapon = "";     // typed in; the other lists then take their last entry
        const char* wineBody = "";        // each package's, after 0.2 s
        std::uintmax_t length = 4814528;  // of the game's executable (1.04)
        std::pair<std::string, std::optional<std::string>> gameValue = {};  // replaces a value
        bool serverInSandbox = false;  // the game runs from a Flatpak launcher meanwhile
    };
    const char* const full = "FULL FULL_INDEX TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES";
    const Case cases[] = {
        {full, 1, "The installation of VARN is finished: all 6 packages ran", 0, true},
        {"FULL NO_EW TN_MULTI MP_9MM LOW_SOUND ORG_GO", 1, "finished", 0, false,
         "Multiplayer Only - All", "", 4899328},
        {"FULL FULL_INDEX MP_9MM LOW_SOUND ORG_GO", 1, "all 5 packages", 0, true, "My own team"},
        // A missing package costs two messages; the others run all the same. Wine's notice
        // at every start explains no failure of a package that is no 32-bit program.
        {"FULL TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES", 3,
         "VARN_FULL_INDEX.EXE could not be started|VARN_TN_RAINBOW.EXE ended with exit code 3.|"
         "4 of 6 packages ran and ended without error.|!apt install|wine32 is missing|The whole "
         "log: ",
         0, true, "",
         "case \"$1\" in *RAINBOW*) echo 'it looks like wine32 is missing, you should install "
         "it.' >&2; exit 3;; esac"},
        {"", 1, "You are running version 1.0 of", 0, false, "", "", 4625408},
        // The kernel's process files refuse every change of mode, even to root.
        {"", 1, "writable|/proc/self", 0, false, "", "", 4814528, {"BitmapPath", "Z:\\proc\\self"}},
        // Game folders Wine would hand to the packages altered, named in the message.
        {"", 1, "\nC:\\R\"6\\\n", 0, false, "", "", 4814528, {"InstallationPath", "C:\\R\"6\\"}},
        {"", 1, "\nC:\\R\t6\\\n", 0, false, "", "", 4814528, {"InstallationPath", "C:\\R\t6\\"}},
        {"", 1, "\nC:\\R  6\\\n", 0, false, "", "", 4814528, {"InstallationPath", "C:\\R  6\\"}},
        {"", 1, "inside a Flatpak sandbox|Nothing was changed", 0, true, "", "", 4814528, {}, true},
        {"",
         2,
         "inside a Flatpak sandbox|Nothing was changed",
         IDYES,
         true,
         "",
         "",
         4814528,
         {},
         true},
        {"UNINSTALL ORG_GO", 2, "uninstallation of VARN is finished: both", IDYES},
        {"", 1, "Are you sure you want to uninstall VARN?", IDNO}};
    for (const Case& c : cases) {
        FakeWine wine(std::string("sleep 0.2\n") + c.wineBody);
        FakeInstallation installation({.eagleWatch = c.eagleWatch,
                                       .modFolder = "%ProgramFiles%\\VARN",  // as its installer
                                       .gameValues = {c.gameValue}});
        const std::string folder = "C:\\Program Files (x86)\\VARN";
        std::optional<FakeRunningServer> sandboxed;
        if (c.serverInSandbox) {
            sandboxed.emplace(installation, FakeRunningServer::Place::FlatpakSandbox);
        }
        fs::resize_file(installation.WriteFile(
                            installation.GameValue("InstallationPath") + "RainbowSix.exe", ""),
                        c.length);
        Texts ran;  // the packages on disk, to run in this order
        std::istringstream packages(c.ran);
        for (std::string name; packages >> name;) {
            ran.push_back("VARN_" + name + ".EXE");
            installation.WriteFile(folder + "\\" + ran.back(), "MZ");
        }
        const auto mark = installation.WriteFile("C:\\Games\\Rainbow Six\\data\\equipment\\a", "");
        fs::permissions(mark, fs::perms::owner_read);
        CVarnOptionsDlg window(installation.prefix());
        ASSERT_TRUE(OpenAndShow(window));
        if (*c.quickWeapon) {
            Control<QComboBox>(window, "IDC_COMBO_QUICK_WEAPON")->setEditText(c.quickWeapon);
            for (const char* list : {"IDC_COMBO_MP_MODE", "IDC_COMBO_SOUND", "IDC_COMBO_GOCODES"}) {
                auto* combo = Control<QComboBox>(window, list);
                combo->setCurrentIndex(combo->count() - 1);
            }
        }
        MessageRecorder messages;
        messages.QueueAnswer(c.uninstall);
        std::string status;
        PaintCounter counter(window, 100, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            status = Control<QLabel>(window, "IDC_BUSY_TEXT")->text().toStdString() +
                     (cursor != nullptr && cursor->shape() == Qt::WaitCursor ? ", waiting" : "");
            QTest::keyClick(&window, Qt::Key_Escape);  // refused
        });
        Click(window, c.uninstall ? "IDC_UNINSTALL_ALL" : "IDC_INSTALL");

        const auto calls = wine.Calls();
        ASSERT_EQ(calls.size(), ran.size()) << c.ran;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].endLine, 2 * i + 1) << "each ends before the next starts";
            EXPECT_EQ(calls[i].arguments,
                      (Texts{folder + "\\" + ran[i], "/auto", "C:\\Games\\Rainbow", "Six\\"}));
            EXPECT_EQ(fs::path(calls[i].folder), fs::canonical(installation.UnixPath(folder)));
            EXPECT_EQ(calls[i].prefix, installation.prefix().folder.string());
        }
        ASSERT_EQ(messages.messages().size(), c.messages) << c.ran;
        const std::string last =
            messages.messages().back().text + messages.messages().back().details;
        std::istringstream parts(c.inLast);
        for (std::string expected; std::getline(parts, expected, '|');) {
            EXPECT_EQ(last.find(expected.substr(expected.starts_with('!'))) == std::string::npos,
                      expected.starts_with('!'))
                << last;
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(IsReadOnly(mark), !*c.ran || c.uninstall) << last;
        EXPECT_TRUE(window.isVisible());
        if (*c.ran) {
            EXPECT_TRUE(status.starts_with(ran[0] + ", 1 of ") && status.ends_with(", waiting"))
                << status;
            EXPECT_GT(counter.paints, 0);
        }
    }
}

// On a launcher's prefix whose build cannot be used here, the first action that would run Wine
// asks which Wine would run instead; No runs nothing and changes nothing, and the answer holds
// for the next click. With the launcher's build in use (0) nothing is asked.
TEST(AnotherWine, TheFirstActionThatRunsWineAsksOnce) {
    const std::string unusable = "Lutris' build ge-8 is not at /nowhere/bin/wine";
    for (const char* action :
         {"IDC_INSTALL", "IDC_UNINSTALL_ALL", "IDC_START_R6", "IDC_SAVE_MOUSE"}) {
        for (const int answer : {IDNO, IDYES, 0}) {
            SCOPED_TRACE(std::string(action) + " " + std::to_string(answer));
            FakeWine wine(RegExportBody());
            FakeInstallation installation(
                {.eagleWatch = true, .gameValues = {{"MouseRadiansPerPixel", "0.02"}}});
            const std::string game = installation.GameValue("InstallationPath");
            fs::resize_file(installation.WriteFile(game + "RainbowSix.exe", ""), 4814528);
            for (const char* package : {"VARN_FULL.EXE", "VARN_UNINSTALL.EXE"}) {
                installation.WriteFile(std::string("C:\\VARN\\") + package, "MZ");
            }
            const auto mark = installation.WriteFile(game + "data\\equipment\\a", "");
            fs::permissions(mark, fs::perms::owner_read);
            platform::WinePrefix prefix = installation.prefix();
            if (answer != 0) {
                prefix.wine = {"", "wine on the PATH, /usr/bin/wine; " + unusable, unusable};
            }
            CVarnOptionsDlg window(prefix);
            ASSERT_TRUE(OpenAndShow(window));
            std::optional<FakeRunningServer> server;  // Save then goes through Wine
            if (std::string(action) == "IDC_SAVE_MOUSE") {
                server.emplace(installation);
            }
            MessageRecorder messages;
            for (int click = 0; click < 2; ++click) {
                if (std::string(action) == "IDC_UNINSTALL_ALL") {
                    messages.QueueAnswer(IDYES);
                }
                if (click == 0 && answer != 0) {
                    messages.QueueAnswer(answer);
                }
                Click(window, action);
            }
            Texts questions;
            std::ranges::copy_if(
                messages.texts(), std::back_inserter(questions),
                [](const auto& text) { return text.starts_with("The Wine prefix"); });
            ASSERT_EQ(questions.size(), answer != 0 ? 1u : 0u);
            const std::string question = answer != 0 ? questions[0] : "";
            for (const std::string& part :
                 {unusable, std::string("instead: wine on the PATH, /usr/bin/wine."),
                  std::string("the launcher's build may no longer run it")}) {
                EXPECT_TRUE(answer == 0 || question.find(part) != std::string::npos) << question;
            }
            if (answer != IDNO) {
                EXPECT_FALSE(wine.WaitForCalls(1).empty());
                continue;
            }
            QTest::qWait(300);  // a game started at all would have called wine by now
            EXPECT_TRUE(wine.Calls().empty());
            EXPECT_TRUE(IsReadOnly(mark));
        }
    }
}

}  // namespace
}  // namespace varnwindowtest
