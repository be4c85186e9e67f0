// The six packages of an install under real Wine: each stand-in package sees
// exactly the command line "<file>" /auto <game folder> (unquoted folder and
// all) in the modification's folder, works a moment, and starts only after
// the one before it has ended.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <iterator>

#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/package_run_report.h"
#include "wine_test_prefix.h"

TEST(PackagesInOrderWine, SixPackagesRunOneAfterAnother) {
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
    varnopts::ReportPackageRun(varnopts::PackageAction::Install,
                               varnopts::RunPackages(wine.prefix(), "C:\\VARN MOD", game, plan));
    wine.StopServer();

    std::ifstream times(folder / "standin_package.times"), log(folder / "standin_package.log");
    std::string order;
    unsigned long long lastEnd = 0, milliseconds = 0;
    for (std::string name, what; times >> name >> what >> milliseconds;) {
        std::cout << name << ' ' << what << ' ' << milliseconds << '\n';
        order += name + ' ' + what + '\n';
        EXPECT_GE(milliseconds, lastEnd) << name << " began before the one before it ended";
        lastEnd = what == "end" ? milliseconds : lastEnd;
    }
    EXPECT_EQ(order, expectedOrder);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()),
              expectedLog);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The installation of VARN is finished: all 6 packages ran "
                                       "and ended without error."});
}
