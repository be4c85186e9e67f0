#include "platform/prefix_discovery.h"
#include "platform/prefix_selection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

enum class KeyPlace { None, View32, View64 };

// Makes a prefix in folder: system.reg (win64) with the game's key where asked, and drive_c.
void MakePrefix(const fs::path& folder, KeyPlace place) {
    fs::create_directories(folder / "drive_c");
    std::ofstream reg(folder / "system.reg", std::ios::binary);
    reg << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    reg << "[Software\\\\Wine] 1700000000\n#time=1d9a1e5f0a2b3c4\n\n";
    if (place == KeyPlace::View32) {
        reg << "[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] "
               "1700000000\n\"InstallationPath\"=\"C:\\\\Game\\\\\"\n\n";
    } else if (place == KeyPlace::View64) {
        reg << "[Software\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1700000000\n"
               "\"InstallationPath\"=\"C:\\\\Game\\\\\"\n\n";
    }
}

class PrefixDiscoveryTest : public ::testing::Test {
  protected:
    testsupport::TemporaryFolder home_;
    const fs::path& home() const { return home_.path(); }
};

TEST_F(PrefixDiscoveryTest, CandidatesFollowTheDocumentedOrder) {
    for (const char* folder :
         {"Games/b-game", "Games/a-game", ".local/share/bottles/bottles/bottle",
          ".var/app/com.usebottles.bottles/data/bottles/bottles/flat", "Games/Heroic/Prefixes/hero",
          ".local/share/Steam/steamapps/compatdata/4711/pfx",
          ".steam/steam/steamapps/compatdata/7/pfx"}) {
        fs::create_directories(home() / folder);
    }
    const std::vector<fs::path> expected{
        home() / ".wine",
        home() / "Games/Heroic",
        home() / "Games/a-game",
        home() / "Games/b-game",
        home() / ".local/share/bottles/bottles/bottle",
        home() / ".var/app/com.usebottles.bottles/data/bottles/bottles/flat",
        home() / "Games/Heroic/Prefixes/hero",
        home() / ".local/share/Steam/steamapps/compatdata/4711/pfx",
        home() / ".steam/steam/steamapps/compatdata/7/pfx",
    };
    EXPECT_EQ(platform::CandidatePrefixFolders(home()), expected);
}

TEST_F(PrefixDiscoveryTest, FirstPrefixHoldingTheKeyWins) {
    MakePrefix(home() / ".wine", KeyPlace::None);
    MakePrefix(home() / "Games/other-game", KeyPlace::None);
    MakePrefix(home() / "Games/rainbow-six", KeyPlace::View32);
    MakePrefix(home() / ".local/share/Steam/steamapps/compatdata/1/pfx", KeyPlace::View32);

    const auto found = platform::FindPrefixesWithKey(home(), kGameKey);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].folder, home() / "Games/rainbow-six");
    EXPECT_TRUE(found[0].win64);
}

TEST_F(PrefixDiscoveryTest, KeyInTheNativeViewIsReadThere) {
    MakePrefix(home() / "Games/Heroic/Prefixes/r6", KeyPlace::View64);
    const auto found = platform::FindPrefixesWithKey(home(), kGameKey);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].folder, home() / "Games/Heroic/Prefixes/r6");
    EXPECT_FALSE(found[0].win64);
}

TEST_F(PrefixDiscoveryTest, FolderWithoutDriveCIsNoPrefix) {
    MakePrefix(home() / "Games/broken", KeyPlace::View32);
    fs::remove_all(home() / "Games/broken/drive_c");
    EXPECT_FALSE(platform::IsPrefixFolder(home() / "Games/broken"));
    EXPECT_TRUE(platform::FindPrefixesWithKey(home(), kGameKey).empty());
}

TEST_F(PrefixDiscoveryTest, NothingFoundFallsBackToDotWine) {
    platform::SelectionInput input{kGameKey, "", "", home(), home() / ".config"};
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, home() / ".wine");
    MakePrefix(home() / ".var/app/com.usebottles.bottles/data/bottles/bottles/r6",
               KeyPlace::View32);
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder,
              home() / ".var/app/com.usebottles.bottles/data/bottles/bottles/r6");
    input.environmentPrefix = (home() / "explicit").string();
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, home() / "explicit");
}

}  // namespace
