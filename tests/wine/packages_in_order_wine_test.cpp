// The six packages of an install under real Wine: each stand-in package
// works a moment, and each starts only after the one before it has ended.

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/package_run_report.h"
#include "wine_test_prefix.h"

TEST(PackagesInOrderWine, SixPackagesRunOneAfterAnother) {
    winetest::WineTestPrefix wine;
    if (!wine.available() || std::string(LW_STANDIN_PACKAGE).empty()) {
        GTEST_SKIP() << "needs Wine and the stand-in package (mingw-w64) " << wine.whyUnavailable();
    }
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    std::filesystem::path log;
    std::string expected;
    for (const std::string& package : plan) {
        log = wine.InstallStandInPackage("C:\\VARN\\" + package);
        expected += package + " start\n" + package + " end\n";
    }
    testsupport::ScopedEnvironment wait("STANDIN_PACKAGE_WAIT_MS", "1500");
    testsupport::MessageRecorder messages;

    varnopts::ReportPackageRun(
        varnopts::PackageAction::Install,
        varnopts::RunPackages(wine.prefix(), "C:\\VARN", "C:\\GOG Games\\Rainbow Six\\", plan));
    wine.StopServer();

    std::ifstream times(log.parent_path() / "standin_package.times");
    std::string order;
    unsigned long long lastEnd = 0;
    unsigned long long milliseconds = 0;
    for (std::string name, what; times >> name >> what >> milliseconds;) {
        std::cout << name << ' ' << what << ' ' << milliseconds << '\n';
        order += name + ' ' + what + '\n';
        EXPECT_GE(milliseconds, lastEnd) << name << " began before the one before it ended";
        lastEnd = what == "end" ? milliseconds : lastEnd;
    }
    EXPECT_EQ(order, expected);
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"The installation of VARN is finished: all 6 packages ran "
                                       "and ended without error."});
}
