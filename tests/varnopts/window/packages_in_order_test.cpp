// The packages of an install run one at a time, in plan order, while the
// window keeps painting; one result tells how each ended. The sensitivity
// written through a running wineserver keeps the window painting too.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

#include "platform/message.h"
#include "platform/wineserver.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "window_test_support.h"

using namespace varnwindowtest;

namespace {

struct RunCase {
    const char* name;
    const char* wineBody;  // run by each package after a 0.2 s sleep
    std::string missing;
    std::vector<std::string> inText;
    const char* inDetails;
    unsigned style;
};

void PrintTo(const RunCase& param, std::ostream* out) {
    *out << param.name;
}

struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// Calls check after delay ms on the window's thread, after which the window
// was asked to repaint; paints tells how many paints came in 50 ms.
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

class PackageRun : public testing::TestWithParam<RunCase> {};

TEST_P(PackageRun, OneAtATimeInPlanOrderWithOneResult) {
    testsupport::FakeWine wine(std::string("sleep 0.2\n") + GetParam().wineBody);
    testsupport::MessageRecorder messages;
    testsupport::FakeInstallation installation(Options(true));
    WriteGameExecutable(installation, kAcceptedLength);
    std::vector<std::string> present = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                        "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                        "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    std::erase(present, GetParam().missing);
    WritePackages(installation, present);
    auto window = OpenWindow(installation);
    QString status;
    int paints = 0;
    CheckPaintingAfter(*window, 100, paints, [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        status = window->findChild<QLabel*>("IDC_BUSY_TEXT")->text() +
                 (cursor != nullptr && cursor->shape() == Qt::WaitCursor ? ", waiting" : "");
        QTest::keyClick(window.get(), Qt::Key_Escape);  // refused
    });

    testing::internal::CaptureStderr();
    window->OnInstall();
    const std::string standardError = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, "VARN_FULL.EXE, 1 of 6, waiting");
    EXPECT_GT(paints, 0);
    EXPECT_TRUE(window->isVisible());
    // Each start is followed by its own end before the next start.
    const auto events = wine.Events();
    ASSERT_EQ(events.size(), 2 * present.size());
    for (std::size_t i = 0; i < events.size(); i += 2) {
        EXPECT_EQ(events[i].kind + events[i + 1].kind, "startend");
        EXPECT_EQ(events[i].pid, events[i + 1].pid);
        EXPECT_EQ(wine.Calls()[i / 2].arguments.at(0), "C:\\VARN\\" + present[i / 2]);
    }
    // Two messages for each missing package, then the result.
    ASSERT_EQ(messages.messages().size(), GetParam().missing.empty() ? 1u : 3u);
    const auto& result = messages.messages().back();
    for (const std::string& expected : GetParam().inText) {
        EXPECT_NE(result.text.find(expected), std::string::npos) << result.text;
    }
    EXPECT_NE(result.details.find(GetParam().inDetails), std::string::npos) << result.details;
    EXPECT_EQ(result.style, GetParam().style);
    for (const char* line : {"VARN_FULL.EXE (1 of 6): ", "VARN_GOCODES.EXE (6 of 6): "}) {
        EXPECT_NE(standardError.find(std::string("varnopts: ") + line), std::string::npos)
            << standardError;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackageRun,
    testing::Values(
        RunCase{"AllGood",
                "",
                "",
                {"The installation of VARN is finished: all 6 packages ran and ended without "
                 "error."},
                "",
                platform::MB_ICONASTERISK},
        RunCase{"MissingAndFailing",
                "case \"$1\" in *RAINBOW*) echo 'err: no space left' >&2; exit 3;; esac",
                "VARN_FULL_INDEX.EXE",
                {"VARN_FULL_INDEX.EXE could not be started",
                 "VARN_TN_RAINBOW.EXE ended with exit code 3.",
                 "4 of 6 packages ran and ended without error."},
                "err: no space left",
                platform::MB_ICONEXCLAMATION},
        RunCase{"Wine32Missing",
                "echo 'it looks like wine32 is missing, you should install it.' >&2; exit 1",
                "",
                {"VARN_FULL.EXE ended with exit code 1.", "apt install wine32:i386"},
                "wine32 is missing",
                platform::MB_ICONEXCLAMATION}),
    [](const testing::TestParamInfo<RunCase>& info) { return info.param.name; });

TEST(SensitivitySave, TheWindowKeepsPaintingDuringASlowWineRegAdd) {
    // reg add takes a second; reg export (the key is read through the
    // server too) gives the key without values.
    testsupport::FakeWine wine(
        "[ \"$2\" = add ] && exec sleep 1\n"
        "{ printf '\\377\\376'; printf 'Windows Registry Editor Version 5.00\\r\\n\\r\\n"
        "[HKEY_LOCAL_MACHINE\\\\K]\\r\\n' | iconv -t UTF-16LE; } "
        "> \"$(printf %s \"$4\" | sed 's/^....unix//; s|\\\\|/|g')\"");
    testsupport::MessageRecorder messages;
    testsupport::FakeInstallation installation(Options(true));
    auto window = OpenWindow(installation);
    // The game starts after the window opened: a running wineserver, as the
    // registry sees it, the lock held on the lock file that the prefix's
    // "wineserver" file points to.
    std::ofstream(installation.prefix().folder / "wineserver")
        << (installation.root() / "server").string();
    const auto lockFile = platform::WineserverLockFiles(installation.prefix().folder).at(1);
    std::filesystem::create_directories(lockFile.parent_path());
    const int lock = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct flock range {};
    range.l_type = F_WRLCK;
    ASSERT_EQ(fcntl(lock, F_OFD_SETLK, &range), 0);
    int paints = 0;
    CheckPaintingAfter(*window, 300, paints, [] {});

    window->OnSave();
    close(lock);

    ASSERT_EQ(wine.Calls().size(), 2u);
    EXPECT_EQ(wine.Calls()[1].arguments.at(1), "add");
    EXPECT_TRUE(wine.Calls()[1].ended);
    EXPECT_GT(paints, 0);
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
