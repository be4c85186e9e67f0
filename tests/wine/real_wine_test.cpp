// Against real Wine: what `wine reg` wrote reads back, what we write `wine reg`
// reads, with and without a running server; six packages run one at a time.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/registry.h"
#include "platform/wineserver.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/game_value_writer.h"
#include "varnopts/settings/package_run_report.h"
#include "wine_test_prefix.h"

namespace {

using namespace std::string_literals;
using testsupport::QueryValue;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";
const std::string kRegGameKey = "HKLM\\" + kGameKey.substr(0, kGameKey.size() - 1);

TEST(RealWine, ReadsWhatWineWroteAndWritesWhatWineReads) {
    const auto& wine = winetest::WineTestPrefix::Shared();
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
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
        const auto ran = wine.Run({"wine", "reg", "add", value[0], "/v", value[1], "/t", value[2],
                                   "/d", value[3], "/f", "/reg:32"});
        ASSERT_EQ(ran.exitCode, 0) << value[1] << ": " << ran.output;
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
            .output;
    };
    testsupport::MessageRecorder messages;
    // No server: the file is edited.
    ASSERT_FALSE(platform::IsWineserverRunning(wine.folder()));
    ASSERT_EQ(varnopts::WriteGameValue(wine.prefix(), "MouseRadiansPerPixel", "0.012345"), 0);
    EXPECT_NE(wineReads().find("REG_SZ    0.012345"), std::string::npos) << wineReads();

    // A server runs: the value goes through it, and it saves as it ends.
    wine.StopServer();  // the one the query started would end by itself at any moment
    ASSERT_EQ(wine.Run({"wineserver", "-p"}).exitCode, 0);
    for (int i = 0; i < 100 && !platform::IsWineserverRunning(wine.folder()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(platform::IsWineserverRunning(wine.folder()));
    ASSERT_EQ(varnopts::WriteGameValue(wine.prefix(), "MouseRadiansPerPixel", "0.000249"), 0);
    EXPECT_NE(wineReads().find("REG_SZ    0.000249"), std::string::npos) << wineReads();
    // system.reg can be half a minute behind the server: reads go through it.
    EXPECT_EQ(QueryValue(wine.prefix(), kGameKey, "MouseRadiansPerPixel"), "0.000249\0"s);
    wine.StopServer();
    readBack("0.000249");
    EXPECT_TRUE(messages.texts().empty());
}

TEST(RealWine, SixPackagesRunOneAfterAnother) {
    const auto& wine = winetest::WineTestPrefix::Shared();
    if (!wine.available() || std::string(LW_STANDIN_PACKAGE).empty()) {
        GTEST_SKIP() << "needs Wine and the stand-in package (mingw-w64) " << wine.whyUnavailable();
    }
    const std::string game = "C:\\Program Files (x86)\\Red Storm\\Rainbow Six\\";
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    std::filesystem::path folder;
    std::string expectedOrder, expectedLog;
    for (const std::string& package : plan) {
        folder = wine.InstallStandInPackage("C:\\VARN MOD\\" + package).parent_path();
        expectedOrder += package + " start\n" + package + " end\n";
        expectedLog += "\"C:\\VARN MOD\\" + package + "\" /auto " + game + "\r\n";
    }
    testsupport::ScopedEnvironment wait("STANDIN_PACKAGE_WAIT_MS", "1500");
    testsupport::MessageRecorder messages;
    // One server for all six: under load, Wine 8's client now and then meets
    // a server that is just ending ("wine client error:0: recvmsg:
    // Connection reset by peer"), which would fail a package for Wine's sake.
    ASSERT_EQ(wine.Run({"wineserver", "-p"}).exitCode, 0);
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
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()),
              expectedLog);
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_EQ(messages.messages().back().details, "") << "what Wine printed for a failure";
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The installation of VARN is finished: all 6 packages ran "
                                       "and ended without error."});
}

}  // namespace
