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
        EXPECT_EQ(Started(wine, answer == platform::IDYES ? "UNINSTALL ORG_GO" : ""),
                  answer == platform::IDYES ? "UNINSTALL ORG_GO" : "");
    }
}

}  // namespace
}  // namespace varnwindowtest
