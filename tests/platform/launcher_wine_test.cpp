// Fake homes with each launcher's files and a logging stand-in Wine build: the
// prefix runs with its launcher's build; unusable files fall back to wine.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <thread>

#include "platform/prefix_selection.h"
#include "platform/program_start.h"
#include "platform/wine_registry_command.h"
#include "platform/wineserver.h"
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

const std::string kBottle = ".var/app/com.usebottles.bottles/data/bottles/";
const std::string kSteam = ".local/share/Steam/steamapps/";

struct LauncherCase {
    std::vector<std::pair<std::string, std::string>> files;  // HOME, PREFIX stand for the folders
    std::string link;  // where the launcher keeps the prefix; "" when its file names it
    std::string bin;   // the build's bin folder, with a wine that logs (and fails --version)
    std::string why;   // "" when the build is used, else why wine on the PATH is
} const kCases[] = {
    {{{".config/lutris/games/r6-1701.yml", "game:\n  prefix: PREFIX\nwine:\n  version: ge-8\n"}},
     "",
     ".local/share/lutris/runners/wine/ge-8/bin",
     ""},
    {{{".local/share/lutris/games/r6-1.yml", "game:\n  prefix: PREFIX\n"},
      {".config/lutris/runners/wine.yml", "wine:\n  version: wine-9\n"}},
     "",
     ".local/share/lutris/runners/wine/wine-9/bin",
     ""},
    {{{".local/share/bottles/bottles/R6/bottle.yml", "Runner: soda-7\nVersions: [1, 2]\n"}},
     ".local/share/bottles/bottles/R6",
     ".local/share/bottles/runners/soda-7/bin",
     ""},
    {{{".config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "PREFIX", "wineVersion": {"bin": "HOME/GE-8/proton"}}})"}},
     "",
     "GE-8/files/bin",
     ""},
    {{{kSteam + "compatdata/4711/config_info", "8.0-105\nHOME/Proton 8/dist/share/fonts/\n"}},
     kSteam + "compatdata/4711/pfx",
     "Proton 8/dist/bin",
     ""},
    {{{".config/lutris/games/r6-1.yml", "game: [prefix: PREFIX\nwine: {"}}, "Games/r6", "", ""},
    {{{kBottle + "bottles/r6/bottle.yml", "Runner: caffe-7\n"}},
     kBottle + "bottles/r6",
     kBottle + "runners/caffe-7/bin",
     "cannot be started outside its Flatpak sandbox"},
};

TEST(LauncherWineTest, PackagesGameAndRegistryRunWithTheLaunchersBuild) {
    testsupport::ScopedEnvironment noWine("WINE", std::nullopt);
    for (const LauncherCase& row : kCases) {
        SCOPED_TRACE(row.files[0].first + " " + row.bin);
        testsupport::FakeInstallation game;
        const std::string folder = game.GameValue("InstallationPath");
        game.WriteFile("C:\\VARN\\VARN_FULL.EXE", "MZ");
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
        std::vector<std::string> expected = {wine + " reg add HKLM\\" + testsupport::GameKeyName() +
                                             " /v M /t REG_SZ /d 1 /f /reg:32"};
        for (const auto& [file, parameters] :
             {std::pair<std::string, std::string>{"C:\\VARN\\VARN_FULL.EXE", "/auto " + folder},
              std::pair<std::string, std::string>{folder + "RainbowSix.exe", ""}}) {
            EXPECT_TRUE(platform::StartProgram(*prefix, file, parameters, folder,
                                               platform::ShowCommand::Hide)
                            .ok());
            expected.push_back(wine + " " + file + (parameters.empty() ? "" : " " + parameters));
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(WaitForLines(log, 3), expected);
    }
}

}  // namespace
