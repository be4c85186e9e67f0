// The game's folders from its registry key: reading order, the stop at the
// first missing value, the buffer limit, VARNDEV and the messages.

#include <gtest/gtest.h>

#include <string>

#include "loadwise/kitdata/game_paths.h"
#include "platform/message.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace kitdata {
namespace {

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;

constexpr unsigned kStopStyle = platform::MB_OK | platform::MB_ICONHAND;

TEST(GamePathsTest, AllValuesReadAndSeparatorsAppended) {
    MessageRecorder messages;
    FakeInstallation installation;
    const GamePaths paths = ReadGamePaths(installation.prefix());

    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(paths.m_bDevMode);
    EXPECT_EQ(paths.m_strActorPath, installation.GameValue("ActorPath"));
    EXPECT_EQ(paths.m_strBitmapPath, installation.GameValue("BitmapPath"));
    EXPECT_EQ(paths.m_strActionMusicPath, installation.GameValue("ActionMusicPath"));
    EXPECT_EQ(paths.m_strEquipmentPath, installation.GameValue("EquipmentPath") + "\\");
    EXPECT_EQ(paths.m_strEquipTextPath, installation.GameValue("EquipTextPath") + "\\english\\");
    EXPECT_EQ(paths.m_strInstallationPath, installation.GameValue("InstallationPath"));
    EXPECT_EQ(paths.m_strSoundPath, installation.GameValue("SoundPath"));
    EXPECT_EQ(paths.m_strTextPath, installation.GameValue("TextPath"));
}

TEST(GamePathsTest, VarnDevOfAnyTypeAndContentSwitchesDevModeOn) {
    const std::string values[] = {
        testsupport::WineStringValue(""),
        testsupport::WineStringValue("yes"),
        "dword:00000000",
        "hex:",
        "hex:01,02,03",
        "str(2):\"%SystemRoot%\"",
    };
    for (const std::string& value : values) {
        MessageRecorder messages;
        FakeInstallation installation;
        installation.AddRegistryValue(kGameKey, "VARNDEV", value);
        const GamePaths paths = ReadGamePaths(installation.prefix());
        EXPECT_TRUE(paths.m_bDevMode) << value;
        EXPECT_TRUE(messages.messages().empty()) << value;
        EXPECT_EQ(paths.m_strEquipmentPath, installation.GameValue("EquipmentPath") + "\\");
    }
}

TEST(GamePathsTest, FirstMissingValueStopsReadingWithOneMessage) {
    struct Case {
        std::string missing;
        int valuesRead;  // folder values read before it, in reading order
    };
    const Case cases[] = {
        {"ActorPath", 0},     {"BitmapPath", 1},       {"ActionMusicPath", 2}, {"EquipmentPath", 3},
        {"EquipTextPath", 4}, {"InstallationPath", 5}, {"SoundPath", 6},       {"TextPath", 7},
    };
    for (const Case& c : cases) {
        MessageRecorder messages;
        InstallationOptions options;
        options.gameValues[c.missing] = std::nullopt;
        FakeInstallation installation(options);
        const GamePaths paths = ReadGamePaths(installation.prefix());

        ASSERT_EQ(messages.messages().size(), 1u) << c.missing;
        EXPECT_EQ(messages.messages()[0].text,
                  "Error opening reg key " + c.missing + " path regkey");
        EXPECT_EQ(messages.messages()[0].caption, "Loadwise");
        EXPECT_EQ(messages.messages()[0].style, kStopStyle);

        const std::string* const fields[] = {
            &paths.m_strActorPath,     &paths.m_strBitmapPath,    &paths.m_strActionMusicPath,
            &paths.m_strEquipmentPath, &paths.m_strEquipTextPath, &paths.m_strInstallationPath,
            &paths.m_strSoundPath,     &paths.m_strTextPath};
        const char* const names[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                     "EquipmentPath", "EquipTextPath", "InstallationPath",
                                     "SoundPath",     "TextPath"};
        for (int i = 0; i < 8; ++i) {
            // No separator is appended: the read values stay exactly as stored.
            const std::string expected = i < c.valuesRead ? installation.GameValue(names[i]) : "";
            EXPECT_EQ(*fields[i], expected) << c.missing << " / " << names[i];
        }
    }
}

TEST(GamePathsTest, ValueLongerThanTheBufferCountsAsMissing) {
    MessageRecorder messages;
    InstallationOptions options;
    options.gameValues["InstallationPath"] = "C:\\" + std::string(300, 'x') + "\\";
    FakeInstallation installation(options);
    const GamePaths paths = ReadGamePaths(installation.prefix());
    ASSERT_EQ(messages.texts(),
              std::vector<std::string>{"Error opening reg key InstallationPath path regkey"});
    EXPECT_EQ(paths.m_strEquipmentPath, installation.GameValue("EquipmentPath"));
    EXPECT_EQ(paths.m_strInstallationPath, "");
}

TEST(GamePathsTest, ValueThatJustFitsTheBufferIsRead) {
    MessageRecorder messages;
    InstallationOptions options;
    const std::string longest = "C:\\" + std::string(256, 'x');  // 259 bytes and the zero
    options.gameValues["TextPath"] = longest;
    FakeInstallation installation(options);
    const GamePaths paths = ReadGamePaths(installation.prefix());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(paths.m_strTextPath, longest);
}

TEST(GamePathsTest, TextIsTakenUpToItsFirstZero) {
    MessageRecorder messages;
    FakeInstallation installation;
    // "C:\A" NUL "B" as a REG_SZ in UTF-16LE.
    installation.AddRegistryValue(kGameKey, "ActorPath",
                                  "hex(1):43,00,3a,00,5c,00,41,00,00,00,42,00,00,00");
    const GamePaths paths = ReadGamePaths(installation.prefix());
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(paths.m_strActorPath, "C:\\A");
}

TEST(GamePathsTest, MissingGameKeyGivesOneMessageAndEmptyFolders) {
    MessageRecorder messages;
    InstallationOptions options;
    options.gameKey = false;
    options.devMode = true;
    FakeInstallation installation(options);
    const GamePaths paths = ReadGamePaths(installation.prefix());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Error opening main reg key");
    EXPECT_EQ(messages.messages()[0].caption, "Loadwise");
    EXPECT_EQ(messages.messages()[0].style, kStopStyle);
    EXPECT_FALSE(paths.m_bDevMode);
    EXPECT_EQ(paths.m_strEquipmentPath, "");
    EXPECT_EQ(paths.m_strEquipTextPath, "");
}

}  // namespace
}  // namespace kitdata
