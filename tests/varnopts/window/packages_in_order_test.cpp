// The packages of an install run one at a time, in plan order, while the
// window keeps painting; one result tells how each ended. The sensitivity
// written through a running wineserver keeps the window painting too.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/message.h"
#include "platform/wineserver.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using namespace varnwindowtest;

namespace {

struct RunCase {
    const char* name;
    const char* wineBody;
    std::vector<std::string> missing;
    std::vector<std::string> expectedInText;
    const char* expectedInDetails;
    unsigned style;
};

void PrintTo(const RunCase& param, std::ostream* out) {
    *out << param.name;
}

class PackageRun : public testing::TestWithParam<RunCase> {};

TEST_P(PackageRun, OneAtATimeInPlanOrderWithOneResult) {
    testsupport::FakeWine wine(GetParam().wineBody);
    testsupport::MessageRecorder messages;
    testsupport::FakeInstallation installation(Options(true));
    WriteGameExecutable(installation, kAcceptedLength);
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    std::vector<std::string> present;
    for (const auto& name : plan) {
        if (std::find(GetParam().missing.begin(), GetParam().missing.end(), name) ==
            GetParam().missing.end()) {
            present.push_back(name);
        }
    }
    WritePackages(installation, present);
    auto window = OpenWindow(installation);

    testing::internal::CaptureStderr();
    window->OnInstall();
    const std::string standardError = testing::internal::GetCapturedStderr();

    // Each start is followed by its own end before the next start.
    const auto events = wine.Events();
    ASSERT_EQ(events.size(), 2 * present.size());
    for (std::size_t i = 0; i < events.size(); i += 2) {
        EXPECT_EQ(events[i].kind, "start");
        EXPECT_EQ(events[i + 1].kind, "end");
        EXPECT_EQ(events[i].pid, events[i + 1].pid);
    }
    const auto calls = wine.Calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].arguments.at(0), "C:\\VARN\\" + present[i]);
    }
    ASSERT_FALSE(messages.messages().empty());
    const auto& result = messages.messages().back();
    const std::string text = result.text.substr(0, result.text.find(platform::kDetailsMark));
    for (const std::string& expected : GetParam().expectedInText) {
        EXPECT_NE(text.find(expected), std::string::npos) << text;
    }
    const std::string details = result.text.substr(text.size());
    EXPECT_NE(details.find(GetParam().expectedInDetails), std::string::npos) << details;
    EXPECT_EQ(result.style, GetParam().style);
    // Two messages for each missing package, then the result.
    EXPECT_EQ(messages.messages().size(), 2 * GetParam().missing.size() + 1);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = standardError.find("varnopts: VARN_", at)) != std::string::npos;
         ++at) {
        ++lines;
    }
    EXPECT_EQ(lines, 6u) << standardError;
    EXPECT_NE(standardError.find("VARN_FULL.EXE (1 of 6): "), std::string::npos) << standardError;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackageRun,
    testing::Values(
        RunCase{"AllGood",
                "sleep 0.2",
                {},
                {"The installation of VARN is finished: all 6 packages ran and ended without "
                 "error."},
                "",
                platform::MB_ICONASTERISK},
        RunCase{"MissingAndFailing",
                "sleep 0.2\ncase \"$1\" in *RAINBOW*) echo 'err: no space left' >&2; exit 3;; esac",
                {"VARN_FULL_INDEX.EXE"},
                {"VARN_FULL_INDEX.EXE could not be started",
                 "VARN_TN_RAINBOW.EXE ended with exit code 3.",
                 "4 of 6 packages ran and ended without error."},
                "err: no space left",
                platform::MB_ICONEXCLAMATION},
        RunCase{"Wine32Missing",
                "echo 'it looks like wine32 is missing, you should install it.' >&2; exit 1",
                {},
                {"VARN_FULL.EXE ended with exit code 1.", "apt install wine32:i386"},
                "wine32 is missing",
                platform::MB_ICONEXCLAMATION}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

// Counts the window's paint events.
struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST(PackageRunWindow, TheWindowPaintsAndShowsThePackageWhileItRuns) {
    testsupport::FakeWine wine("sleep 1");
    testsupport::MessageRecorder messages;
    testsupport::FakeInstallation installation(Options(true));
    WriteGameExecutable(installation, kAcceptedLength);
    WritePackages(installation, {"VARN_FULL.EXE"});
    auto window = OpenWindow(installation);
    PaintCounter paints;
    window->installEventFilter(&paints);
    QString status;
    bool waitCursor = false;
    int paintsWhileRunning = 0;
    QTimer::singleShot(300, window.get(), [&] {
        auto* text = window->findChild<QLabel*>("IDC_BUSY_TEXT");
        status = text != nullptr ? text->text() : QString();
        waitCursor = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QTest::keyClick(window.get(), Qt::Key_Escape);  // refused
        const int before = paints.count;
        window->update();
        QTimer::singleShot(200, window.get(),
                           [&, before] { paintsWhileRunning = paints.count - before; });
    });

    window->OnInstall();

    EXPECT_EQ(status, "VARN_FULL.EXE, 1 of 6");
    EXPECT_TRUE(waitCursor);
    EXPECT_GT(paintsWhileRunning, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST(SensitivitySave, TheWindowKeepsPaintingDuringASlowWineRegAdd) {
    testsupport::FakeWine wine("sleep 1");
    testsupport::MessageRecorder messages;
    testsupport::FakeInstallation installation(Options(true));
    // A running wineserver, as the registry sees it: the lock held on the
    // lock file that the prefix's "wineserver" file points to.
    const auto serverFolder = installation.root() / "server";
    std::ofstream(installation.prefix().folder / "wineserver") << serverFolder.string();
    const auto lockFile = platform::WineserverLockFiles(installation.prefix().folder).at(1);
    std::filesystem::create_directories(lockFile.parent_path());
    const int lock = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct flock range {};
    range.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(lock, F_OFD_SETLK, &range), 0);
    ASSERT_TRUE(platform::IsWineserverRunning(installation.prefix().folder));
    auto window = OpenWindow(installation);
    PaintCounter paints;
    window->installEventFilter(&paints);
    int paintsWhileSaving = 0;
    QTimer::singleShot(300, window.get(), [&] {
        const int before = paints.count;
        window->update();
        QTimer::singleShot(200, window.get(),
                           [&, before] { paintsWhileSaving = paints.count - before; });
    });

    window->OnSave();
    close(lock);

    ASSERT_EQ(wine.Calls().size(), 1u);
    EXPECT_EQ(wine.Calls()[0].arguments.at(0), "reg");
    EXPECT_TRUE(wine.Calls()[0].ended);
    EXPECT_GT(paintsWhileSaving, 0);
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
