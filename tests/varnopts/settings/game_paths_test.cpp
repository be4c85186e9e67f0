#include "varnopts/settings/game_paths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/message.h"
#include "platform/windows_path.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace varnopts {
namespace {

using testsupport::FakeInstallation;
using testsupport::InstallationOptions;
using testsupport::MessageRecorder;

void ExpectOneError(const MessageRecorder& recorder, const std::string& text) {
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text, text);
    EXPECT_EQ(recorder.messages()[0].caption, "VARN MOD Options");
    EXPECT_EQ(recorder.messages()[0].style, platform::MB_ICONHAND);
}

TEST(GamePathsTest, ReadsEveryValueAndTheModificationFolder) {
    for (const bool win64 : {true, false}) {
        SCOPED_TRACE(win64 ? "win64" : "win32");
        InstallationOptions options;
        options.win64 = win64;
        FakeInstallation installation(options);
        MessageRecorder recorder;
        GamePaths paths;
        ASSERT_TRUE(ReadGamePaths(installation.prefix(), paths));
        EXPECT_TRUE(recorder.messages().empty());
        EXPECT_EQ(paths.m_strModFolder, "C:\\VARN");
        for (const auto& [name, value] : testsupport::DefaultGameValues()) {
            bool found = false;
            for (const auto& field : GameValueFields()) {
                if (field.name == name) {
                    EXPECT_EQ(paths.*field.member, value) << name;
                    found = true;
                }
            }
            EXPECT_TRUE(found) << name;
        }
    }
}

TEST(GamePathsTest, TheValuesAreReadInOrder) {
    const char* const order[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                 "EquipmentPath", "EquipTextPath", "InstallationPath",
                                 "SoundPath",     "TextPath",      "MissionPath",
                                 "TexturePath",   "ShellTextPath", "MouseRadiansPerPixel"};
    ASSERT_EQ(GameValueFields().size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(GameValueFields()[i].name, order[i]);
    }
}

// Each value missing in turn: only it is named, the ones before it are read
// and the ones after it stay empty.
TEST(GamePathsTest, StopsAtTheFirstMissingValue) {
    const auto& fields = GameValueFields();
    for (std::size_t missing = 0; missing < fields.size(); ++missing) {
        const std::string name(fields[missing].name);
        SCOPED_TRACE(name);
        InstallationOptions options;
        options.gameValues[name] = std::nullopt;
        if (missing + 1 < fields.size()) {
            options.gameValues[std::string(fields.back().name)] = std::nullopt;  // also missing
        }
        FakeInstallation installation(options);
        MessageRecorder recorder;
        GamePaths paths;
        paths.m_strTextPath = "left over";
        paths.m_strMouseRadiansPerPixel = "left over";
        EXPECT_FALSE(ReadGamePaths(installation.prefix(), paths));
        ExpectOneError(recorder, "Error opening " + name + " path regkey");
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i < missing) {
                EXPECT_EQ(paths.*fields[i].member,
                          installation.GameValue(std::string(fields[i].name)));
            } else {
                EXPECT_EQ(paths.*fields[i].member, "") << fields[i].name;
            }
        }
        EXPECT_EQ(paths.m_strModFolder, "C:\\VARN");
    }
}

TEST(GamePathsTest, MissingGameKey) {
    InstallationOptions options;
    options.gameKey = false;
    FakeInstallation installation(options);
    MessageRecorder recorder;
    GamePaths paths;
    EXPECT_FALSE(ReadGamePaths(installation.prefix(), paths));
    ExpectOneError(recorder, "Error opening R6 main registry key.");
}

TEST(GamePathsTest, MissingModificationKeyFallsBackToTheCurrentDirectory) {
    InstallationOptions options;
    options.modKey = false;
    FakeInstallation installation(options);
    MessageRecorder recorder;
    GamePaths paths;
    paths.m_strModFolder = "left over";
    EXPECT_TRUE(ReadGamePaths(installation.prefix(), paths));
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(paths.m_strModFolder, platform::CurrentDirectoryAsWindowsPath(installation.prefix()));
    EXPECT_FALSE(paths.m_strModFolder.empty());
}

TEST(GamePathsTest, ModificationKeyWithoutInstallPathIsReportedAndFallsBack) {
    InstallationOptions options;
    options.modKey = false;
    FakeInstallation installation(options);
    installation.AddRegistryKey(testsupport::ModKeyName());
    MessageRecorder recorder;
    GamePaths paths;
    EXPECT_TRUE(ReadGamePaths(installation.prefix(), paths));
    ExpectOneError(recorder, "Error opening InstallPath path regkey");
    EXPECT_EQ(paths.m_strModFolder, platform::CurrentDirectoryAsWindowsPath(installation.prefix()));
}

TEST(GamePathsTest, EmptyInstallPathIsAnEmptyFolder) {
    InstallationOptions options;
    options.installPath = "";
    FakeInstallation installation(options);
    MessageRecorder recorder;
    GamePaths paths;
    EXPECT_TRUE(ReadGamePaths(installation.prefix(), paths));
    EXPECT_TRUE(recorder.messages().empty());
    EXPECT_EQ(paths.m_strModFolder, "");
}

struct ValueCase {
    const char* description;
    std::string stored;  // as the registry file holds it
    bool read;
    std::string text;
};

TEST(GamePathsTest, ValueLengthsAndTypes) {
    const std::string longest(259, 'a');
    const ValueCase cases[] = {
        {"259 characters", testsupport::WineStringValue(longest), true, longest},
        {"260 characters", testsupport::WineStringValue(longest + "a"), false, ""},
        {"empty", testsupport::WineStringValue(""), true, ""},
        {"expandable text", "str(2):\"C:\\\\Games\"", true, "C:\\Games"},
        {"dword", "dword:00000031", true, "1"},
        {"binary up to its zero", "hex:41,42,00,43", true, "AB"},
        {"binary without zero", "hex:41,42", true, "AB"},
        {"Windows-1252 text", testsupport::WineStringValue("Caf\xe9"), true, "Caf\xe9"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.description);
        FakeInstallation installation;
        installation.AddRegistryValue(testsupport::GameKeyName(), "ActorPath", test.stored);
        MessageRecorder recorder;
        GamePaths paths;
        EXPECT_EQ(ReadGamePaths(installation.prefix(), paths), test.read);
        if (test.read) {
            EXPECT_TRUE(recorder.messages().empty());
            EXPECT_EQ(paths.m_strActorPath, test.text);
        } else {
            ExpectOneError(recorder, "Error opening ActorPath path regkey");
        }
    }
}

TEST(GamePathsTest, ReadGameValueKeepsTheTargetOnFailure) {
    FakeInstallation installation;
    platform::RegistryKey key;
    ASSERT_EQ(
        platform::RegOpenKey(installation.prefix(), kGameKey, platform::KeyAccess::QueryValue, key),
        platform::RegStatus::Success);
    MessageRecorder recorder;
    std::string target = "before";
    EXPECT_EQ(ReadGameValue(key, "NoSuchValue", target), 1);
    EXPECT_EQ(target, "before");
    EXPECT_EQ(ReadGameValue(key, "TextPath", target), 0);
    EXPECT_EQ(target, "C:\\Games\\Rainbow Six\\data\\text");
    platform::RegCloseKey(key);
    ExpectOneError(recorder, "Error opening NoSuchValue path regkey");
}

TEST(GamePathsTest, EagleWatchIsAskedAfreshEveryTime) {
    FakeInstallation installation;
    EXPECT_FALSE(IsEagleWatchInstalled(installation.prefix()));
    installation.AddRegistryKey(testsupport::EagleWatchKeyName());  // empty key
    EXPECT_TRUE(IsEagleWatchInstalled(installation.prefix()));
}

}  // namespace
}  // namespace varnopts
