// Starting a package through real Wine: the program sees exactly the command
// line "<file>" /auto <game folder>, unquoted folder and all, and runs in the
// working folder it was given.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/program_start.h"
#include "wine_test_prefix.h"

namespace {

TEST(WineProgramStart, PackageSeesItsCommandLineAndWorkingFolder) {
    const auto& wine = winetest::WineTestPrefix::Shared();
    if (!wine.available()) {
        GTEST_SKIP() << wine.whyUnavailable();
    }
    const std::string folder = "C:\\Program Files (x86)\\VARN MOD";
    const auto package = wine.InstallStandInPackage(folder + "\\VARN_FULL.EXE");
    if (package.empty()) {
        GTEST_SKIP() << "the stand-in package was not built (mingw-w64 missing)";
    }
    const std::string parameters = "/auto C:\\Program Files (x86)\\Red Storm\\Rainbow Six\\";
    const auto started = platform::StartProgram(wine.prefix(), folder + "\\VARN_FULL.EXE",
                                                parameters, folder, platform::ShowCommand::Hide);
    ASSERT_TRUE(started) << started.error().Describe();
    const auto log = package.parent_path() / "standin_package.log";
    std::string line;
    for (int i = 0; i < 1200 && !line.ends_with('\n'); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::ifstream in(log, std::ios::binary);
        line.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    EXPECT_EQ(line, "\"" + folder + "\\VARN_FULL.EXE\" " + parameters + "\r\n");
    EXPECT_FALSE(platform::StartProgram(wine.prefix(), folder + "\\NONE.EXE", parameters, folder,
                                        platform::ShowCommand::Hide));
}

}  // namespace
