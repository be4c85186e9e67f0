// The install action and Uninstall All as the user runs them: which
// packages start and in which order, what stops an install before any
// package starts, and the pause that keeps the window painting.

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "platform/file_search.h"
#include "platform/message.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

namespace varnwindowtest {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// The packages wine was asked to start, without their folder, in the order
// they were started: each start is confirmed before the next, so process ids
// rise in that order even when the logging overtakes.
Texts Programs(const testsupport::FakeWine& wine, std::size_t expected) {
    if (expected == 0) {
        QTest::qWait(300);  // time for a start that should not come
    }
    auto calls = wine.WaitForCalls(expected, true);
    std::sort(calls.begin(), calls.end(), [](auto& a, auto& b) { return a.pid < b.pid; });
    Texts programs;
    for (const auto& call : calls) {
        programs.push_back(call.arguments.at(0).substr(std::string("C:\\VARN\\").size()));
    }
    return programs;
}

fs::path WriteReadOnly(FakeInstallation& installation, const std::string& windowsPath) {
    const fs::path file = installation.WriteFile(windowsPath, "data");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    return file;
}

TEST(InstallAction, TheChoicesStartTheirPackagesInOrder) {
    struct Case {
        bool eagleWatch;
        const char* quickWeapon;  // typed into the editable list
        Texts packages;
    };
    const Case cases[] = {{true,
                           "",
                           {"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_TN_RAINBOW.EXE",
                            "VARN_MP_DEFAULT.EXE", "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"}},
                          {false,
                           "Multiplayer Only - All",
                           {"VARN_FULL.EXE", "VARN_NO_EW.EXE", "VARN_TN_MULTI.EXE",
                            "VARN_MP_9MM.EXE", "VARN_LOW_SOUND.EXE", "VARN_ORG_GO.EXE"}},
                          {true,
                           "My own team",
                           {"VARN_FULL.EXE", "VARN_FULL_INDEX.EXE", "VARN_MP_9MM.EXE",
                            "VARN_LOW_SOUND.EXE", "VARN_ORG_GO.EXE"}}};
    for (const Case& c : cases) {
        testsupport::FakeWine wine;
        MessageRecorder messages;
        testsupport::InstallationOptions options;
        options.eagleWatch = c.eagleWatch;
        FakeInstallation installation(options);
        WriteGameExecutable(installation);
        WritePackages(installation);
        auto window = OpenWindow(installation);
        if (*c.quickWeapon) {
            Control<QComboBox>(*window, "IDC_COMBO_QUICK_WEAPON")
                ->lineEdit()
                ->setText(c.quickWeapon);
            Control<QComboBox>(*window, "IDC_COMBO_MP_MODE")->setCurrentIndex(3);
            Control<QComboBox>(*window, "IDC_COMBO_SOUND")->setCurrentIndex(1);
            Control<QComboBox>(*window, "IDC_COMBO_GOCODES")->setCurrentIndex(1);
        }
        Click(*window, "IDC_INSTALL");
        EXPECT_EQ(Programs(wine, c.packages.size()), c.packages);
        EXPECT_TRUE(messages.messages().empty());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(InstallAction, AMissingPackageIsReportedAndTheRestStillRun) {
    testsupport::FakeWine wine;
    MessageRecorder messages;
    FakeInstallation installation;
    WriteGameExecutable(installation);
    installation.WriteFile("C:\\VARN\\VARN_FULL.EXE", "MZ");
    installation.WriteFile("C:\\VARN\\VARN_GOCODES.EXE", "MZ");
    auto window = OpenWindow(installation);
    Click(*window, "IDC_INSTALL");
    EXPECT_EQ(Programs(wine, 2), (Texts{"VARN_FULL.EXE", "VARN_GOCODES.EXE"}));
    Texts expected;
    for (const char* missing :
         {"VARN_NO_EW.EXE", "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE", "VARN_HIGH_SOUND.EXE"}) {
        expected.push_back("Failed to start C:\\VARN\\" + std::string(missing));
        expected.push_back("The installation could not be completed.");
    }
    EXPECT_EQ(messages.texts(), expected);
}

// A refused version, or a file whose read-only mark cannot be cleared (the
// kernel's process files refuse every change of mode, even to root): no
// package starts and no later mark is cleared.
TEST(InstallAction, ARefusedVersionOrAStuckMarkStartsNothing) {
    for (const bool refused : {true, false}) {
        testsupport::FakeWine wine;
        MessageRecorder messages;
        testsupport::InstallationOptions options;
        if (!refused) {
            options.gameValues["BitmapPath"] = "Z:\\proc\\self";
        }
        FakeInstallation installation(options);
        WriteGameExecutable(installation, refused ? 4625408 : 4814528);  // 1.0 or 1.04
        WritePackages(installation);
        const fs::path later =
            WriteReadOnly(installation, installation.GameValue("EquipmentPath") + "\\gun.txt");
        auto window = OpenWindow(installation);
        QCursor* cursorAtMessage = reinterpret_cast<QCursor*>(1);
        const auto previous = platform::SetMessageOperation(
            [&](const std::string& text, const std::string& caption, unsigned) {
                cursorAtMessage = QApplication::overrideCursor();
                EXPECT_EQ(caption, refused ? "VARN Install Aborted" : "varnopts");
                EXPECT_TRUE(refused || text.find("proc") != std::string::npos) << text;
                return platform::IDOK;
            });
        Click(*window, "IDC_INSTALL");
        platform::SetMessageOperation(previous);
        EXPECT_EQ(cursorAtMessage, nullptr);  // the wait cursor was gone before the message
        EXPECT_TRUE(platform::IsReadOnly(later));
        EXPECT_EQ(Programs(wine, 0), Texts{});
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(InstallAction, ThePauseKeepsPaintingAndRefusesInput) {
    testsupport::FakeWine wine;
    MessageRecorder messages;
    FakeInstallation installation;
    WriteGameExecutable(installation);
    WritePackages(installation);
    auto window = OpenWindow(installation, std::chrono::milliseconds(1500));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    window->installEventFilter(&counter);
    bool waitCursor = false, progressShown = false, visibleAfterInput = false;
    int paintsDuringPause = -1;
    QTimer::singleShot(0, window.get(), [&] {
        // Runs inside the pause: the packages have been started by now.
        waitCursor = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        progressShown = window->findChild<QProgressBar*>("IDC_INSTALL_PROGRESS")->isVisible();
        Click(*window, "IDOK");
        QTest::keyClick(window.get(), Qt::Key_Escape);
        window->close();
        visibleAfterInput = window->isVisible();
        const int before = counter.paints;
        window->update();
        QTimer::singleShot(300, window.get(),
                           [&, before] { paintsDuringPause = counter.paints - before; });
    });
    window->OnInstall();  // called directly, so that nothing but the pause runs the event loop
    EXPECT_TRUE(waitCursor);
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(visibleAfterInput);
    EXPECT_GT(paintsDuringPause, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::keyClick(window.get(), Qt::Key_Escape);  // input works again after the pause
    EXPECT_FALSE(window->isVisible());
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
        const Texts expected = {"VARN_UNINSTALL.EXE", "VARN_ORG_GO.EXE"};
        EXPECT_EQ(Programs(wine, answer == platform::IDYES ? 2 : 0),
                  answer == platform::IDYES ? expected : Texts{});
    }
}

}  // namespace
}  // namespace varnwindowtest
