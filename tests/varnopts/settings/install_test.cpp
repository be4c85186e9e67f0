// What an install does before and while it starts the packages: the version
// check, the read-only marks, the plan of packages and how each is started.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_search.h"
#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/fake_wine.h"
#include "support/message_recorder.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/package_runner.h"
#include "varnopts/settings/read_only_clearing.h"
#include "varnopts/settings/version_check.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

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
        if (version.empty()) {
            EXPECT_TRUE(recorder.messages().empty()) << length;
        } else if (version == "?") {
            ASSERT_EQ(recorder.messages().size(), 1u) << length;
            EXPECT_EQ(recorder.messages()[0].caption, "Unknown Rainbow Six version");
            EXPECT_EQ(recorder.messages()[0].style, platform::MB_YESNO);
        } else {
            EXPECT_EQ(recorder.texts(),
                      Texts{"You are running version " + version +
                            " of Rainbow Six. VARN will only run with version 1.04 or later. You "
                            "can get the latest offical patches at http://www.redstorm.com/support "
                            ". VARN install aborted."});
        }
    }
}

TEST(VersionCheckTest, TheExpansionTheAnswerTheEmptyPathAndTheFileOnDisk) {
    const std::string game = "C:\\Games\\Rainbow Six\\";
    struct Case {
        bool eagleWatch;
        const char* onDisk;  // the executable's name there; "\\" after it makes it a folder
        std::string installationPath;
        int answer;
        bool passes;
    };
    const Case cases[] = {
        {true, "", game, 0, true},  // the expansion: no look at the file
        {true, "RainbowSix.exe", "", 0, false},
        {false, "RAINBOWSIX.EXE", game, 0, true},
        {false, "", game, 0, false},
        {false, "RainbowSix.exe", "C:\\Games\\Rainbow Six", 0, false},
        {false, "rainbowsix.exe", game, platform::IDYES, true},  // an unknown length
        {false, "rainbowsix.exe", game, platform::IDNO, false}};
    for (const Case& c : cases) {
        testsupport::InstallationOptions options;
        options.eagleWatch = c.eagleWatch;
        FakeInstallation installation(options);
        if (std::string(c.onDisk).ends_with("\\")) {
            fs::create_directories(installation.UnixPath(game + c.onDisk));
        } else if (*c.onDisk) {
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
            EXPECT_TRUE(package.starts_with("VARN_") && package.ends_with(".EXE")) << package;
            plan += (plan.empty() ? "" : " ") + package.substr(5, package.size() - 9);
        }
        EXPECT_EQ(plan, std::string("FULL ") + c.packages)
            << c.weapon << c.server << c.sound << c.go;
    }
}

TEST(ReadOnlyClearingTest, TenPatternsClearOnlyTheirFolders) {
    FakeInstallation installation;
    GamePaths paths;
    for (const auto& field : GameValueFields()) {
        paths.*field.member = installation.GameValue(std::string(field.name));
    }
    const std::string game = "C:\\Games\\Rainbow Six\\", data = game + "data\\";
    EXPECT_EQ(ReadOnlyClearingPatterns(paths),
              (Texts{data + "bitmap\\*.*", data + "equipment\\*.*", data + "mission\\*.*",
                     data + "text\\equipment\\english\\*.*", data + "sound\\*.*",
                     data + "sound\\english\\*.*", data + "actor\\*.*", game + "*.*",
                     data + "texture\\*.*", data + "text\\interface\\english\\*.*"}));
    const std::pair<std::string, bool> cases[] = {
        {game + "RainbowSix.exe", true},
        {data + "bitmap\\noextension", true},  // "*.*" matches names without a dot
        {data + "bitmap\\.hidden", true},
        {data + "text\\interface\\english\\menu.txt", true},
        {data + "text\\notes.txt", false},                  // TextPath is not touched
        {data + "sound\\music\\theme.wav", false},          // nor ActionMusicPath
        {data + "bitmap\\english\\title.bmp", false},       // no recursion
        {data + "text\\equipment\\equipment.txt", false}};  // only its english folder
    for (const auto& [file, cleared] : cases) {
        fs::permissions(installation.WriteFile(file, "data"), fs::perms::owner_read);
    }
    const fs::path folder = installation.UnixPath(data + "bitmap\\sub");
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    ASSERT_TRUE(ClearGameReadOnlyFiles(installation.prefix(), paths));
    for (const auto& [file, cleared] : cases) {
        EXPECT_EQ(platform::IsReadOnly(installation.UnixPath(file)), !cleared) << file;
    }
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder, fs::perms::owner_all);
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
    const auto calls = wine.WaitForCalls(1, true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments,
              (Texts{folder + "\\VARN_FULL.EXE", "/auto", "C:\\Games\\Rainbow", "Six\\"}));
    EXPECT_EQ(fs::path(calls[0].folder), fs::canonical(installation.UnixPath(folder)));
    EXPECT_EQ(calls[0].prefix, installation.prefix().folder.string());
    StartGameProgram(installation.prefix(), "C:\\Games\\", kRainbowSixMpExe);
    EXPECT_EQ(recorder.texts(), Texts{"Failed to start C:\\Games\\RainbowSixMP.exe"});
}

}  // namespace
}  // namespace varnopts
