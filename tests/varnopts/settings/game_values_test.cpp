// The game's values in the registry: its folders and the modification's, a
// real Wine registry among them, and the mouse sensitivity's text.

#include "varnopts/settings/game_paths.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/message.h"
#include "platform/windows_path.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"
#include "varnopts/settings/mouse_sensitivity.h"
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

TEST(MouseSensitivityTest, TextToPositionAndBack) {
    // Truncated, not rounded (0.000249 lands just below 249); out of range or
    // no number gives an end; a comma is no decimal point; hexadecimal as atof
    // reads it; the text ends at a zero.
    const std::pair<std::string, int> cases[] = {
        {"0.008727", 8727},   {"0.0087266", 8726},
        {"0.000249", 248},    {"0.000099", 100},
        {"0.025001", 25000},  {"2147.483648", 25000},
        {"inf", 25000},       {"-2147.483649", 100},
        {"nan", 100},         {"", 100},
        {"  \t+0.01", 10000}, {"0.012abc", 12000},
        {"0.01,5", 10000},    {"15e-3", 15000},
        {"0x1p-7", 7812},     {std::string("0.02\0009", 6), 20000}};
    for (const auto& [text, position] : cases) {
        EXPECT_EQ(SensitivityToPosition(text), position) << '"' << text << '"';
    }
    EXPECT_EQ(PositionToSensitivity(100), "0.000100");
    EXPECT_EQ(PositionToSensitivity(25000), "0.025000");
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

// A locale with a decimal comma (as a Qt program gets from the user's
// settings) changes neither reading nor writing.
TEST(MouseSensitivityTest, ADecimalCommaLocaleChangesNothing) {
    testsupport::TemporaryFolder folder;
    const testsupport::ScopedEnvironment locales("LOCPATH", folder.path().string());
    const std::string compile = "localedef -i de_DE -f UTF-8 '" +
                                (folder.path() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::system(compile.c_str()) != 0 || !std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    const double comma = std::atof("0,5");
    const int position = SensitivityToPosition("0.008727");
    const std::string text = PositionToSensitivity(8727);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_EQ(comma, 0.5);  // the locale was in force
    EXPECT_EQ(position, 8727);
    EXPECT_EQ(text, "0.008727");
}

}  // namespace
}  // namespace varnopts
