// Which prefix the programs use: WINEPREFIX, else the first prefix of the
// usual places that holds the game's key, else ~/.wine.

#include "platform/prefix_discovery.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;

const std::string kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

// A win64 prefix with the game's key in the given view (none for nullptr).
void MakePrefix(const fs::path& folder, const char* view) {
    fs::create_directories(folder / "drive_c");
    std::ofstream(folder / "system.reg")
        << "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\n"
        << (view == nullptr ? ""
                            : "[Software\\\\" + std::string(view) +
                                  "Red Storm Entertainment\\\\Tom Clancy's "
                                  "Rainbow Six] 1\n\"InstallationPath\"=\"C:\\\\Game\\\\\"\n");
}

TEST(PrefixDiscovery, LooksInTheUsualPlacesInOrder) {
    testsupport::TemporaryFolder home;
    const char* folders[] = {".wine",
                             "Games/Heroic",
                             "Games/a-game",
                             "Games/b-game",
                             ".local/share/bottles/bottles/bottle",
                             ".var/app/com.usebottles.bottles/data/bottles/bottles/flat",
                             "Games/Heroic/Prefixes/hero",
                             ".local/share/Steam/steamapps/compatdata/4711/pfx",
                             ".steam/steam/steamapps/compatdata/7/pfx"};
    std::vector<fs::path> expected;
    for (const char* folder : folders) {
        fs::create_directories(home.path() / folder);
        expected.push_back(home.path() / folder);
    }
    EXPECT_EQ(platform::CandidatePrefixFolders(home.path()), expected);
}

TEST(PrefixDiscovery, TheFirstPrefixHoldingTheKeyWinsElseDotWine) {
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    testsupport::ScopedEnvironment fakeHome("HOME", h.string());
    testsupport::ScopedEnvironment noPrefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(platform::ChoosePrefix(kGameKey).folder, h / ".wine");
    MakePrefix(h / ".wine", nullptr);
    MakePrefix(h / "Games/broken", "Wow6432Node\\\\");
    fs::remove_all(h / "Games/broken/drive_c");  // no prefix without drive_c
    MakePrefix(h / "Games/other-game", nullptr);
    MakePrefix(h / "Games/rainbow-six", "Wow6432Node\\\\");
    MakePrefix(h / ".local/share/Steam/steamapps/compatdata/1/pfx", "Wow6432Node\\\\");
    EXPECT_EQ(platform::ChoosePrefix(kGameKey).folder, h / "Games/rainbow-six");
    EXPECT_TRUE(platform::ChoosePrefix(kGameKey).win64);

    fs::remove_all(h / "Games/rainbow-six");
    MakePrefix(h / "Games/Heroic/Prefixes/r6", "");  // in the native view: read there
    const auto native = platform::ChoosePrefix(kGameKey);
    EXPECT_EQ(native.folder, h / "Games/Heroic/Prefixes/r6");
    EXPECT_FALSE(native.win64);

    testsupport::ScopedEnvironment explicitPrefix("WINEPREFIX", (h / "explicit").string());
    EXPECT_EQ(platform::ChoosePrefix(kGameKey).folder, h / "explicit");
}

}  // namespace
