// What a run of packages reports when Wine cannot run 32-bit programs or a
// package hangs, and what a game that cannot start tells.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/file_read.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/package_run_report.h"
#include "varnopts/settings/package_runner.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using namespace testsupport;

// Debian's wine without wine32: says so at every start (as the stand-in
// does in "notice" rows), and its files show it ("nowine32" rows).
const std::string kNotice = "echo 'it looks like wine32 is missing, you should install it.' >&2\n";
const std::string kNoWine32Files = "# wine32 is missing\nwine32=/no/such/loader\n";

// Each package's word size ('3', '6', '?' for no PE header), Wine's output:
// the packages started and each one's ending.
TEST(PackageRun, ThirtyTwoBitPackagesThatDidNotRunAreNeverReportedAsRun) {
    struct Case {
        const char* bits;
        std::string body;
        const char* started;
        std::vector<std::string> endings;
        bool hinted;
        bool refusedBefore = false;
    } const cases[] = {
        {"363",
         kNotice,  // the first 32-bit one shows it: the second is not tried
         "P1 P2",
         {"did not run: Wine could not run this 32-bit program", "ended with exit code 0",
          "was not run: this Wine cannot run 32-bit programs"},
         true},
        {"6", kNotice + "exit 3", "P1", {"ended with exit code 3"}, false},
        {"33?",
         kNoWine32Files,
         "P3",
         {"was not run: this Wine cannot run 32-bit programs",
          "was not run: this Wine cannot run 32-bit programs", "ended with exit code 0"},
         true,
         true},
        {"?6",
         kNoWine32Files + kNotice,
         "P1 P2",
         {"ended with exit code 0", "ended with exit code 0"},
         false},
        {"36", "true", "P1 P2", {"ended with exit code 0", "ended with exit code 0"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits + (" " + c.body));
        FakeWine wine(c.body);
        FakeInstallation installation;
        std::vector<std::string> names;
        for (std::size_t i = 0; c.bits[i] != '\0'; ++i) {
            names.push_back("P" + std::to_string(i + 1) + ".EXE");
            installation.WriteFile("C:\\VARN\\" + names.back(),
                                   c.bits[i] == '?' ? "MZ" : PeProgram(c.bits[i] == '3'));
        }
        MessageRecorder messages;
        EXPECT_EQ(CheckWineRunsPackages(installation.prefix(), "C:\\VARN", names),
                  !c.refusedBefore);
        ASSERT_EQ(messages.texts().size(), c.refusedBefore ? 1u : 0u);
        if (c.refusedBefore) {
            EXPECT_EQ(messages.messages()[0].caption, "VARN Install Aborted");
            EXPECT_NE(messages.texts()[0].find("P1.EXE, P2.EXE are 32-bit programs"),
                      std::string::npos);
            EXPECT_NE(messages.texts()[0].find("Nothing was changed."), std::string::npos);
        }
        const auto outcomes = RunPackages(installation.prefix(), "C:\\VARN", "C:\\R6\\", names);
        std::string started;
        for (const WineCall& call : wine.Calls()) {
            started += (started.empty() ? "" : " ") + call.arguments.at(0).substr(8, 2);
        }
        EXPECT_EQ(started, c.started);
        const PackageRunReport report = DescribePackageRun(PackageAction::Install, outcomes);
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(report.lines.at(i), names[i] + " (" + std::to_string(i + 1) + " of " +
                                              std::to_string(names.size()) +
                                              "): " + c.endings.at(i));
        }
        EXPECT_EQ(report.text.find("apt install wine32:i386") != std::string::npos, c.hinted)
            << report.text;
    }
}

bool Gone(long pid) {
    for (int i = 0; i < 200; ++i) {
        const auto stat = platform::ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
        if (::kill(static_cast<pid_t>(pid), 0) != 0 ||
            (stat && stat->find(") Z ") != std::string::npos)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A package past its time limit is ended with what it started: by the
// build's `wineserver -k` when it was alone in the prefix, else by its
// process group.
TEST(PackageRun, AHungPackageIsEndedWithTheProgramsItStarted) {
    for (const bool serverRan : {false, true}) {
        FakeInstallation installation;
        const fs::path bin = installation.root() / "build" / "bin";
        FakeWine wine("sleep 30 &\necho $! > \"$WINEPREFIX/child\"\nwait", bin);
        std::ofstream(bin / "wineserver")
            << "#!/bin/sh\necho \"$* $WINEPREFIX\" >> '" << (bin / "server.log").string() << "'\n";
        fs::permissions(bin / "wineserver", fs::perms::owner_all);
        platform::WinePrefix prefix = installation.prefix();
        prefix.wine.program = wine.program().string();
        installation.WriteFile("C:\\VARN\\P1.EXE", PeProgram(false));
        std::optional<FakeRunningServer> server;
        if (serverRan) {
            server.emplace(installation);
        }
        const PackageOutcome outcome =
            RunPackage(prefix, "C:\\VARN", "C:\\R6\\", "P1.EXE", nullptr, std::chrono::seconds(1));
        EXPECT_TRUE(outcome.timedOut);
        const auto child = platform::ReadWholeFile(prefix.folder / "child");
        ASSERT_TRUE(child) << "the package started its child";
        EXPECT_TRUE(Gone(std::stol(*child))) << "the package's child still runs";
        const auto killed = platform::ReadWholeFile(bin / "server.log");
        EXPECT_EQ(killed ? *killed : "", serverRan ? "" : "-k " + prefix.folder.string() + "\n");
        EXPECT_NE(outcome.stoppedHow.find(serverRan ? "the programs it started" : "wineserver -k"),
                  std::string::npos)
            << outcome.stoppedHow;
    }
}

// The game's word size, Wine's output and status: whether "Failed to start"
// shows, with what in its details; Wine's output is in the run log only.
TEST(GameStart, AGameThatCannotStartSaysSoWithWinesLastLines) {
    const struct Case {
        bool bits32;
        std::string body;
        const char* details;  // "" when the start is fine
        bool wineRan = true;
    } cases[] = {
        {false, "echo fine", ""},
        {true, kNotice, "Wine could not run this 32-bit program. The Wine in use lacks its 32-bit"},
        {true, kNoWine32Files, "RainbowSix.exe is a 32-bit program, and the Wine", false},
        {true, "sleep 2\nexit 1", ""},  // it outlived the watch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        FakeWine wine(c.body);
        FakeInstallation installation;
        installation.WriteFile("C:\\R6\\RainbowSix.exe", PeProgram(c.bits32));
        MessageRecorder messages;
        auto start = StartGameProgram(installation.prefix(), "C:\\R6\\", kRainbowSixExe,
                                      std::chrono::milliseconds(1000));
        while (start && !start->Poll(installation.prefix())) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(wine.Calls().size(), c.wineRan ? 1u : 0u);
        if (!*c.details) {
            EXPECT_TRUE(messages.messages().empty());
            continue;
        }
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.texts()[0], "Failed to start C:\\R6\\RainbowSix.exe");
        EXPECT_TRUE(messages.messages()[0].details.starts_with(c.details))
            << messages.messages()[0].details;
        if (c.wineRan) {
            const std::string& details = messages.messages()[0].details;
            const fs::path log(details.substr(details.find("The whole log: ") + 15));
            EXPECT_EQ(log.parent_path(), wine.runLogs());
            EXPECT_NE(platform::ReadWholeFile(log)->find("wine"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace varnopts
