// Where the programs find the game's prefix without being told: the usual
// places in their order, each prefix that holds the game's key in the view
// where it lies, else ~/.wine; WINEPREFIX wins over all of them.

#include "platform/prefix_discovery.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/prefix_selection.h"
#include "support/fake_installation.h"

namespace {

namespace fs = std::filesystem;

// A win64 prefix with the game's key in the given view (none for nullptr).
void MakePrefix(const fs::path& folder, const char* view) {
    fs::create_directories(folder / "drive_c");
    std::ofstream(folder / "system.reg")
        << "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\n"
        << (view == nullptr ? ""
                            : "[Software\\\\" + std::string(view) +
                                  "Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1\n");
}

TEST(PrefixDiscovery, FindsThePrefixesHoldingTheKeyInTheUsualPlacesInOrder) {
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    platform::SelectionInput input{testsupport::GameKeyName(), "", "", h, h / ".config"};
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, h / ".wine") << "nothing found";
    const std::pair<const char*, const char*> prefixes[] = {
        {".wine", nullptr},
        {"Games/a-other-game", nullptr},
        {"Games/b-broken", "Wow6432Node\\\\"},  // without drive_c: no prefix
        {"Games/rainbow-six", "Wow6432Node\\\\"},
        {".local/share/bottles/bottles/r6", "Wow6432Node\\\\"},
        {".var/app/com.usebottles.bottles/data/bottles/bottles/r6", "Wow6432Node\\\\"},
        {"Games/Heroic/Prefixes/r6", ""},  // in the native view: read there
        {".local/share/Steam/steamapps/compatdata/4711/pfx", "Wow6432Node\\\\"},
        {".steam/steam/steamapps/compatdata/7/pfx", "Wow6432Node\\\\"},
    };
    std::vector<fs::path> expected;
    for (const auto& [folder, view] : prefixes) {
        MakePrefix(h / folder, view);
        if (view != nullptr && !std::string(folder).ends_with("broken")) {
            expected.push_back(h / folder);
        }
    }
    fs::remove_all(h / "Games/b-broken/drive_c");
    std::vector<fs::path> found;
    for (const platform::WinePrefix& prefix : platform::FindPrefixesWithKey(h, input.gameKey)) {
        found.push_back(prefix.folder);
        EXPECT_EQ(prefix.win64, !prefix.folder.string().ends_with("Heroic/Prefixes/r6"));
    }
    EXPECT_EQ(found, expected);
    input.environmentPrefix = (h / "explicit").string();
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, h / "explicit");
}

}  // namespace
