// Where the programs find the game's prefix without being told, and which
// Wine build runs it: each launcher's files in a fake home, a logging build.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "platform/prefix_discovery.h"
#include "platform/prefix_selection.h"
#include "platform/program_start.h"
#include "platform/wine_registry_command.h"
#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> WaitForLines(const fs::path& log, std::size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1000 && lines.size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        lines.clear();
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A win64 prefix with the game's key in the given view (none for nullptr).
void MakePrefix(const fs::path& folder, const char* view) {
    fs::create_directories(folder / "drive_c");
    std::ofstream(folder / "system.reg")
        << "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\n"
        << (view == nullptr ? ""
                            : "[Software\\\\" + std::string(view) +
                                  "Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1\n");
}

TEST(PrefixSelection, FindsThePrefixesHoldingTheKeyInTheUsualPlacesInOrder) {
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    platform::SelectionInput input{testsupport::GameKeyName(), "", "", h, h / ".config"};
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, h / ".wine") << "nothing found";
    const std::pair<const char*, const char*> prefixes[] = {
        {".wine", nullptr},
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

const std::string kBottle = ".var/app/com.usebottles.bottles/data/bottles/";
const std::string kSteam = ".local/share/Steam/steamapps/";

struct LauncherCase {
    std::vector<std::pair<std::string, std::string>> files;  // HOME, PREFIX stand for the folders
    std::string bin;        // the build's bin folder, with a wine that logs (and fails --version)
    std::string link = "";  // where the launcher keeps the prefix; "" when its file names it
    std::string why = "";   // "" when the build is used, else why wine on the PATH is
} const kCases[] = {
    {{{".config/lutris/games/r6-1701.yml", "game:\n  prefix: PREFIX\nwine:\n  version: ge-8\n"}},
     ".local/share/lutris/runners/wine/ge-8/bin"},
    {{{".local/share/lutris/games/r6-1.yml", "game:\n  prefix: PREFIX\n"},
      {".config/lutris/runners/wine.yml", "wine:\n  version: wine-9\n"}},
     ".local/share/lutris/runners/wine/wine-9/bin"},
    {{{".local/share/bottles/bottles/R6/bottle.yml", "Runner: soda-7\nVersions: [1, 2]\n"}},
     ".local/share/bottles/runners/soda-7/bin",
     ".local/share/bottles/bottles/R6"},
    {{{".config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "PREFIX", "wineVersion": {"bin": "HOME/GE-8/proton"}}})"}},
     "GE-8/files/bin"},
    {{{kSteam + "compatdata/4711/config_info", "8.0-105\nHOME/Proton 8/dist/share/fonts/\n"}},
     "Proton 8/dist/bin",
     kSteam + "compatdata/4711/pfx"},
    {{{".config/lutris/games/r6-1.yml", "game: [prefix: PREFIX\nwine: {"}}, "", "Games/r6"},
    {{{kBottle + "bottles/r6/bottle.yml", "Runner: caffe-7\n"}},
     kBottle + "runners/caffe-7/bin",
     kBottle + "bottles/r6",
     "cannot be started outside its Flatpak sandbox"},
};

TEST(PrefixSelection, ProgramsAndRegistryCommandsRunWithTheLaunchersBuild) {
    testsupport::ScopedEnvironment noWine("WINE", std::nullopt);
    for (const LauncherCase& row : kCases) {
        SCOPED_TRACE(row.files[0].first + " " + row.bin);
        testsupport::FakeInstallation game;
        const std::string folder = game.GameValue("InstallationPath");
        game.WriteFile(folder + "RainbowSix.exe", "MZ");
        const fs::path home = game.root() / "home", log = game.root() / "wine.log";
        const std::string wine = row.bin.empty() ? "" : (home / row.bin / "wine").string();
        if (!row.link.empty()) {
            fs::create_directories((home / row.link).parent_path());
            fs::create_directory_symlink(game.prefix().folder, home / row.link);
        }
        for (auto [file, text] : row.files) {
            text = std::regex_replace(text, std::regex("PREFIX"), game.prefix().folder.string());
            fs::create_directories((home / file).parent_path());
            std::ofstream(home / file)
                << std::regex_replace(text, std::regex("HOME"), home.string());
        }
        if (!wine.empty()) {
            fs::create_directories(home / row.bin);
            std::ofstream(wine)
                << "#!/bin/sh\n[ \"$1\" = --version ] && exit 1\necho \"$0 $*\" >> '"
                << log.string() << "'\n";
            fs::permissions(wine, fs::perms::owner_all);
        }

        const auto prefix =
            platform::SelectPrefix({testsupport::GameKeyName(), "", "", home, home / ".config"})
                .prefix;
        ASSERT_TRUE(prefix.has_value());
        EXPECT_TRUE(fs::equivalent(prefix->folder, game.prefix().folder));
        if (wine.empty() || !row.why.empty()) {
            EXPECT_EQ(prefix->wine.program, "wine");
            EXPECT_NE(prefix->wine.description.find(row.why), std::string::npos)
                << prefix->wine.description;
            continue;
        }
        ASSERT_EQ(prefix->wine.program, wine) << prefix->wine.description;
        EXPECT_TRUE(platform::WineRegAddString(*prefix, testsupport::GameKeyName(), "M", "1").ok());
        EXPECT_TRUE(platform::StartProgram(*prefix, folder + "RainbowSix.exe", "", folder,
                                           platform::ShowCommand::Hide));
        EXPECT_EQ(WaitForLines(log, 2),
                  (std::vector<std::string>{wine + " " + folder + "RainbowSix.exe",
                                            wine + " reg add HKLM\\" + testsupport::GameKeyName() +
                                                " /v M /t REG_SZ /d 1 /f /reg:32"}));
    }
}

}  // namespace
