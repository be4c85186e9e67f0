// Starting a package through real Wine: the program sees exactly the command
// line "<file>" /auto <game folder>, unquoted folder and all, and runs in the
// working folder it was given.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/program_start.h"
#include "wine_test_prefix.h"

namespace {

TEST(WineProgramStart, PackageSeesItsCommandLineAndWorkingFolder) {
    winetest::WineTestPrefix wine;
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
    }
    const std::string package = "C:\\Program Files (x86)\\VARN MOD\\VARN_FULL.EXE";
    const auto log = wine.InstallStandInPackage(package);
    if (log.empty()) {
        GTEST_SKIP() << "the stand-in package was not built (mingw-w64 missing)";
    }
    setenv("WINEDEBUG", "-all", 1);  // the started wine inherits our environment

    const std::string parameters = "/auto C:\\Program Files (x86)\\Red Storm\\Rainbow Six\\";
    const auto started =
        platform::StartProgram(wine.prefix(), package, parameters,
                               "C:\\Program Files (x86)\\VARN MOD", platform::ShowCommand::Hide);
    ASSERT_TRUE(started) << started.error().Describe();
    EXPECT_EQ(wine.WaitForLine(log, 120),
              "\"" + package + "\" " + parameters + "\tC:\\Program Files (x86)\\VARN MOD\r\n");

    EXPECT_FALSE(platform::StartProgram(
        wine.prefix(), "C:\\Program Files (x86)\\VARN MOD\\NONE.EXE", parameters,
        "C:\\Program Files (x86)\\VARN MOD", platform::ShowCommand::Hide));
}

}  // namespace
