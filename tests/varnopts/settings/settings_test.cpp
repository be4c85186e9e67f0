// The game's values in the registry, the mouse sensitivity's text, and what
// an install does before and while it starts the packages.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_search.h"
#include "platform/message.h"
#include "platform/windows_path.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/mouse_sensitivity.h"
#include "varnopts/settings/package_runner.h"
#include "varnopts/settings/read_only_clearing.h"
#include "varnopts/settings/version_check.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// Each value missing (or one byte too long) in turn, in reading order: only
// it is named, the ones before it are read and the ones after it stay empty.
// Then all there (12), without the modification's key (13), and with the key
// but without its InstallPath (14, told of): the current directory then
// serves as the modification's folder.
TEST(GamePathsTest, ReadsEveryValueInOrderAndStopsAtTheFirstMissing) {
    std::istringstream list(
        "ActorPath BitmapPath ActionMusicPath EquipmentPath EquipTextPath "
        "InstallationPath SoundPath TextPath MissionPath TexturePath "
        "ShellTextPath MouseRadiansPerPixel - - InstallPath");
    Texts names;
    for (std::string name; list >> name;) {
        names.push_back(name == "-" ? "" : name);
    }
    for (int missing = 0; missing <= 14; ++missing) {
        InstallationOptions options;
        options.win64 = missing % 2 == 0;
        options.modKey = missing < 13;
        if (missing < 12) {
            options.gameValues[names[missing]] =
                missing % 3 ? std::nullopt : std::optional(std::string(260, 'x'));
            options.gameValues["MouseRadiansPerPixel"] = std::nullopt;  // a later one too
        } else {
            options.gameValues["TextPath"] = std::string(259, 'x');  // just fits
        }
        FakeInstallation installation(options);
        if (missing == 14) {
            installation.AddRegistryKey(testsupport::ModKeyName());
        }
        MessageRecorder recorder;
        GamePaths paths;
        paths.m_strMouseRadiansPerPixel = "left over";
        EXPECT_EQ(ReadGamePaths(installation.prefix(), paths), missing >= 12);
        EXPECT_EQ(recorder.texts(),
                  names[missing].empty()
                      ? Texts{}
                      : Texts{"Error opening " + names[missing] + " path regkey"});
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(paths.*GameValueFields()[i].member,
                      i < missing ? installation.GameValue(names[i]) : "")
                << names[missing] << " / " << names[i];
        }
        EXPECT_EQ(paths.m_strModFolder,
                  missing < 13 ? "C:\\VARN"
                               : platform::CurrentDirectoryAsWindowsPath(installation.prefix()));
    }
}

// Truncated, not rounded (0.000249 lands just below 249); out of range or no
// number gives an end; a comma is no decimal point; hexadecimal as atof reads
// it; the text ends at a zero. A locale with a decimal comma (as a Qt program
// gets from the user's settings) changes nothing, where one can be made.
TEST(MouseSensitivityTest, TextToPositionAndBackInAnyLocale) {
    const std::pair<std::string, int> cases[] = {
        {"0.008727", 8727},   {"0.0087266", 8726},
        {"0.000249", 248},    {"0.000099", 100},
        {"0.025001", 25000},  {"2147.483648", 25000},
        {"inf", 25000},       {"-2147.483649", 100},
        {"nan", 100},         {"", 100},
        {"  \t+0.01", 10000}, {"0.012abc", 12000},
        {"0.01,5", 10000},    {"15e-3", 15000},
        {"0x1p-7", 7812},     {std::string("0.02\0009", 6), 20000}};
    testsupport::TemporaryFolder folder;
    const testsupport::ScopedEnvironment locales("LOCPATH", folder.path().string());
    const bool made = std::system(("localedef -i de_DE -f UTF-8 '" + folder.path().string() +
                                   "/de_DE.UTF-8' >/dev/null 2>&1")
                                      .c_str()) == 0;
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* locale : {"C", made ? "de_DE.UTF-8" : "C"}) {
        ASSERT_NE(std::setlocale(LC_NUMERIC, locale), nullptr) << locale;
        for (const auto& [text, position] : cases) {
            EXPECT_EQ(SensitivityToPosition(text), position) << '"' << text << '"' << locale;
        }
        EXPECT_EQ(PositionToSensitivity(100), "0.000100") << locale;
        EXPECT_EQ(PositionToSensitivity(8727), "0.008727") << locale;
        EXPECT_EQ(PositionToSensitivity(25000), "0.025000") << locale;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

// Some positions come back one lower after a save and a read, because the
// product of the saved text falls just below the whole number.
TEST(MouseSensitivityTest, RoundTripLosesOneOnExactly358Positions) {
    int oneLower = 0;
    for (int position = kMinSensitivityPosition; position <= kMaxSensitivityPosition; ++position) {
        const int back = SensitivityToPosition(PositionToSensitivity(position));
        ASSERT_TRUE(back == position || back == position - 1) << position << " -> " << back;
        oneLower += back == position - 1 ? 1 : 0;
    }
    EXPECT_EQ(oneLower, 358);
}

// Every row of the version table and one byte either side of each, as
// length:verdict, where "" passes, "?" asks (answered No) and anything else
// is the refused version. The last is 1.04's length beyond 4 GiB: lengths
// are not cut to 32 bits.
TEST(VersionCheckTest, JudgesTheExecutableByItsLength) {
    std::istringstream cases(
        "4625408:1.0 4625407:? 4625409:? 4628480:1.01 4628479:? 4628481:? 4726272:1.02a "
        "4726271:? 4726273:? 4814528: 4814527:? 4814529:? 4899328: 4899327:? 4899329:? 0:? "
        "4299781824:?");
    for (std::string row; cases >> row;) {
        const std::uint64_t length = std::stoull(row);
        const std::string version = row.substr(row.find(':') + 1);
        MessageRecorder recorder;
        recorder.QueueAnswer(platform::IDNO);
        EXPECT_EQ(DecideGameVersion("C:\\RS\\", false, length), version.empty()) << length;
        ASSERT_EQ(recorder.messages().size(), version.empty() ? 0u : 1u) << length;
        if (!version.empty()) {
            EXPECT_EQ(recorder.messages()[0].style,
                      version == "?" ? platform::MB_YESNO : platform::MB_OK);
            EXPECT_NE(recorder.texts()[0].find(version == "?" ? "cannot determine the version"
                                                              : "running version " + version + " "),
                      std::string::npos);
        }
    }
}

TEST(VersionCheckTest, TheExpansionTheAnswerAndTheEmptyPath) {
    const std::string game = "C:\\Games\\Rainbow Six\\";
    struct Case {
        bool eagleWatch;
        const char* onDisk;  // the executable's name there
        std::string installationPath;
        int answer;
        bool passes;
    };
    const Case cases[] = {
        {true, "", game, 0, true},  // the expansion: no look at the file
        {true, "RainbowSix.exe", "", 0, false},
        {false, "RAINBOWSIX.EXE", game, 0, true},
        {false, "", game, 0, false},
        {false, "rainbowsix.exe", game, platform::IDYES, true},  // an unknown length
        {false, "rainbowsix.exe", game, platform::IDNO, false}};
    for (const Case& c : cases) {
        InstallationOptions options;
        options.eagleWatch = c.eagleWatch;
        FakeInstallation installation(options);
        if (*c.onDisk) {
            fs::resize_file(installation.WriteFile(game + c.onDisk, ""), c.answer ? 1234 : 4814528);
        }
        MessageRecorder recorder;
        recorder.QueueAnswer(c.answer);
        EXPECT_EQ(CheckGameVersion(installation.prefix(), c.installationPath), c.passes)
            << c.onDisk << " " << c.installationPath;
        EXPECT_EQ(recorder.messages().size(), c.passes && !c.answer ? 0u : 1u) << c.onDisk;
    }
}

TEST(InstallPlanTest, ChoicesGiveTheirPackagesInOrder) {
    struct Case {
        int weapon, server, sound, go;
        bool eagleWatch;
        const char* packages;  // after VARN_FULL, without VARN_ and .EXE
    };
    const Case cases[] = {{0, 0, 0, 0, true, "FULL_INDEX TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES"},
                          {1, 1, 1, 1, false, "NO_EW TN_ASSAULT MP_TANGO LOW_SOUND ORG_GO"},
                          {2, 2, 0, 1, true, "FULL_INDEX TN_RECON MP_PISTOLS HIGH_SOUND ORG_GO"},
                          {3, 3, 1, 0, false, "NO_EW TN_HEAVY MP_9MM LOW_SOUND GOCODES"},
                          {4, 0, 0, 0, true, "FULL_INDEX TN_TANGO MP_DEFAULT HIGH_SOUND GOCODES"},
                          {5, 0, 0, 0, true, "FULL_INDEX TN_MULTI MP_DEFAULT HIGH_SOUND GOCODES"},
                          // A typed Quick Weapon text that names no entry runs no team package.
                          {kNoSelection, 0, 0, 0, true, "FULL_INDEX MP_DEFAULT HIGH_SOUND GOCODES"},
                          {6, 4, 2, 2, false, "NO_EW"},  // positions outside the lists add nothing
                          {-5, -1, -1, -1, true, "FULL_INDEX"}};
    for (const Case& c : cases) {
        std::string plan;
        for (const std::string& package :
             MakeInstallPlan(c.weapon, c.server, c.sound, c.go, c.eagleWatch)) {
            plan += (plan.empty() ? "" : " ") + package.substr(5, package.size() - 9);
        }
        EXPECT_EQ(plan, std::string("FULL ") + c.packages)
            << c.weapon << c.server << c.sound << c.go;
    }
}

// Each pattern clears its own folder only. An empty folder value (BitmapPath
// in the second pass) is left out, never made the drive's root, and the rest
// goes on.
TEST(ReadOnlyClearingTest, TenPatternsClearOnlyTheirFolders) {
    const std::string game = "C:\\Games\\Rainbow Six\\", data = game + "data\\";
    const std::pair<std::string, bool> cases[] = {
        {game + "RainbowSix.exe", true},
        {data + "bitmap\\noextension", true},
        {data + "text\\interface\\english\\menu.txt", true},
        {data + "text\\notes.txt", false}};  // TextPath is not touched
    for (const bool emptyBitmapPath : {false, true}) {
        FakeInstallation installation;
        GamePaths paths;
        ASSERT_TRUE(ReadGamePaths(installation.prefix(), paths));
        Texts patterns = {data + "bitmap\\*.*",  data + "equipment\\*.*",
                          data + "mission\\*.*", data + "text\\equipment\\english\\*.*",
                          data + "sound\\*.*",   data + "sound\\english\\*.*",
                          data + "actor\\*.*",   game + "*.*",
                          data + "texture\\*.*", data + "text\\interface\\english\\*.*"};
        if (emptyBitmapPath) {
            paths.m_strBitmapPath.clear();
            patterns.erase(patterns.begin());
        }
        ASSERT_EQ(ReadOnlyClearingPatterns(paths), patterns);  // before anything is cleared
        for (const auto& [file, cleared] : cases) {
            fs::permissions(installation.WriteFile(file, "data"), fs::perms::owner_read);
        }
        const fs::path folder = installation.UnixPath(data + "bitmap\\sub");
        fs::create_directories(folder);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        ASSERT_TRUE(ClearGameReadOnlyFiles(installation.prefix(), paths));
        for (const auto& [file, cleared] : cases) {
            EXPECT_EQ(platform::IsReadOnly(installation.UnixPath(file)),
                      !cleared || (emptyBitmapPath && file.starts_with(data + "bitmap")))
                << file << emptyBitmapPath;
        }
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_read | fs::perms::owner_exec);
        fs::permissions(folder, fs::perms::owner_all);
    }
}

// Each package gets the game folder word by word, so its command line is
// "/auto <folder>" exactly, unquoted; it runs in the modification's folder,
// stored as its installer does with a Windows environment name.
TEST(PackageRunnerTest, StartsThePackageInTheModificationFolderWithTheGameFolder) {
    FakeInstallation installation;
    testsupport::FakeWine wine;
    const std::string folder = "C:\\Program Files (x86)\\VARN";
    installation.WriteFile(folder + "\\VARN_FULL.EXE", "MZ");
    MessageRecorder recorder;
    RunPackage(installation.prefix(), "%ProgramFiles%\\VARN", "C:\\Games\\Rainbow Six\\",
               "VARN_FULL.EXE");
    const auto calls = wine.Calls();  // the package has ended: it is waited for
    EXPECT_EQ(calls.at(0).arguments,
              (Texts{folder + "\\VARN_FULL.EXE", "/auto", "C:\\Games\\Rainbow", "Six\\"}));
    EXPECT_EQ(fs::path(calls[0].folder), fs::canonical(installation.UnixPath(folder)));
    EXPECT_EQ(calls[0].prefix, installation.prefix().folder.string());
    StartGameProgram(installation.prefix(), "C:\\Games\\", kRainbowSixMpExe);
    EXPECT_EQ(recorder.texts(), Texts{"Failed to start C:\\Games\\RainbowSixMP.exe"});
}

}  // namespace
}  // namespace varnopts
