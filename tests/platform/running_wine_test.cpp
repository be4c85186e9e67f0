// Running Wine: where the programs find the game's prefix without being told
// (each launcher's files in a fake home), which Wine build runs it, and what
// wine (a stand-in here) is given when a program starts.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>

#include "platform/prefix_discovery.h"
#include "platform/prefix_selection.h"
#include "platform/program_start.h"
#include "platform/run_log.h"
#include "platform/wine_32bit.h"
#include "platform/wine_registry_command.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"

namespace {

namespace fs = std::filesystem;
using testsupport::GameKeyName;

TEST(PrefixSelection, FindsThePrefixesHoldingTheKeyInTheUsualPlacesInOrder) {
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    platform::SelectionInput input{GameKeyName(), "", "", h, h / ".config"};
    EXPECT_EQ(platform::SelectPrefix(input).prefix->folder, h / ".wine") << "nothing found";
    // Each with the game's key in the given view ("-": none; "": the native
    // one, where a 32-bit prefix keeps it).
    const std::pair<const char*, const char*> prefixes[] = {
        {".wine", "-"},
        {"Games/b-broken", "Wow6432Node\\\\"},  // without drive_c: no prefix
        {"Games/rainbow-six", "Wow6432Node\\\\"},
        {".local/share/bottles/bottles/r6", "Wow6432Node\\\\"},
        {".var/app/com.usebottles.bottles/data/bottles/bottles/r6", "Wow6432Node\\\\"},
        {"Games/Heroic/Prefixes/r6", ""},
        {".local/share/Steam/steamapps/compatdata/4711/pfx", "Wow6432Node\\\\"},
        {".steam/steam/steamapps/compatdata/7/pfx", "Wow6432Node\\\\"},
    };
    std::vector<fs::path> expected, found;
    for (const auto& [folder, view] : prefixes) {
        fs::create_directories(h / folder / "drive_c");
        std::ofstream(h / folder / "system.reg")
            << "WINE REGISTRY Version 2\n\n#arch=win64\n\n[Software\\\\Wine] 1\n\n"
            << (*view == '-' ? ""
                             : "[Software\\\\" + std::string(view) +
                                   "Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] 1\n");
        if (*view != '-' && !std::string(folder).ends_with("broken")) {
            expected.push_back(h / folder);
        }
    }
    fs::remove_all(h / "Games/b-broken/drive_c");
    for (const platform::WinePrefix& prefix : platform::FindPrefixesWithKey(h, input.gameKey)) {
        found.push_back(prefix.folder);
        EXPECT_EQ(prefix.win64, !prefix.folder.string().ends_with("Heroic/Prefixes/r6"));
    }
    EXPECT_EQ(found, expected);

    // A folder the user names means the prefix it lies in; one in no prefix
    // (or no folder at all) is refused, saying what a prefix is.
    fs::create_directories(h / "Games/rainbow-six/drive_c/Games/R6");
    const std::pair<const char*, const char*> named[] = {
        {"Games/rainbow-six", "Games/rainbow-six"},
        {"Games/rainbow-six/drive_c/Games/R6", "Games/rainbow-six"},
        {"Games/rainbow-six/drive_c", "Games/rainbow-six"},
        {"Games", ""},
        {"Games/nothing", ""},
    };
    for (const auto& [given, prefix] : named) {
        const bool onCommandLine = std::string(given).ends_with("c") || !*prefix;
        (onCommandLine ? input.commandLinePrefix : input.environmentPrefix) = (h / given).string();
        const platform::PrefixSelection selection = platform::SelectPrefix(input);
        const fs::path readFirst = platform::PrefixToReadFirst(input);
        (onCommandLine ? input.commandLinePrefix : input.environmentPrefix).clear();
        if (!*prefix) {
            EXPECT_FALSE(selection.prefix.has_value()) << given;
            EXPECT_NE(selection.refusal.find((h / given).string() + ": "), std::string::npos);
            EXPECT_NE(selection.refusal.find("holds system.reg and drive_c"), std::string::npos);
            continue;
        }
        ASSERT_TRUE(selection.prefix.has_value()) << given << selection.refusal;
        EXPECT_EQ(selection.prefix->folder, h / prefix);
        EXPECT_EQ(readFirst, selection.prefix->folder) << "the registry read ahead is this one's";
        EXPECT_EQ(selection.prefix->foundHow.ends_with("lies inside it"), given != prefix);
    }
}

const std::string kBottle = ".var/app/com.usebottles.bottles/data/bottles/";
const std::string kSteam = ".local/share/Steam/steamapps/";
const std::string kFlatSteam = ".var/app/com.valvesoftware.Steam/";
const std::string kFlatLutris = ".var/app/net.lutris.Lutris/";
const std::string kLibraries = R"("libraryfolders" { "0" { "path" "HOME/.local/share/Steam" }
  "1" { "path" "/no/card" } "2" { "label" "" "path" "HOME/card" "apps" { "4711" "1" } } })";

// Each launcher layout, found only through its reader.
struct LauncherCase {
    std::vector<std::pair<std::string, std::string>> files;  // HOME, PREFIX stand for the folders
    std::string bin;        // the build's bin folder, with a wine that fails --version
    std::string link = "";  // where the launcher keeps the prefix; "" when its file names it
    std::string why = "";   // "" when the build is used, else why wine on the PATH is
} const kCases[] = {
    {{{".config/lutris/games/r6-1701.yml", "game:\n  prefix: PREFIX\nwine:\n  version: ge-8\n"}},
     ".local/share/lutris/runners/wine/ge-8/bin"},
    {{{".local/share/lutris/games/r6-1.yml", "game:\n  prefix: PREFIX\n"},
      {".config/lutris/runners/wine.yml", "wine:\n  version: wine-9\n"}},
     ".local/share/lutris/runners/wine/wine-9/bin"},
    {{{".config/lutris/games/r6-1.yml", "game: {prefix: PREFIX}\nwine: {version: winehq-staging}"}},
     "",
     "",
     "/opt/wine-staging/bin/wine"},
    {{{".config/lutris/games/r6-1.yml", "game: {prefix: PREFIX}\nwine: {version: system}"}},
     "",
     "",
     "runs it with the system's Wine"},
    {{{".config/lutris/games/r6-1.yml",
       "game: {prefix: PREFIX}\nwine: {version: custom, custom_wine_path: HOME/w/bin/wine}"}},
     "w/bin"},
    {{{".config/lutris/games/r6-1.yml", "game: {prefix: PREFIX}\nwine: {version: Proton 8.0}"},
      {"card/steamapps/common/Proton 8.0/dist/share/x", ""},
      {kSteam + "libraryfolders.vdf", kLibraries}},
     "card/steamapps/common/Proton 8.0/dist/bin"},
    {{{kFlatLutris + "config/lutris/games/r6-1.yml",
       "game: {prefix: PREFIX}\nwine: {version: ge-9}"}},
     kFlatLutris + "data/lutris/runners/wine/ge-9/bin",
     "",
     "cannot be started outside its Flatpak sandbox"},
    {{{".local/share/bottles/bottles/R6/bottle.yml", "Runner: soda-7\nVersions: [1, 2]\n"}},
     ".local/share/bottles/runners/soda-7/bin",
     ".local/share/bottles/bottles/R6"},
    {{{".local/share/bottles/data.yml", "custom_bottles_path: HOME/bottles elsewhere\n"},
      {"bottles elsewhere/R6/bottle.yml", "Runner: soda-8\n"}},
     ".local/share/bottles/runners/soda-8/bin",
     "bottles elsewhere/R6"},
    {{{kBottle + "bottles/r6/bottle.yml", "Runner: caffe-7\n"}},
     kBottle + "runners/caffe-7/bin",
     kBottle + "bottles/r6",
     "cannot be started outside its Flatpak sandbox"},
    {{{".config/lutris/games/r6-2.yml", "game:\n  prefix: PREFIX\nwine:\n  version: ge-9\n"}},
     "",
     "",
     "Lutris' build ge-9 is not at"},
    {{{".config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "PREFIX", "wineVersion": {"name": "GE-9", "bin": "HOME/GE-9/p"}}})"}},
     "",
     "",
     "Heroic's build GE-9 is not installed"},
    {{{".config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "PREFIX", "wineVersion": {"bin": "HOME/GE-8/proton"}}})"}},
     "GE-8/files/bin"},
    {{{".config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "HOME/Proton r6", "wineVersion": {"bin": "HOME/W/bin/wine"}}})"}},
     "W/bin",
     "Proton r6/pfx"},
    {{{".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/r6.json",
       R"({"r6": {"winePrefix": "PREFIX", "wineVersion": {"bin": "HOME/H9/bin/wine"}}})"}},
     "H9/bin",
     "",
     "cannot be started outside its Flatpak sandbox"},
    {{{kSteam + "compatdata/4711/config_info", "8.0-105\nHOME/Proton 8/dist/share/fonts/\n"}},
     "Proton 8/dist/bin",
     kSteam + "compatdata/4711/pfx"},
    {{{kSteam + "libraryfolders.vdf", kLibraries},
      {"card/steamapps/compatdata/4711/config_info", "8.0\nHOME/card/P8/files/lib/\n"}},
     "card/P8/files/bin",
     "card/steamapps/compatdata/4711/pfx"},
    {{{kFlatSteam + ".local/share/Steam/steamapps/libraryfolders.vdf",
       "\"LibraryFolders\"\n{\n\t\"ContentStatsID\"\t\"-1\"\n\t\"1\"\t\"HOME/disk\"\n}\n"},
      {"disk/steamapps/compatdata/9/config_info", "8.0\nHOME/P8/files/lib/\n"}},
     "P8/files/bin",
     "disk/steamapps/compatdata/9/pfx"},
    {{{kFlatSteam + "data/Steam/steamapps/compatdata/9/config_info", "8.0\nHOME/P8/dist/lib/\n"}},
     "P8/dist/bin",
     kFlatSteam + "data/Steam/steamapps/compatdata/9/pfx"},
    {{{kSteam + "compatdata/4711/config_info", "8.0\nHOME/dist/files/P8/files/share/fonts/\n"}},
     "dist/files/P8/files/bin",
     kSteam + "compatdata/4711/pfx"},
    {{{".config/lutris/games/r6-1.yml", "game: [prefix: PREFIX\nwine: {"}}, "", "Games/r6"},
    // A pipe in a launcher's place is refused at once, never waited on.
    {{{".config/lutris/runners/wine.yml", "FIFO"},
      {".config/heroic/GamesConfig/r6.json", "FIFO"},
      {kSteam + "compatdata/4711/config_info", "FIFO"},
      {".local/share/lutris/games/r6-1.yml", "game:\n  prefix: PREFIX\nwine:\n  version: ge-8\n"}},
     ".local/share/lutris/runners/wine/ge-8/bin"},
};

TEST(PrefixSelection, ProgramsAndRegistryCommandsRunWithTheLaunchersBuild) {
    for (const LauncherCase& row : kCases) {
        SCOPED_TRACE(row.files[0].first + " " + row.bin);
        testsupport::FakeInstallation game;
        const std::string folder = game.GameValue("InstallationPath");
        game.WriteFile(folder + "RainbowSix.exe", "MZ");
        const fs::path home = game.root() / "home";
        if (!row.link.empty()) {
            fs::create_directories((home / row.link).parent_path());
            fs::create_directory_symlink(game.prefix().folder, home / row.link);
        }
        for (auto [file, text] : row.files) {
            text = std::regex_replace(text, std::regex("PREFIX"), game.prefix().folder.string());
            fs::create_directories((home / file).parent_path());
            if (text == "FIFO") {
                ASSERT_EQ(::mkfifo((home / file).c_str(), 0600), 0);
                continue;
            }
            std::ofstream(home / file)
                << std::regex_replace(text, std::regex("HOME"), home.string());
        }
        std::optional<testsupport::FakeWine> wine;
        if (!row.bin.empty()) {
            wine.emplace("[ \"$1\" != --version ]", home / row.bin);
        }
        testsupport::ScopedEnvironment noWine("WINE", std::nullopt);

        const auto prefix = platform::SelectPrefix({GameKeyName(), "", "", home, home / ".config"});
        ASSERT_TRUE(prefix.prefix.has_value());
        EXPECT_TRUE(fs::equivalent(prefix.prefix->folder, game.prefix().folder));
        const platform::WineBuild& build = prefix.prefix->wine;
        // A launcher's build that cannot be used here is named, so that the programs ask
        // before another Wine runs on its prefix; the system's Wine is the launcher's own.
        const bool systemWine = row.why.find("system's Wine") != std::string::npos;
        EXPECT_EQ(build.launcherBuildUnusable.empty(), row.why.empty() || systemWine)
            << build.description;
        if (!wine || !row.why.empty()) {
            EXPECT_EQ(build.program, "wine");
            EXPECT_NE(build.description.find(row.why), std::string::npos) << build.description;
            EXPECT_NE(build.launcherBuildUnusable.find(systemWine ? "" : row.why),
                      std::string::npos);
            continue;
        }
        ASSERT_EQ(build.program, wine->program()) << build.description;
        EXPECT_TRUE(platform::WineRegAddString(*prefix.prefix, GameKeyName(), "M", "1").ok());
        EXPECT_TRUE(platform::StartProgram(*prefix.prefix, folder + "RainbowSix.exe", "", folder,
                                           platform::ShowCommand::Hide));
        const auto calls = wine->WaitForCalls(2);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].arguments,
                  (std::vector<std::string>{"reg", "add", "HKLM\\" + GameKeyName(), "/v", "M", "/t",
                                            "REG_SZ", "/d", "1", "/f", "/reg:32"}));
        EXPECT_EQ(calls[1].arguments, std::vector<std::string>{folder + "RainbowSix.exe"});
    }
}

// A program's word size from its PE header; whether a Wine runs 32-bit
// programs from its files: Debian's script names its 32-bit loader, a
// build in its own folder has i386-unix beside x86_64-unix.
TEST(Wine32Bit, ProgramsByTheirHeaderWinesByTheirFiles) {
    using platform::ProgramBits, platform::Runs32Bit;
    testsupport::TemporaryFolder folder;
    const fs::path f = folder.path();
    const std::pair<std::string, std::optional<ProgramBits>> programs[] = {
        {testsupport::PeProgram(true), ProgramBits::Bits32},
        {testsupport::PeProgram(false), ProgramBits::Bits64},
        {"MZ", std::nullopt},
        {testsupport::PeProgram(true).substr(0, 0x44), std::nullopt},
        {"\x7f"
         "ELF" +
             std::string(0x60, '\x40'),
         std::nullopt}};
    for (const auto& [bytes, bits] : programs) {
        std::ofstream(f / "program.exe", std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(platform::ReadProgramBits(f / "program.exe"), bits) << bytes.size();
    }
    const fs::path loader = f / "wine32-loader";
    std::ofstream(loader) << "";
    fs::permissions(loader, fs::perms::owner_all);
    const std::string debian = "#!/bin/sh\nwine32=" + loader.string() +
                               "\necho 'it looks like wine32 is missing, you should install it.'\n";
    const std::tuple<std::string, std::string, std::vector<std::string>, Runs32Bit> wines[] = {
        {"debian/wine", debian, {}, Runs32Bit::Yes},
        {"debian-64/wine", debian + "# 64 only", {}, Runs32Bit::No},  // loader removed below
        {"build/bin/wine",
         "#!/bin/sh\n",
         {"lib/wine/x86_64-unix", "lib/wine/i386-unix"},
         Runs32Bit::Yes},
        {"build-64/bin/wine", "#!/bin/sh\n", {"lib/wine/x86_64-unix"}, Runs32Bit::No},
        {"wow64/bin/wine",
         "#!/bin/sh\n",
         {"lib/wine/x86_64-unix", "lib/wine/i386-windows"},
         Runs32Bit::Unknown},
        {"other/wine", "#!/bin/sh\n", {}, Runs32Bit::Unknown}};
    for (auto [wine, script, folders, runs] : wines) {
        fs::create_directories((f / wine).parent_path());
        if (runs == Runs32Bit::No && folders.empty()) {
            script = std::regex_replace(script, std::regex("wine32-loader"), "no-loader");
        }
        std::ofstream(f / wine) << script;
        fs::permissions(f / wine, fs::perms::owner_all);
        for (const std::string& lib : folders) {
            fs::create_directories((f / wine).parent_path().parent_path() / lib);
        }
        const platform::WineBuild build{(f / wine).string(), "a build", {}};
        EXPECT_EQ(platform::CanRun32Bit(build), runs) << wine;
        EXPECT_EQ(platform::How32BitPartIsGot(build).find("apt install wine32:i386\n") !=
                      std::string::npos,
                  wine.starts_with("debian"))
            << wine;
    }
    EXPECT_TRUE(
        platform::SaysCannotRun32Bit("err:module:load_wow64_ntdll failed to load "
                                     "L\"\\\\??\\\\C:\\\\windows\\\\syswow64\\\\ntdll.dll\""));
    EXPECT_FALSE(platform::SaysCannotRun32Bit("wine: Bad EXE format for Z:\\x.exe."));
}

// Only the newest logs are kept, also when many are made within one second.
TEST(RunLog, KeepsTheNewestRuns) {
    testsupport::TemporaryFolder state;
    testsupport::ScopedEnvironment home("XDG_STATE_HOME", state.path().string());
    fs::path newest;
    for (std::size_t i = 0; i < platform::kKeptRunLogs + 3; ++i) {
        const auto log = platform::RunLog::Create("Rainbow Six/ #" + std::to_string(i));
        ASSERT_TRUE(log) << log.error().Describe();
        log->Append("line\n");
        newest = log->file();
    }
    std::vector<fs::path> kept(fs::directory_iterator(state.path() / "r6tools"), {});
    std::ranges::sort(kept);
    ASSERT_EQ(kept.size(), platform::kKeptRunLogs);
    EXPECT_EQ(kept.back(), newest);
    EXPECT_TRUE(newest.filename().string().ends_with("-Rainbow_Six___12.log")) << newest;
    EXPECT_TRUE(kept.front().filename().string().ends_with("___3.log")) << kept.front();
}

// The remembered prefix on a card: kept while the card is out (another
// prefix is used meanwhile), forgotten once the game is gone from it.
TEST(PrefixSelection, RememberedPrefixOutlivesAnAbsenceButNotTheGame) {
    testsupport::FakeInstallation disk, card;
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    fs::create_directories(h / kSteam);
    std::ofstream(h / kSteam / "libraryfolders.vdf")
        << std::regex_replace(kLibraries, std::regex("HOME"), h.string());
    fs::create_directories(h / "Games");
    fs::create_directory_symlink(disk.prefix().folder, h / "Games/r6");
    const fs::path onCard = h / "card/steamapps/compatdata/4711/pfx";
    const auto plugIn = [&] {
        fs::create_directories(onCard.parent_path());
        fs::create_directory_symlink(card.prefix().folder, onCard);
    };
    plugIn();
    const platform::SelectionInput input{GameKeyName(), "", "", h, h / "config"};
    EXPECT_EQ(platform::SelectPrefix(input).candidates.size(), 2u) << "the card's library is read";
    ASSERT_TRUE(platform::RememberPrefix(input.configHome, onCard).ok());
    const fs::path file = platform::RememberedPrefixFile(input.configHome);
    const fs::path aside = card.root() / "aside.reg";
    // The game running from its launcher: the search reads the saved file and
    // runs no Wine, which could not be the launcher's own build here.
    testsupport::FakeWine otherWine("exit 1");
    std::optional<testsupport::FakeRunningServer> server;

    const std::tuple<std::function<void()>, fs::path, std::string> steps[] = {
        {[] {}, onCard, ""},
        {[&] { fs::remove_all(h / "card"); }, h / "Games/r6", "is not there now"},
        {plugIn, onCard, ""},
        {[&] { server.emplace(card); }, onCard, ""},
        {[&] {
             server.reset();
             fs::rename(card.systemReg(), aside);
         },
         h / "Games/r6", "is not there now"},
        {[&] { fs::rename(aside, card.systemReg()); }, onCard, ""},
        {[&] { std::ofstream(card.systemReg()) << "WINE REGISTRY Version 2\n"; }, h / "Games/r6",
         "no longer holds the game; it is forgotten"},
    };
    for (const auto& [change, used, note] : steps) {
        change();
        const platform::PrefixSelection selection = platform::SelectPrefix(input);
        ASSERT_TRUE(selection.prefix.has_value()) << note;
        EXPECT_EQ(selection.prefix->folder, used) << note;
        ASSERT_EQ(selection.notes.size(), note.empty() ? 0u : 1u) << note;
        if (!note.empty()) {
            EXPECT_NE(selection.notes[0].find(note), std::string::npos) << selection.notes[0];
            EXPECT_EQ(selection.prefix->notes, selection.notes) << "for the first message";
        }
        EXPECT_EQ(fs::exists(file), note.find("forgotten") == std::string::npos) << note;
    }
    EXPECT_TRUE(otherWine.Calls().empty());
}

TEST(ProgramStart, StartsThroughWineWordByWordLeavesNoZombieAndTellsFailures) {
    testsupport::FakeInstallation installation;
    const fs::path package = installation.WriteFile("C:\\Program Files\\VARN\\VARN_FULL.EXE", "MZ");
    installation.WriteFile("C:\\Program Files\\VARN\\readme.txt", "x");
    const auto start = [&](const char* file) {
        return platform::StartProgram(installation.prefix(), file,
                                      "/auto C:\\Program Files\\Game \xe9t\xe9\\",
                                      "C:\\Program Files\\VARN", platform::ShowCommand::Hide);
    };
    {
        testsupport::FakeWine wine;
        ASSERT_TRUE(start("c:\\program files\\varn\\VARN_FULL.EXE"));
        const auto calls = wine.WaitForCalls(1, true);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].arguments,
                  (std::vector<std::string>{"c:\\program files\\varn\\VARN_FULL.EXE", "/auto",
                                            "C:\\Program", "Files\\Game", "\xc3\xa9t\xc3\xa9\\"}));
        EXPECT_EQ(calls[0].folder, fs::canonical(package.parent_path()).string());
        EXPECT_EQ(calls[0].prefix, installation.prefix().folder.string());
        errno = 0;
        EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "the middle process is reaped";
        EXPECT_EQ(errno, ECHILD) << "and the program is not our child";
    }
    const fs::path broken = installation.root() / "broken-wine";
    std::ofstream(broken) << "#!/no/such/interpreter\n";
    fs::permissions(broken, fs::perms::owner_all);
    const std::pair<std::string, std::string> wines[] = {
        {(installation.root() / "no-wine").string(), "install Wine"},
        {broken.string(), "No such file or directory"},  // exec fails: the child tells us
    };
    for (const auto& [program, why] : wines) {
        testsupport::ScopedEnvironment environment("WINE", program);
        const auto failed = start("C:\\Program Files\\VARN\\VARN_FULL.EXE");
        ASSERT_FALSE(failed) << program;
        EXPECT_NE(failed.error().why.find(why), std::string::npos) << failed.error().why;
    }
    testsupport::ScopedEnvironment path("PATH", (installation.root() / "nothing").string());
    EXPECT_FALSE(start("C:\\Program Files\\VARN\\readme.txt")) << "no xdg-open";
}

}  // namespace
