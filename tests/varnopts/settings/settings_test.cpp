// The game's registry values, the mouse sensitivity, what an install checks.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_search.h"
#include "platform/message.h"
#include "platform/windows_path.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/mouse_sensitivity.h"
#include "varnopts/settings/read_only_clearing.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/settings/version_check.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using namespace testsupport;
using Texts = std::vector<std::string>;

// Each value missing (or one byte too long) in reading order: only it is named, those before
// it are read, those after stay empty. Then all there (12), without the modification's key (13),
// and without its InstallPath (14, told of): the current directory is then its folder.
TEST(GamePathsTest, ReadsEveryValueInOrderAndStopsAtTheFirstMissing) {
    Texts names = {"ActorPath",     "BitmapPath",       "ActionMusicPath", "EquipmentPath",
                   "EquipTextPath", "InstallationPath", "SoundPath",       "TextPath",
                   "MissionPath",   "TexturePath",      "ShellTextPath",   "MouseRadiansPerPixel"};
    names.insert(names.end(), {"", "", "InstallPath"});  // 12 and 13 tell nothing
    for (int missing = 0; missing <= 14; ++missing) {
        InstallationOptions options{
            .win64 = missing % 2 == 0, .modKey = missing < 13, .gameValues = {}};
        if (missing < 12) {
            options.gameValues[names[missing]] =
                missing % 3 ? std::nullopt : std::optional(std::string(260, 'x'));
            options.gameValues["MouseRadiansPerPixel"] = std::nullopt;  // a later one too
        } else {
            options.gameValues["TextPath"] = std::string(259, 'x');  // just fits
        }
        FakeInstallation installation(options);
        if (missing == 14) {
            installation.AddRegistryKey(ModKeyName());
        }
        MessageRecorder recorder;
        GamePaths paths;
        paths.m_strMouseRadiansPerPixel = "left over";
        EXPECT_EQ(ReadGamePaths(installation.prefix(), paths), missing >= 12);
        const Texts told = {"Error opening " + names[missing] + " path regkey"};
        EXPECT_EQ(recorder.texts(), names[missing].empty() ? Texts{} : told);
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

// No game in the prefix: the folder chosen in the message replaces it, and
// the modification's folder is read from there too.
TEST(GamePathsTest, APrefixChosenInTheMessageIsReadWhole) {
    TemporaryFolder home;
    ScopedEnvironment homeVariable("HOME", home.path().string());
    ScopedEnvironment config("XDG_CONFIG_HOME", (home.path() / "config").string());
    FakeInstallation empty({.gameKey = false, .modKey = false, .gameValues = {}});
    FakeInstallation game({.modFolder = "C:\\M", .gameValues = {}});
    MessageRecorder recorder;
    recorder.QueueAnswer(platform::kIdChooseFolder);
    platform::FolderOperation previous = platform::SetFolderOperation(
        [&](const std::string&) { return game.prefix().folder.string(); });
    platform::WinePrefix prefix = empty.prefix();
    GamePaths paths;
    EXPECT_TRUE(ReadGamePaths(prefix, paths));
    platform::SetFolderOperation(std::move(previous));
    EXPECT_EQ(prefix.folder, game.prefix().folder);
    EXPECT_EQ(paths.m_strModFolder, "C:\\M");
    EXPECT_EQ(paths.m_strInstallationPath, game.GameValue("InstallationPath"));
    EXPECT_EQ(recorder.texts(), (Texts{std::string(kTextMainKeyError.text),
                                       "Remember this prefix for the next starts?"}));
    EXPECT_FALSE(fs::exists(home.path() / "config/r6tools/prefix")) << "not asked to";
}

// Truncated, not rounded; out of range or no number gives an end; no decimal
// comma, even in a locale that has one; hexadecimal as atof reads it; the text
// ends at a zero. A save and a read lose one on 358 positions.
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
    TemporaryFolder folder;
    const ScopedEnvironment locales("LOCPATH", folder.path().string());
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
        int oneLower = 0;
        for (int p = kMinSensitivityPosition; p <= kMaxSensitivityPosition; ++p) {
            const int back = SensitivityToPosition(PositionToSensitivity(p));
            ASSERT_TRUE(back == p || back == p - 1) << p << " -> " << back;
            oneLower += back == p - 1 ? 1 : 0;
        }
        EXPECT_EQ(oneLower, 358) << locale;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

// Each row of the version table and one byte either side, as length:verdict
// ("" passes, "?" asks, answered Yes, else the version refused); the last is
// 1.04's length beyond 4 GiB: lengths are not cut to 32 bits.
TEST(VersionCheckTest, JudgesTheExecutableByItsLength) {
    std::istringstream cases(
        "4625408:1.0 4625407:? 4625409:? 4628480:1.01 4628479:? 4628481:? 4726272:1.02a "
        "4726271:? 4726273:? 4814528: 4814527:? 4814529:? 4899328: 4899327:? 4899329:? 0:? "
        "4299781824:?");
    for (std::string row; cases >> row;) {
        const std::uint64_t length = std::stoull(row);
        const std::string version = row.substr(row.find(':') + 1);
        MessageRecorder recorder;
        recorder.QueueAnswer(platform::IDYES);  // only an unknown length is asked about
        EXPECT_EQ(DecideGameVersion("C:\\RS\\", false, length), version.empty() || version == "?")
            << length;
        const Texts told = recorder.texts();
        ASSERT_EQ(told.size(), version.empty() ? 0u : 1u) << length;
        const std::string part =
            version == "?" ? "cannot determine the version" : "running version " + version + " ";
        EXPECT_TRUE(version.empty() || told[0].find(part) != std::string::npos) << length;
    }
}

// The expansion passes without a look at the file; an empty game folder
// fails; the name is matched in any case; an unknown length asks.
TEST(VersionCheckTest, TheExpansionTheAnswerAndTheEmptyPath) {
    const std::string game = "C:\\Games\\Rainbow Six\\";
    const std::tuple<bool, const char*, std::string, int, bool> cases[] = {
        {true, "", game, 0, true},
        {true, "RainbowSix.exe", "", 0, false},
        {false, "RAINBOWSIX.EXE", game, 0, true},
        {false, "", game, 0, false},
        {false, "rainbowsix.exe", game, platform::IDYES, true},  // an unknown length
        {false, "rainbowsix.exe", game, platform::IDNO, false}};
    for (const auto& [eagleWatch, onDisk, installationPath, answer, passes] : cases) {
        FakeInstallation installation({.eagleWatch = eagleWatch, .gameValues = {}});
        if (*onDisk) {
            fs::resize_file(installation.WriteFile(game + onDisk, ""), answer ? 1234 : 4814528);
        }
        MessageRecorder recorder;
        recorder.QueueAnswer(answer);
        EXPECT_EQ(CheckGameVersion(installation.prefix(), installationPath), passes)
            << onDisk << " " << installationPath;
        EXPECT_EQ(recorder.messages().size(), passes && !answer ? 0u : 1u) << onDisk;
    }
}

// Positions outside a list add nothing; so does a typed Quick Weapon text
// that names no entry (kNoSelection).
TEST(InstallPlanTest, ChoicesGiveTheirPackagesInOrder) {
    // weapon, server, sound, go codes, Eagle Watch: the packages after VARN_FULL
    const std::tuple<int, int, int, int, bool, const char*> cases[] = {
        {0, 0, 0, 0, true, "FULL_INDEX TN_RAINBOW MP_DEFAULT HIGH_SOUND GOCODES"},
        {1, 1, 1, 1, false, "NO_EW TN_ASSAULT MP_TANGO LOW_SOUND ORG_GO"},
        {2, 2, 0, 1, true, "FULL_INDEX TN_RECON MP_PISTOLS HIGH_SOUND ORG_GO"},
        {3, 3, 1, 0, false, "NO_EW TN_HEAVY MP_9MM LOW_SOUND GOCODES"},
        {4, 0, 0, 0, true, "FULL_INDEX TN_TANGO MP_DEFAULT HIGH_SOUND GOCODES"},
        {5, 0, 0, 0, true, "FULL_INDEX TN_MULTI MP_DEFAULT HIGH_SOUND GOCODES"},
        {kNoSelection, 0, 0, 0, true, "FULL_INDEX MP_DEFAULT HIGH_SOUND GOCODES"},
        {6, 4, 2, 2, false, "NO_EW"},
        {-5, -1, -1, -1, true, "FULL_INDEX"}};
    for (const auto& [weapon, server, sound, go, eagleWatch, packages] : cases) {
        std::string plan;  // without VARN_ and .EXE
        for (const std::string& package : MakeInstallPlan(weapon, server, sound, go, eagleWatch)) {
            plan += (plan.empty() ? "" : " ") + package.substr(5, package.size() - 9);
        }
        EXPECT_EQ(plan, std::string("FULL ") + packages) << weapon << server << sound << go;
    }
}

// Each pattern clears its own folder's files, not the folders in it nor what
// they hold; an empty folder value is left out, never made the drive's root.
TEST(ReadOnlyClearingTest, TenPatternsClearOnlyTheirFolders) {
    const std::string game = "C:\\Games\\Rainbow Six\\", data = game + "data\\";
    FakeInstallation installation;
    GamePaths paths;
    ASSERT_TRUE(ReadGamePaths(installation.prefix(), paths));
    Texts patterns = {data + "bitmap\\*.*",  data + "equipment\\*.*",
                      data + "mission\\*.*", data + "text\\equipment\\english\\*.*",
                      data + "sound\\*.*",   data + "sound\\english\\*.*",
                      data + "actor\\*.*",   game + "*.*",
                      data + "texture\\*.*", data + "text\\interface\\english\\*.*"};
    EXPECT_EQ(ReadOnlyClearingPatterns(paths), patterns);
    const fs::path files[] = {installation.WriteFile(game + "RainbowSix.exe", ""),
                              installation.WriteFile(data + "text\\interface\\english\\a", ""),
                              installation.WriteFile(data + "bitmap\\.hidden", ""),
                              installation.WriteFile(data + "bitmap\\sub\\a", ""),
                              installation.UnixPath(data + "bitmap\\sub")};
    for (const fs::path& file : files) {
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ASSERT_TRUE(ClearGameReadOnlyFiles(installation.prefix(), paths));
    for (int i = 0; i < 5; ++i) {  // "*.*" takes names without a dot and hidden ones too
        EXPECT_EQ(platform::IsReadOnly(files[i]), i >= 3) << files[i];
    }
    paths.m_strBitmapPath.clear();
    patterns.erase(patterns.begin());
    EXPECT_EQ(ReadOnlyClearingPatterns(paths), patterns);
}

}  // namespace
}  // namespace varnopts
