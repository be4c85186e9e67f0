// Against real Wine, in one prefix booted for all the tests here (never
// ~/.wine): what `wine reg` wrote reads back, what we write `wine reg` reads,
// with and without a running server; six packages run one at a time; a
// 32-bit package on a Wine without its 32-bit part is reported as not run.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

#include "platform/child_process.h"
#include "platform/file_read.h"
#include "platform/process_environment.h"
#include "platform/wine_32bit.h"
#include "platform/wineserver.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/game_value_writer.h"
#include "varnopts/settings/package_run_report.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using testsupport::QueryValue;

const std::string kGameKey = testsupport::GameKeyName();
const std::string kRegGameKey = "HKLM\\" + kGameKey.substr(0, kGameKey.size() - 1);

// The real Wine prefix, booted in a temporary folder when first asked for,
// removed with its server at the end.
class WineTestPrefix {
  public:
    static const WineTestPrefix& Shared() {
        ::setenv("WINEDEBUG", "-all", 1);  // for the wine that the programs under test start
        static const WineTestPrefix shared;
        return shared;
    }
    ~WineTestPrefix() {
        StopServer();
        // Debian's Wine names the server folder it made in /tmp in <prefix>/wineserver.
        const auto server = platform::ReadWholeFile(folder_.path() / "wineserver");
        std::error_code error;
        if (server && server->starts_with("wine-") && server->find('/') == std::string::npos) {
            fs::remove_all(fs::path("/tmp") / *server, error);
        }
    }

    bool booted() const { return booted_; }
    platform::WinePrefix prefix() const { return platform::LoadPrefix(folder_.path()); }
    // Runs a program from PATH in this prefix and waits for it, not for the
    // wineserver it leaves running: its exit code (-1 when it did not end) and output.
    std::pair<int, std::string> Run(const std::vector<std::string>& arguments) const {
        const auto ran = platform::RunToEnd(
            {platform::FindExecutable(arguments[0]).value_or(arguments[0]),
             arguments,
             platform::EnvironmentWith({"WINEPREFIX=" + folder_.path().string(), "WINEDEBUG=-all"}),
             {}},
            std::chrono::minutes(5));
        return {ran && !ran->timedOut ? ran->exitCode : -1, ran ? ran->output : ""};
    }
    // A server that stays, as while the game runs; ending it saves the registry.
    void StartServer() const {
        Run({"wineserver", "-p"});
        for (int i = 0; i < 100 && !platform::IsWineserverRunning(folder_.path()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    void StopServer() const {
        Run({"wineserver", "-k"});
        Run({"wineserver", "-w"});
    }

  private:
    WineTestPrefix() {
        booted_ = Run({"wineboot", "-i"}).first == 0;
        StopServer();  // the registry files are written as it ends
        booted_ = booted_ && fs::exists(folder_.path() / "system.reg");
    }
    testsupport::TemporaryFolder folder_;
    bool booted_ = false;
};

TEST(RealWine, ReadsWhatWineWroteAndWritesWhatWineReads) {
    const auto& wine = WineTestPrefix::Shared();
    if (!wine.booted()) {
        GTEST_SKIP() << "wine is not installed, or wineboot -i failed";
    }
    // What reg add wrote, as an "A" program reads it: Windows-1252, an empty
    // value, and the modification's folder as its installer stores it.
    const std::vector<std::string> added[] = {
        {kRegGameKey, "TextPath", "REG_SZ", "C:\\Jeux \xc3\xa9t\xc3\xa9", "C:\\Jeux \xe9t\xe9\0"s},
        {kRegGameKey, "MouseRadiansPerPixel", "REG_SZ", "0.008727", "0.008727\0"s},
        {kRegGameKey, "VARNDEV", "REG_SZ", "", "\0"s},
        {"HKLM\\SOFTWARE\\TORV\\VARN MOD 2.0", "InstallPath", "REG_EXPAND_SZ",
         "%ProgramFiles%\\VARN", "%ProgramFiles%\\VARN\0"s},
    };
    for (const auto& value : added) {
        const auto [exitCode, output] = wine.Run({"wine", "reg", "add", value[0], "/v", value[1],
                                                  "/t", value[2], "/d", value[3], "/f", "/reg:32"});
        ASSERT_EQ(exitCode, 0) << value[1] << ": " << output;
    }
    wine.StopServer();
    ASSERT_TRUE(wine.prefix().win64) << "Debian's wine64 makes win64 prefixes";
    const auto readBack = [&](const std::string& mouse) {
        for (const auto& value : added) {
            EXPECT_EQ(QueryValue(wine.prefix(), value[0].substr(5), value[1]),
                      value[1] == "MouseRadiansPerPixel" ? mouse + "\0"s : value[4]);
        }
    };
    readBack("0.008727");
    const auto wineReads = [&] {
        return wine
            .Run({"wine", "reg", "query", kRegGameKey, "/v", "MouseRadiansPerPixel", "/reg:32"})
            .second;
    };
    testsupport::MessageRecorder messages;
    // No server: the file is edited.
    ASSERT_EQ(varnopts::WriteGameValue(wine.prefix(), "MouseRadiansPerPixel", "0.012345"), 0);
    EXPECT_NE(wineReads().find("REG_SZ    0.012345"), std::string::npos) << wineReads();

    // A server runs: the value goes through it, and it saves as it ends.
    wine.StopServer();  // the one the query started would end by itself at any moment
    wine.StartServer();
    ASSERT_TRUE(platform::IsWineserverRunning(wine.prefix().folder));
    ASSERT_EQ(varnopts::WriteGameValue(wine.prefix(), "MouseRadiansPerPixel", "0.000249"), 0);
    EXPECT_NE(wineReads().find("REG_SZ    0.000249"), std::string::npos) << wineReads();
    // system.reg can be half a minute behind the server: reads go through it.
    EXPECT_EQ(QueryValue(wine.prefix(), kGameKey, "MouseRadiansPerPixel"), "0.000249\0"s);
    wine.StopServer();
    readBack("0.000249");
    EXPECT_TRUE(messages.texts().empty());
}

// The stand-in package (standin_package.c) logs its command line and the
// times it started and ended.
TEST(RealWine, SixPackagesRunOneAfterAnother) {
    const auto& wine = WineTestPrefix::Shared();
    if (!wine.booted() || std::string(LW_STANDIN_PACKAGE).empty()) {
        GTEST_SKIP() << "needs Wine and the stand-in package (mingw-w64)";
    }
    const std::string game = "C:\\Program Files (x86)\\Red Storm\\Rainbow Six\\";
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    const fs::path folder = wine.prefix().folder / "drive_c" / "VARN MOD";
    fs::create_directories(folder);
    std::string expectedOrder, expectedLog;
    for (const std::string& package : plan) {
        fs::copy_file(LW_STANDIN_PACKAGE, folder / package, fs::copy_options::overwrite_existing);
        expectedOrder += package + " start\n" + package + " end\n";
        expectedLog += "\"C:\\VARN MOD\\" + package + "\" /auto " + game + "\r\n";
    }
    testsupport::ScopedEnvironment wait("STANDIN_PACKAGE_WAIT_MS", "1500");
    testsupport::MessageRecorder messages;
    // One server for all six: under load, Wine 8's client now and then meets
    // a server that is just ending ("wine client error:0: recvmsg:
    // Connection reset by peer"), which would fail a package for Wine's sake.
    wine.StartServer();
    varnopts::ReportPackageRun(varnopts::PackageAction::Install,
                               varnopts::RunPackages(wine.prefix(), "C:\\VARN MOD", game, plan));
    wine.StopServer();

    std::ifstream times(folder / "standin_package.times"), log(folder / "standin_package.log");
    std::string order;
    unsigned long long lastEnd = 0, milliseconds = 0;
    for (std::string name, what; times >> name >> what >> milliseconds;) {
        order += name + ' ' + what + '\n';
        EXPECT_GE(milliseconds, lastEnd) << name << " began before the one before it ended";
        lastEnd = what == "end" ? milliseconds : lastEnd;
    }
    EXPECT_EQ(order, expectedOrder);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), expectedLog);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].details, "") << "what Wine printed for a failure";
    EXPECT_EQ(messages.texts()[0],
              "The installation of VARN is finished: all 6 packages ran and ended without error.");
}

// This machine's Debian Wine may lack its 32-bit part: then it prints a
// notice, runs nothing and ends with status 0. The 32-bit package among five
// 64-bit ones is reported as not run, with how to get the 32-bit part.
TEST(RealWine, A32BitPackageThatWineCannotRunIsReportedAsNotRun) {
    const auto& wine = WineTestPrefix::Shared();
    if (!wine.booted() || std::string(LW_STANDIN_PACKAGE).empty() ||
        std::string(LW_STANDIN_PACKAGE_32).empty()) {
        GTEST_SKIP() << "needs Wine and both stand-in packages (mingw-w64)";
    }
    if (platform::CanRun32Bit(wine.prefix().wine) == platform::Runs32Bit::Yes) {
        GTEST_SKIP() << "this machine's Wine runs 32-bit programs: nothing to report";
    }
    const std::string game = "C:\\Games\\Rainbow Six\\";
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    const fs::path folder = wine.prefix().folder / "drive_c" / "VARN 32";
    fs::create_directories(folder);
    for (const std::string& package : plan) {
        fs::copy_file(package == plan[3] ? LW_STANDIN_PACKAGE_32 : LW_STANDIN_PACKAGE,
                      folder / package, fs::copy_options::overwrite_existing);
    }
    testsupport::ScopedEnvironment debug("WINEDEBUG", std::nullopt);  // Wine's notices shown
    testsupport::MessageRecorder messages;
    // Run alone, it ends with status 0 without having run; Wine's output says why.
    const auto alone = varnopts::RunPackage(wine.prefix(), "C:\\VARN 32", game, plan[3]);
    EXPECT_TRUE(alone.started && !alone.timedOut && platform::SaysCannotRun32Bit(alone.output))
        << alone.exitCode << "\n"
        << alone.output;
    std::cout << "Alone: exit code " << alone.exitCode << ", output:\n" << alone.output << '\n';

    wine.StartServer();
    const auto outcomes = varnopts::RunPackages(wine.prefix(), "C:\\VARN 32", game, plan);
    wine.StopServer();
    const auto report = varnopts::DescribePackageRun(varnopts::PackageAction::Install, outcomes);
    for (const std::string& line : report.lines) {
        std::cout << line << '\n';
    }
    std::cout << report.text << "\n--- details:\n" << report.details << '\n';
    EXPECT_NE(report.lines.at(3).find("not run"), std::string::npos) << report.lines[3];
    EXPECT_NE(report.text.find("5 of 6 packages ran and ended without error."), std::string::npos);
    EXPECT_NE(report.text.find("apt install wine32:i386"), std::string::npos) << report.text;
    std::ifstream log(folder / "standin_package.log");
    std::string ran(std::istreambuf_iterator<char>(log), {});
    EXPECT_EQ(std::ranges::count(ran, '\n'), 5) << ran;
    EXPECT_EQ(ran.find(plan[3]), std::string::npos) << "the 32-bit one never ran";
}

}  // namespace
