// The options window as the user runs it: start-up without the game, the
// mouse sensitivity, the start buttons and Help, Install and Uninstall All.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
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
using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// Writes the named packages ("FULL GOCODES" for VARN_FULL.EXE and
// VARN_GOCODES.EXE) into the modification's folder.
void WritePackages(FakeInstallation& installation, const std::string& names) {
    std::istringstream in(names);
    for (std::string name; in >> name;) {
        installation.WriteFile("C:\\VARN\\VARN_" + name + ".EXE", "MZ");
    }
}

// Writes InstallationPath + "RainbowSix.exe" with the given length (1.04 by default).
void WriteGameExecutable(FakeInstallation& installation, std::uintmax_t length = 4814528) {
    std::filesystem::resize_file(
        installation.WriteFile(installation.GameValue("InstallationPath") + "RainbowSix.exe", ""),
        length);
}

std::unique_ptr<CVarnOptionsDlg> OpenWindow(const FakeInstallation& installation) {
    auto window = std::make_unique<CVarnOptionsDlg>(installation.prefix());
    EXPECT_TRUE(window->OnInitDialog());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

template <class T = QAbstractButton>
T* Control(const QWidget& window, const char* objectName) {
    return window.findChild<T*>(QString::fromLatin1(objectName));
}

void Click(const QWidget& window, const char* button) {
    QTest::mouseClick(Control(window, button), Qt::LeftButton);
}

struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// Calls check after delay ms on the window's thread, then asks the window to
// repaint; paints tells how many paints came in the 50 ms after.
void CheckPaintingAfter(QWidget& window, int delay, int& paints,
                        const std::function<void()>& check) {
    auto* counter = new PaintCounter;
    counter->setParent(&window);
    window.installEventFilter(counter);
    QTimer::singleShot(delay, &window, [&window, &paints, counter, check] {
        check();
        window.update();
        QTimer::singleShot(50, &window, [&paints, counter] { paints = counter->count; });
    });
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
    }
}

// Reset alone writes nothing; Save writes the slider's value. Once the game
// runs (a wineserver holds the prefix) Save goes through `wine reg add`, and
// the window keeps painting while it takes its time.
TEST(MouseSensitivityInWindow, ResetThenSaveWritesTheDefaultAlsoThroughASlowServer) {
    // reg add takes a second; reg export (the key is read through the
    // server too) gives the key without values.
    testsupport::FakeWine wine("[ \"$2\" = add ] && exec sleep 1\n" + testsupport::RegExportBody());
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
    EXPECT_EQ(stored(), "0.02");
    Click(*window, "IDC_SAVE_MOUSE");
    EXPECT_EQ(stored(), "0.008727");

    testsupport::FakeRunningServer server(installation);
    int paints = 0;
    CheckPaintingAfter(*window, 300, paints, [] {});
    Click(*window, "IDC_SAVE_MOUSE");
    server.End();
    ASSERT_EQ(wine.Calls().size(), 2u);
    EXPECT_EQ(wine.Calls()[1].arguments.at(1), "add");
    EXPECT_TRUE(wine.Calls()[1].ended);
    EXPECT_GT(paints, 0);
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
}

// The packages wine ran, without "C:\VARN\VARN_" and ".EXE", in the order
// they started; each ended before the next started.
std::string Ran(const testsupport::FakeWine& wine) {
    const auto calls = wine.Calls();
    std::string ran;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].endLine, 2 * i + 1) << "each ends before the next starts";
        const std::string& file = calls[i].arguments.at(0);
        ran += (ran.empty() ? "" : " ") + file.substr(13, file.size() - 17);
    }
    return ran;
}

// What the user chose and what is on disk: the packages that run one at a
// time in plan order while the window paints, and the messages, the last the
// result or why nothing changed (the equipment folder then stays read-only).
TEST(InstallAction, RunsTheChosenPackagesOneAtATimeOrTellsWhyNot) {
    struct Case {
        bool eagleWatch;
        const char* quickWeapon;  // typed into its list; the other lists then take their last entry
        std::uintmax_t length;    // of the game's executable
        const char* gameValue;    // "Name=value" replaces a value
        const char* wineBody;     // each package's, after a 0.2 s sleep
        const char* ran;          // the packages on disk
        std::size_t messages;
        const char* inLast;  // parts, between '|', of the last message (its details included)
        int uninstall = 0;   // Uninstall All instead, its question answered so
    };
    const char* const full = "FULL FULL_INDEX TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES";
    const Case cases[] = {
        {true, "", 4814528, "", "", full, 1,
         "The installation of VARN is finished: all 6 packages ran and ended without error."},
        {false, "Multiplayer Only - All", 4899328, "", "",
         "FULL NO_EW TN_MULTI MP_9MM LOW_SOUND ORG_GO", 1, "finished"},
        {true, "My own team", 4814528, "", "", "FULL FULL_INDEX MP_9MM LOW_SOUND ORG_GO", 1,
         "all 5 packages"},
        // A missing package costs two messages; the others run all the same.
        {true, "", 4814528, "",
         "case \"$1\" in *RAINBOW*) echo 'err: no space left' >&2; exit 3;; esac",
         "FULL TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES", 3,
         "VARN_FULL_INDEX.EXE could not be started|VARN_TN_RAINBOW.EXE ended with exit code 3.|"
         "4 of 6 packages ran and ended without error.|err: no space left"},
        {true, "", 4814528, "",
         "echo 'it looks like wine32 is missing, you should install it.' >&2; exit 1", full, 1,
         "VARN_FULL.EXE ended with exit code 1.|apt install wine32:i386|wine32 is missing"},
        {false, "", 4625408, "", "", "", 1, "You are running version 1.0 of"},
        // The kernel's process files refuse every change of mode, even to root.
        {false, "", 4814528, "BitmapPath=Z:\\proc\\self", "", "", 1,
         "Could not make a game file writable|/proc/self"},
        // Game folders Wine would hand to the packages altered, named in the message.
        {false, "", 4814528, "InstallationPath=C:\\Games\\Rain\"bow\\", "", "", 1,
         "\nC:\\Games\\Rain\"bow\\\n"},
        {false, "", 4814528, "InstallationPath=C:\\Games\\Rain\tbow\\", "", "", 1,
         "\nC:\\Games\\Rain\tbow\\\n"},
        {false, "", 4814528, "InstallationPath=C:\\Games\\Rainbow  Six\\", "", "", 1,
         "\nC:\\Games\\Rainbow  Six\\\n"},
        {false, "", 4814528, "", "", "UNINSTALL ORG_GO", 2,
         "uninstallation of VARN is finished: both packages", platform::IDYES},
        {false, "", 4814528, "", "", "", 1, "Are you sure you want to uninstall VARN?",
         platform::IDNO}};
    for (const Case& c : cases) {
        testsupport::FakeWine wine(std::string("sleep 0.2\n") + c.wineBody);
        InstallationOptions options;
        options.eagleWatch = c.eagleWatch;
        if (const std::string value = c.gameValue; !value.empty()) {
            options.gameValues[value.substr(0, value.find('='))] =
                value.substr(value.find('=') + 1);
        }
        FakeInstallation installation(options);
        WriteGameExecutable(installation, c.length);
        WritePackages(installation, c.ran);
        const fs::path mark =
            installation.WriteFile(installation.GameValue("EquipmentPath") + "\\a", "");
        fs::permissions(mark, fs::perms::owner_read);
        auto window = OpenWindow(installation);
        if (*c.quickWeapon) {
            Control<QComboBox>(*window, "IDC_COMBO_QUICK_WEAPON")->setEditText(c.quickWeapon);
            for (const char* list : {"IDC_COMBO_MP_MODE", "IDC_COMBO_SOUND", "IDC_COMBO_GOCODES"}) {
                auto* combo = Control<QComboBox>(*window, list);
                combo->setCurrentIndex(combo->count() - 1);
            }
        }
        MessageRecorder messages;
        messages.QueueAnswer(c.uninstall);
        QString status;
        int paints = 0;
        CheckPaintingAfter(*window, 100, paints, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            status = Control<QLabel>(*window, "IDC_BUSY_TEXT")->text() +
                     (cursor != nullptr && cursor->shape() == Qt::WaitCursor ? ", waiting" : "");
            QTest::keyClick(window.get(), Qt::Key_Escape);  // refused
        });
        testing::internal::CaptureStderr();
        Click(*window, c.uninstall ? "IDC_UNINSTALL_ALL" : "IDC_INSTALL");
        const std::string standardError = testing::internal::GetCapturedStderr();

        EXPECT_EQ(Ran(wine), c.ran);
        ASSERT_EQ(messages.messages().size(), c.messages) << c.ran;
        const std::string last =
            messages.messages().back().text + messages.messages().back().details;
        std::istringstream parts(c.inLast);
        for (std::string expected; std::getline(parts, expected, '|');) {
            EXPECT_NE(last.find(expected), std::string::npos) << last;
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(platform::IsReadOnly(mark), !*c.ran || c.uninstall) << last;
        EXPECT_TRUE(window->isVisible());
        if (*c.ran) {
            const std::string ran = c.ran, first = "VARN_" + ran.substr(0, ran.find(' ')) + ".EXE";
            EXPECT_EQ(status.toStdString().substr(0, first.size() + 7), first + ", 1 of ");
            EXPECT_TRUE(status.endsWith(", waiting")) << status.toStdString();
            EXPECT_GT(paints, 0);
            EXPECT_NE(standardError.find("varnopts: " + first + " (1 of "), std::string::npos)
                << standardError;
        }
    }
}

}  // namespace
}  // namespace varnwindowtest
