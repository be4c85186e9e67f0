// The six packages of an install under real Wine: each stand-in package
// works a moment, and each starts only after the one before it has ended.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/package_run_report.h"
#include "varnopts/settings/package_runner.h"
#include "wine_test_prefix.h"

namespace {

struct TimeLine {
    std::string name;
    std::string what;
    unsigned long long milliseconds = 0;
};

TEST(PackagesInOrderWine, SixPackagesRunOneAfterAnother) {
    winetest::WineTestPrefix wine;
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
    }
    if (std::string(LW_STANDIN_PACKAGE).empty()) {
        GTEST_SKIP() << "the stand-in package was not built (mingw-w64 missing)";
    }
    const std::vector<std::string> plan = {"VARN_FULL.EXE",       "VARN_FULL_INDEX.EXE",
                                           "VARN_TN_RAINBOW.EXE", "VARN_MP_DEFAULT.EXE",
                                           "VARN_HIGH_SOUND.EXE", "VARN_GOCODES.EXE"};
    std::filesystem::path log;
    for (const std::string& package : plan) {
        log = wine.InstallStandInPackage("C:\\VARN\\" + package);
    }
    testsupport::ScopedEnvironment waitMs("STANDIN_PACKAGE_WAIT_MS", "1500");
    testsupport::MessageRecorder messages;

    const auto outcomes =
        varnopts::RunPackages(wine.prefix(), "C:\\VARN", "C:\\GOG Games\\Rainbow Six\\", plan);
    varnopts::ReportPackageRun(varnopts::PackageAction::Install, outcomes);
    wine.StopServer();

    std::ifstream in(log.parent_path() / "standin_package.times");
    std::vector<TimeLine> lines;
    for (TimeLine line; in >> line.name >> line.what >> line.milliseconds;) {
        lines.push_back(line);
        std::cout << line.name << ' ' << line.what << ' ' << line.milliseconds << '\n';
    }
    ASSERT_EQ(lines.size(), 2 * plan.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(lines[2 * i].name, plan[i]);
        EXPECT_EQ(lines[2 * i].what, "start");
        EXPECT_EQ(lines[2 * i + 1].name, plan[i]);
        EXPECT_EQ(lines[2 * i + 1].what, "end");
        if (i > 0) {
            EXPECT_GE(lines[2 * i].milliseconds, lines[2 * i - 1].milliseconds) << plan[i];
        }
    }
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0],
              "The installation of VARN is finished: all 6 packages ran and ended without error.");
}

}  // namespace
