// The game's folders from its registry key: reading order, the stop at the
// first missing value, the buffer limit, VARNDEV and the messages.

#include "loadwise/kitdata/game_paths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace kitdata {
namespace {

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;

TEST(GamePathsTest, AllValuesReadAndSeparatorsAppended) {
    for (const std::string varnDev : {"", "dword:00000000", "hex:01,02"}) {
        MessageRecorder messages;
        FakeInstallation installation;
        if (!varnDev.empty()) {
            installation.AddRegistryValue(kGameKey, "VARNDEV", varnDev);
        }
        const GamePaths paths = ReadGamePaths(installation.prefix());
        EXPECT_TRUE(messages.messages().empty());
        EXPECT_EQ(paths.m_bDevMode, !varnDev.empty()) << varnDev;
        EXPECT_EQ(paths.m_strActorPath, installation.GameValue("ActorPath"));
        EXPECT_EQ(paths.m_strEquipmentPath, installation.GameValue("EquipmentPath") + "\\");
        EXPECT_EQ(paths.m_strEquipTextPath,
                  installation.GameValue("EquipTextPath") + "\\english\\");
        EXPECT_EQ(paths.m_strTextPath, installation.GameValue("TextPath"));
    }
}

TEST(GamePathsTest, FirstMissingOrTooLongValueStopsReadingWithOneMessage) {
    const char* const names[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                 "EquipmentPath", "EquipTextPath", "InstallationPath",
                                 "SoundPath",     "TextPath"};
    // Missing values and values one byte too long for the buffer alternate;
    // the last round has a value that just fits.
    const std::string longest = "C:\\" + std::string(256, 'x');  // 259 bytes and the zero
    for (int missing = 0; missing < 9; ++missing) {
        MessageRecorder messages;
        InstallationOptions options;
        if (missing < 8) {
            options.gameValues[names[missing]] =
                missing % 2 ? std::optional(longest + "x") : std::nullopt;
        } else {
            options.gameValues["TextPath"] = longest;
        }
        FakeInstallation installation(options);
        const GamePaths paths = ReadGamePaths(installation.prefix());
        const std::string* const fields[] = {
            &paths.m_strActorPath,     &paths.m_strBitmapPath,    &paths.m_strActionMusicPath,
            &paths.m_strEquipmentPath, &paths.m_strEquipTextPath, &paths.m_strInstallationPath,
            &paths.m_strSoundPath,     &paths.m_strTextPath};
        if (missing == 8) {
            EXPECT_TRUE(messages.messages().empty());
            EXPECT_EQ(paths.m_strTextPath, longest);
            continue;
        }
        ASSERT_EQ(messages.messages().size(), 1u) << names[missing];
        EXPECT_EQ(messages.messages()[0].text,
                  "Error opening reg key " + std::string(names[missing]) + " path regkey");
        EXPECT_EQ(messages.messages()[0].caption, "Loadwise");
        EXPECT_EQ(messages.messages()[0].style, platform::MB_OK | platform::MB_ICONHAND);
        for (int i = 0; i < 8; ++i) {
            // No separator is appended: the values read stay exactly as stored.
            EXPECT_EQ(*fields[i], i < missing ? installation.GameValue(names[i]) : "")
                << names[missing] << " / " << names[i];
        }
    }
}

TEST(GamePathsTest, MissingGameKeyGivesOneMessageAndEmptyFolders) {
    MessageRecorder messages;
    InstallationOptions options;
    options.gameKey = false;
    options.devMode = true;
    FakeInstallation installation(options);
    const GamePaths paths = ReadGamePaths(installation.prefix());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error opening main reg key"});
    EXPECT_FALSE(paths.m_bDevMode);
    EXPECT_EQ(paths.m_strEquipmentPath, "");
}

}  // namespace
}  // namespace kitdata
