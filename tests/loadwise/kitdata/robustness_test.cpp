// Hostile or broken game files: no crash, no read out of bounds, nothing lost.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "sample_kit.h"

namespace kitdata {
namespace {

using kitdatatest::EquipmentFile;
using kitdatatest::EquipTextFile;
using testsupport::FakeInstallation;

std::string Garbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text(size, '\0');
    for (char& c : text) {
        c = static_cast<char>(byte(random));
    }
    return text;
}

class RobustnessTest : public ::testing::Test {
  protected:
    // Reads everything the window reads at start-up and saves the ticks back.
    void ReadAndSave() {
        const auto names = LoadItemNames(installation_.prefix(), paths_);
        TabTicks ticks;
        for (int tab = 0; tab < kTabCount; ++tab) {
            const ItemList list =
                FillItemList(installation_.prefix(), paths_,
                             names ? names.value() : std::vector<std::string>{}, tab);
            for (const ItemRow& row : list.rows) {
                ASSERT_EQ(row.cells.size(), list.columns.size());
                ticks[tab].push_back({row.cells[kTextColumn], !row.checked});
                (void)ReadDescription(installation_.prefix(), paths_, row.cells[kTextColumn]);
            }
        }
        (void)SaveKitLists(installation_.prefix(), paths_, ticks);
    }
    void Write(const std::string& windowsPath, const std::string& content) {
        installation_.WriteFile(windowsPath, content);
    }

    FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
};

TEST_F(RobustnessTest, BinaryGarbageInEveryFile) {
    kitdatatest::WriteSampleKit(installation_);
    for (unsigned seed = 1; seed <= 5; ++seed) {
        Write(EquipmentFile(installation_, "primarymp.itm"),
              "\"h\"\n\"mp5.txt\" \"\" \"mp5.atr\"\n" + Garbage(4096, seed));
        Write(EquipmentFile(installation_, "mp5.atr"), Garbage(2048, seed + 10));
        Write(EquipTextFile(installation_, "equipment.txt"), Garbage(2048, seed + 20));
        Write(EquipTextFile(installation_, "primarymp.txt"), Garbage(4096, seed + 30));
        Write(EquipTextFile(installation_, "mp5.txt"), Garbage(4096, seed + 40));
        ReadAndSave();
    }
}

TEST_F(RobustnessTest, OneMegabyteLines) {
    kitdatatest::WriteSampleKit(installation_);
    const std::string huge(1 << 20, 'x');
    Write(EquipmentFile(installation_, "primarymp.itm"),
          "\"h\"\r\n\"" + huge + "\" \"\" \"mp5.atr\"\r\n" + huge + "\r\n");
    Write(EquipmentFile(installation_, "mp5.atr"), huge + " " + huge + "\r\n" + huge);
    Write(EquipTextFile(installation_, "equipment.txt"), "\"" + huge);
    const auto names = LoadItemNames(installation_.prefix(), paths_);
    ASSERT_TRUE(names.ok());
    ASSERT_EQ(names.value().size(), 1u);
    const ItemList list = FillItemList(installation_.prefix(), paths_, names.value(), 0);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].cells[kTextColumn], huge);
    EXPECT_EQ(list.rows[0].cells[kNameColumn], huge);  // index 0 of the table
    EXPECT_EQ(list.rows[0].cells[kRofColumn], "");
    ReadAndSave();
}

TEST_F(RobustnessTest, FilesWithoutLineEndsAndEmptyFiles) {
    kitdatatest::WriteSampleKit(installation_);
    Write(EquipmentFile(installation_, "primarymp.itm"), "\"h\" \"mp5.txt\" \"\" \"mp5.atr\"");
    Write(EquipmentFile(installation_, "secondarymp.itm"), "");
    Write(EquipTextFile(installation_, "secondarymp.txt"), "");
    Write(EquipmentFile(installation_, "mp5.atr"), "1");
    Write(EquipTextFile(installation_, "equipment.txt"), "");
    ReadAndSave();
    EXPECT_EQ(installation_.ReadFile(EquipmentFile(installation_, "primarymp.itm")),
              "\"h\" \"mp5.txt\" \"\" \"mp5.atr\"\r\n");
    EXPECT_EQ(installation_.ReadFile(EquipmentFile(installation_, "secondarymp.itm")), "");
    EXPECT_EQ(installation_.ReadFile(EquipTextFile(installation_, "secondarymp.txt")), "");
}

TEST_F(RobustnessTest, FoldersInPlaceOfFiles) {
    kitdatatest::WriteSampleKit(installation_);
    for (const std::string& file :
         {EquipmentFile(installation_, "mp5.atr"), EquipTextFile(installation_, "equipment.txt"),
          EquipTextFile(installation_, "mp5.txt")}) {
        const auto path = installation_.UnixPath(file);
        std::filesystem::remove(path);
        std::filesystem::create_directory(path);
    }
    const auto names = LoadItemNames(installation_.prefix(), paths_);
    EXPECT_FALSE(names.ok());
    const ItemList list = FillItemList(installation_.prefix(), paths_, {}, 0);
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_EQ(list.rows[0].cells[kNameColumn], "mp5.txt");
    EXPECT_EQ(list.rows[0].cells[kMagColumn], "");
    EXPECT_EQ(ReadDescription(installation_.prefix(), paths_, "mp5.txt"),
              "No description available.");
    ReadAndSave();
}

TEST_F(RobustnessTest, EmptyFoldersMakeFileNamesRelative) {
    // With no game key, every name is relative to the current directory,
    // which holds none of these files.
    const GamePaths empty;
    const ItemList list = FillItemList(installation_.prefix(), empty, {}, 0);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_TRUE(list.readError);
    EXPECT_EQ(ReadDescription(installation_.prefix(), empty, ""), "No description available.");
    EXPECT_FALSE(SaveKitLists(installation_.prefix(), empty, {}).ok());
}

}  // namespace
}  // namespace kitdata
