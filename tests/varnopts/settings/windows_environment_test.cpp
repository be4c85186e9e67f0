#include "varnopts/settings/windows_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_paths.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;

struct ExpandCase {
    bool win64;
    std::string text;
    std::string expanded;
};

TEST(WindowsEnvironmentTest, ExpandsTheShellsNames) {
    const ExpandCase cases[] = {
        {true, "%ProgramFiles%\\VARN", "C:\\Program Files (x86)\\VARN"},
        {false, "%ProgramFiles%\\VARN", "C:\\Program Files\\VARN"},
        {true, "%PROGRAMFILES(X86)%\\VARN", "C:\\Program Files (x86)\\VARN"},
        {false, "%ProgramFiles(x86)%\\VARN", "%ProgramFiles(x86)%\\VARN"},  // unknown there
        {true, "%SystemDrive%\\VARN", "C:\\VARN"},
        {true, "%windir%\\x", "C:\\windows\\x"},
        {true, "C:\\100%\\VARN", "C:\\100%\\VARN"},
        {true, "%Unknown%ProgramFiles%", "%UnknownC:\\Program Files (x86)"},
        {true, "%%", "%%"},
        {true, "C:\\VARN", "C:\\VARN"},
    };
    for (const auto& test : cases) {
        testsupport::InstallationOptions options;
        options.win64 = test.win64;
        testsupport::FakeInstallation installation(options);
        EXPECT_EQ(ExpandWindowsEnvironment(installation.prefix(), test.text), test.expanded)
            << test.text;
    }
}

// The registry of a real Wine prefix, with the modification's folder stored
// as an expandable text the way its installer writes it.
TEST(WindowsEnvironmentTest, RealRegistryWithAnExpandableInstallPath) {
    fs::path fixture;
    for (const fs::path& folder :
         {fs::path(LW_FIXTURE_DIR), fs::path(LW_SOURCE_DIR) / ".." / "shared" / "fixtures"}) {
        if (fs::exists(folder / "wine8-win64-system.reg.gz")) {
            fixture = folder / "wine8-win64-system.reg.gz";
            break;
        }
    }
    if (fixture.empty()) {
        GTEST_SKIP() << "the Wine registry fixture is not here";
    }
    testsupport::TemporaryFolder folder;
    const std::string command =
        "gzip -dc '" + fixture.string() + "' > '" + (folder.path() / "system.reg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const platform::WinePrefix prefix = platform::LoadPrefix(folder.path());
    ASSERT_TRUE(prefix.win64);

    testsupport::MessageRecorder recorder;
    GamePaths paths;
    ASSERT_TRUE(ReadGamePaths(prefix, paths));
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(paths.m_strModFolder, "%ProgramFiles%\\VARN");  // kept as stored
    EXPECT_EQ(paths.m_strInstallationPath, "C:\\GOG Games\\Rainbow Six\\");
    EXPECT_EQ(ExpandWindowsEnvironment(prefix, paths.m_strModFolder),
              "C:\\Program Files (x86)\\VARN");
}

}  // namespace
}  // namespace varnopts
