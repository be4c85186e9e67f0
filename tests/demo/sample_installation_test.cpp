// The sample installation of the try-it command, laid out by
// scripts/make-demo-prefix.sh, read back through the programs' own readers.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/read_only_files.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "platform/windows_path.h"
#include "platform/wine_prefix.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace {

namespace fs = std::filesystem;

constexpr char kGameFolder[] = "C:\\Program Files (x86)\\Red Storm Entertainment\\Rainbow Six";
constexpr char kModKey[] = "SOFTWARE\\TORV\\VARN MOD 2.0";
constexpr char kEagleWatchKey[] =
    "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch\\";

int RunMakeDemoPrefix(const fs::path& target) {
    const std::string command =
        "'" LW_SOURCE_DIR "/scripts/make-demo-prefix.sh' '" + target.string() + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The value's text as a 32-bit program reads it, or why it could not.
std::string QueryText(const platform::RegistryKey& key, const std::string& name) {
    std::array<char, 260> buffer{};
    std::uint32_t size = buffer.size();
    if (platform::RegQueryValue(key, name, buffer.data(), size) != platform::RegStatus::Success) {
        return "<unreadable>";
    }
    return std::string(buffer.data());
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsItemLine(const std::string& line) {
    return line.starts_with("\"") || line.starts_with("//\"");
}

class SampleInstallation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(RunMakeDemoPrefix(prefixFolder_), 0);
        prefix_ = platform::LoadPrefix(prefixFolder_);
    }

    fs::path OnDisk(const std::string& windowsPath) const {
        return platform::ResolveWindowsPath(prefix_, windowsPath);
    }

    testsupport::TemporaryFolder temporary_;
    fs::path prefixFolder_ = temporary_.path() / "prefix";
    platform::WinePrefix prefix_;
};

TEST_F(SampleInstallation, GameKeyHoldsAllTwelveValues) {
    const std::string game = kGameFolder;
    const struct {
        const char* name;
        std::string text;
    } expected[] = {
        {"ActorPath", game + "\\data\\actor"},
        {"BitmapPath", game + "\\data\\bitmap"},
        {"ActionMusicPath", game + "\\data\\sound\\music"},
        {"EquipmentPath", game + "\\data\\kit"},
        {"EquipTextPath", game + "\\data\\text\\kit"},
        {"InstallationPath", game + "\\"},
        {"SoundPath", game + "\\data\\sound"},
        {"TextPath", game + "\\data\\text"},
        {"MissionPath", game + "\\data\\mission"},
        {"TexturePath", game + "\\data\\texture"},
        {"ShellTextPath", game + "\\data\\text\\shell"},
        {"MouseRadiansPerPixel", "0.008727"},
    };
    EXPECT_TRUE(prefix_.win64);
    platform::RegistryKey key;
    ASSERT_EQ(
        platform::RegOpenKey(prefix_, kitdata::kGameKey, platform::KeyAccess::QueryValue, key),
        platform::RegStatus::Success);
    for (const auto& value : expected) {
        EXPECT_EQ(QueryText(key, value.name), value.text) << value.name;
    }
    // Without VARNDEV the lists show rating words, as a player's game does.
    EXPECT_EQ(QueryText(key, "VARNDEV"), "<unreadable>");
    platform::RegCloseKey(key);
}

TEST_F(SampleInstallation, ExpansionAndModificationAreInstalled) {
    platform::RegistryKey eagleWatch;
    EXPECT_EQ(
        platform::RegOpenKey(prefix_, kEagleWatchKey, platform::KeyAccess::QueryValue, eagleWatch),
        platform::RegStatus::Success);
    platform::RegCloseKey(eagleWatch);

    platform::RegistryKey mod;
    ASSERT_EQ(platform::RegOpenKey(prefix_, kModKey, platform::KeyAccess::QueryValue, mod),
              platform::RegStatus::Success);
    const std::string modFolder = QueryText(mod, "InstallPath");
    platform::RegCloseKey(mod);
    EXPECT_EQ(modFolder, "C:\\Program Files (x86)\\TORV\\VARN MOD 2.0");
    EXPECT_TRUE(fs::is_regular_file(OnDisk(modFolder + "\\VARN_v200_README.TXT")));
}

TEST_F(SampleInstallation, EveryFolderTheProgramsSearchExists) {
    const std::string game = kGameFolder;
    for (const std::string folder :
         {"\\data\\actor", "\\data\\bitmap", "\\data\\sound\\music", "\\data\\kit",
          "\\data\\text\\kit", "\\", "\\data\\sound", "\\data\\text", "\\data\\mission",
          "\\data\\texture", "\\data\\text\\shell", "\\data\\text\\kit\\english\\",
          "\\data\\sound\\english", "\\data\\text\\shell\\english"}) {
        EXPECT_TRUE(fs::is_directory(OnDisk(game + folder))) << folder;
    }
}

TEST_F(SampleInstallation, GameProgramsAreThere) {
    const std::string game = std::string(kGameFolder) + "\\";
    // The length of version 1.04, which the options program accepts silently.
    EXPECT_EQ(fs::file_size(OnDisk(game + "RainbowSix.exe")), 4814528u);
    EXPECT_TRUE(fs::is_regular_file(OnDisk(game + "RainbowSixMP.exe")));
}

TEST_F(SampleInstallation, ListsReadWithoutAMessage) {
    testsupport::MessageRecorder messages;
    const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix_);
    const auto names = kitdata::LoadItemNames(prefix_, paths);
    ASSERT_TRUE(names.ok()) << names.error().Describe();
    EXPECT_EQ(names->size(), 83u);

    const struct {
        int tab;
        std::size_t rows;
        std::size_t ticked;
    } expected[] = {{kitdata::kPrimaryTab, 36, 30},
                    {kitdata::kSecondaryTab, 21, 18},
                    {kitdata::kSpecialTab, 26, 22}};
    for (const auto& list : expected) {
        const kitdata::ItemList items = kitdata::FillItemList(prefix_, paths, *names, list.tab);
        ASSERT_FALSE(items.readError) << items.readError->Describe();
        EXPECT_EQ(items.rows.size(), list.rows) << "tab " << list.tab;
        std::size_t ticked = 0;
        for (const kitdata::ItemRow& row : items.rows) {
            ticked += row.checked ? 1 : 0;
            // Every item is named: from the name table, or by its special name.
            EXPECT_NE(row.cells[kitdata::kNameColumn], row.cells[kitdata::kTextColumn])
                << "tab " << list.tab;
        }
        EXPECT_EQ(ticked, list.ticked) << "tab " << list.tab;
    }
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(SampleInstallation, WeaponsShowTheirFigures) {
    const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix_);
    const auto names = kitdata::LoadItemNames(prefix_, paths);
    ASSERT_TRUE(names.ok());
    for (int tab : {kitdata::kPrimaryTab, kitdata::kSecondaryTab}) {
        for (const kitdata::ItemRow& row :
             kitdata::FillItemList(prefix_, paths, *names, tab).rows) {
            if (row.cells[kitdata::kTextColumn] == "ex_emptykit.txt") {
                continue;  // "Empty" has no weapon
            }
            for (int column = kitdata::kMagColumn; column <= kitdata::kZoomColumn; ++column) {
                EXPECT_FALSE(row.cells[column].empty())
                    << row.cells[kitdata::kNameColumn] << " column " << column;
            }
        }
    }
}

TEST_F(SampleInstallation, ItemsHaveDescriptions) {
    const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix_);
    const auto names = kitdata::LoadItemNames(prefix_, paths);
    ASSERT_TRUE(names.ok());
    std::vector<std::string> undescribed;
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        for (const kitdata::ItemRow& row :
             kitdata::FillItemList(prefix_, paths, *names, tab).rows) {
            const std::string& text = row.cells[kitdata::kTextColumn];
            if (kitdata::ReadDescription(prefix_, paths, text) == kitdata::kNoDescription) {
                undescribed.push_back(text);
            }
        }
    }
    // Two on purpose, to show the text the window gives instead.
    EXPECT_EQ(undescribed,
              (std::vector<std::string>{"teller.txt", "ex_emptykit.txt", "ex_emptykit.txt"}));
}

// Save pairs the item lines of an item file and its kit list by position, so
// the sample's pairs must run in parallel, with the same marks.
TEST_F(SampleInstallation, KitListsPairWithItemFiles) {
    const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix_);
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        const auto itemFile = platform::ReadTextLines(OnDisk(kitdata::ItemFilePath(paths, tab)));
        const auto kitList = platform::ReadTextLines(OnDisk(kitdata::KitListPath(paths, tab)));
        ASSERT_TRUE(itemFile.ok() && kitList.ok()) << "tab " << tab;
        std::vector<std::string> items;
        bool headerSeen = false;
        for (const std::string& line : *itemFile) {
            if (IsItemLine(line) && !std::exchange(headerSeen, true)) {
                continue;
            }
            if (headerSeen) {
                items.push_back(line);
            }
        }
        std::vector<std::string> kits;
        for (const std::string& line : *kitList) {
            if (IsItemLine(line) || !kits.empty()) {
                kits.push_back(line);
            }
        }
        ASSERT_EQ(items.size(), kits.size()) << "tab " << tab;
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_TRUE(IsItemLine(items[i]) && IsItemLine(kits[i])) << "tab " << tab << " " << i;
            EXPECT_EQ(items[i].starts_with("//"), kits[i].starts_with("//"))
                << "tab " << tab << " " << items[i];
        }
    }
}

// The marks of the sample agree with what the lists show, so Save without a
// change gives the game's files back byte for byte.
TEST_F(SampleInstallation, SaveWithoutChangesKeepsEveryFile) {
    const kitdata::GamePaths paths = kitdata::ReadGamePaths(prefix_);
    EXPECT_TRUE(kitdata::ClearKitFilesReadOnly(prefix_, paths).empty());
    const auto names = kitdata::LoadItemNames(prefix_, paths);
    ASSERT_TRUE(names.ok());
    kitdata::TabTicks ticks;
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        for (const kitdata::ItemRow& row :
             kitdata::FillItemList(prefix_, paths, *names, tab).rows) {
            ticks[tab].push_back({row.cells[kitdata::kTextColumn], row.checked});
        }
    }
    std::vector<std::pair<fs::path, std::string>> before;
    for (const std::string& file : kitdata::KitFilePaths(paths)) {
        before.emplace_back(OnDisk(file), ReadBytes(OnDisk(file)));
    }
    const platform::Status saved = kitdata::SaveKitLists(prefix_, paths, ticks);
    ASSERT_TRUE(saved.ok()) << saved.error().Describe();
    for (const auto& [file, content] : before) {
        EXPECT_EQ(ReadBytes(file), content) << file;
    }
}

TEST(MakeDemoPrefix, LeavesAnExistingFolderAlone) {
    testsupport::TemporaryFolder temporary;
    const fs::path keep = temporary.path() / "system.reg";
    std::ofstream(keep) << "mine";
    EXPECT_NE(RunMakeDemoPrefix(temporary.path()), 0);
    EXPECT_EQ(fs::file_size(keep), 4u);
    EXPECT_FALSE(fs::exists(temporary.path() / "drive_c"));
}

}  // namespace
