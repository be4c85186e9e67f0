// The game's and the modification's folders from the registry, a real Wine
// registry among them.

#include "varnopts/settings/game_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/message.h"
#include "platform/windows_path.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {
namespace {

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// Each value missing (or one byte too long) in turn, in reading order: only
// it is named, the ones before it are read and the ones after it stay empty.
TEST(GamePathsTest, ReadsEveryValueInOrderAndStopsAtTheFirstMissing) {
    const char* const names[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                 "EquipmentPath", "EquipTextPath", "InstallationPath",
                                 "SoundPath",     "TextPath",      "MissionPath",
                                 "TexturePath",   "ShellTextPath", "MouseRadiansPerPixel"};
    for (int missing = 0; missing <= 12; ++missing) {
        InstallationOptions options;
        options.win64 = missing % 2 == 0;
        if (missing < 12) {
            options.gameValues[names[missing]] =
                missing % 3 ? std::nullopt : std::optional(std::string(260, 'x'));
            options.gameValues["MouseRadiansPerPixel"] = std::nullopt;  // a later one too
        } else {
            options.gameValues["TextPath"] = std::string(259, 'x');  // just fits
        }
        FakeInstallation installation(options);
        MessageRecorder recorder;
        GamePaths paths;
        paths.m_strMouseRadiansPerPixel = "left over";
        EXPECT_EQ(ReadGamePaths(installation.prefix(), paths), missing == 12);
        EXPECT_EQ(recorder.texts(),
                  missing == 12
                      ? Texts{}
                      : Texts{"Error opening " + std::string(names[missing]) + " path regkey"});
        for (int i = 0; i < 12; ++i) {
            EXPECT_EQ(GameValueFields()[i].name, names[i]);
            EXPECT_EQ(paths.*GameValueFields()[i].member,
                      i < missing ? installation.GameValue(names[i]) : "")
                << names[std::min(missing, 11)] << " / " << names[i];
        }
        EXPECT_EQ(paths.m_strModFolder, "C:\\VARN");
    }
}

// Without the modification's key, or without its InstallPath (which is told
// of), the current directory serves as the modification's folder.
TEST(GamePathsTest, MissingModificationFolder) {
    for (const bool keyThere : {false, true}) {
        InstallationOptions options;
        options.modKey = false;
        FakeInstallation installation(options);
        if (keyThere) {
            installation.AddRegistryKey(testsupport::ModKeyName());
        }
        MessageRecorder recorder;
        GamePaths paths;
        EXPECT_TRUE(ReadGamePaths(installation.prefix(), paths));
        EXPECT_EQ(recorder.texts(),
                  Texts(keyThere ? 1 : 0, "Error opening InstallPath path regkey"));
        EXPECT_EQ(paths.m_strModFolder,
                  platform::CurrentDirectoryAsWindowsPath(installation.prefix()));
    }
}

// The registry of a real Wine prefix, with the modification's folder stored
// as an expandable text the way its installer writes it.
TEST(GamePathsTest, RealRegistryWithAnExpandableInstallPath) {
    testsupport::TemporaryFolder folder;
    const std::string command = "gzip -dc '" LW_FIXTURE_DIR "/wine8-win64-system.reg.gz' > '" +
                                (folder.path() / "system.reg").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const platform::WinePrefix prefix = platform::LoadPrefix(folder.path());
    MessageRecorder recorder;
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
