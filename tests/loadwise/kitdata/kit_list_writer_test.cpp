// Save: the "//" marks of item lines follow the ticks; every other byte of
// the six files survives, and the six are replaced all together or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/text_compare.h"
#include "platform/file_operations.h"
#include "sample_kit.h"

#include "support/folder_listing.h"

namespace kitdata {
namespace {

using kitdatatest::EquipmentFile;
using kitdatatest::EquipTextFile;
using kitdatatest::JoinLines;
using testsupport::FakeInstallation;

using Lines = std::vector<std::string>;

// The pairing step by step, which drops lines of files that are not
// parallel. For parallel files the writer must give the same.
KitFilePair PairwiseOnly(const KitFilePair& files, const std::vector<RowTick>& ticks) {
    KitFilePair out;
    std::size_t i = 0;
    std::size_t j = 0;
    const Lines& a = files.itemLines;
    const Lines& b = files.kitLines;
    bool headerSeen = false;
    for (; i < a.size(); ++i) {
        if (IsItemLine(a[i])) {
            if (headerSeen) {
                break;
            }
            headerSeen = true;
        }
        out.itemLines.push_back(a[i]);
    }
    for (; j < b.size() && !IsItemLine(b[j]); ++j) {
        out.kitLines.push_back(b[j]);
    }
    for (; i < a.size() && j < b.size(); ++i, ++j) {
        if (!IsItemLine(a[i])) {
            continue;
        }
        const std::string key = ItemKey(a[i]);
        for (const RowTick& tick : ticks) {
            if (EqualNoCase(tick.key, key)) {
                std::string itemLine = a[i];
                std::string kitLine = b[j];
                const bool aOff = ClassifyLine(itemLine) == LineKind::SwitchedOff;
                const bool bOff = ClassifyLine(kitLine) == LineKind::SwitchedOff;
                if (!tick.checked) {
                    itemLine = aOff ? itemLine : "//" + itemLine;
                    kitLine = bOff ? kitLine : "//" + kitLine;
                } else {
                    itemLine = aOff ? itemLine.substr(2) : itemLine;
                    kitLine = bOff ? kitLine.substr(2) : kitLine;
                }
                out.itemLines.push_back(itemLine);
                out.kitLines.push_back(kitLine);
                break;
            }
        }
    }
    return out;
}

TEST(SwitchItemMarksTest, EachLineFollowsTheTickByItsOwnMark) {
    struct Case {
        bool checked;
        std::string itemLine;
        std::string kitLine;
        std::string newItemLine;
        std::string newKitLine;
    };
    const Case cases[] = {
        {false, "\"a.txt\" \"x\"", "\"a.txt\"", "//\"a.txt\" \"x\"", "//\"a.txt\""},
        {false, "//\"a.txt\" \"x\"", "//\"a.txt\"", "//\"a.txt\" \"x\"", "//\"a.txt\""},
        {true, "//\"a.txt\" \"x\"", "//\"a.txt\"", "\"a.txt\" \"x\"", "\"a.txt\""},
        {true, "\"a.txt\" \"x\"", "\"a.txt\"", "\"a.txt\" \"x\"", "\"a.txt\""},
        // A pair that disagrees ends up agreeing.
        {true, "\"a.txt\"", "//\"a.txt\"", "\"a.txt\"", "\"a.txt\""},
        {false, "//\"a.txt\"", "\"a.txt\"", "//\"a.txt\"", "//\"a.txt\""},
        // A kit-list line that is no switched-off item line counts as active.
        {false, "\"a.txt\"", "a.txt", "//\"a.txt\"", "//a.txt"},
        {false, "\"a.txt\"", "// \"a.txt\"", "//\"a.txt\"", "//// \"a.txt\""},
        {true, "\"a.txt\"", "// \"a.txt\"", "\"a.txt\"", "// \"a.txt\""},
    };
    for (const Case& c : cases) {
        // A first pair ahead, so that the kit list's head ends before it
        // whatever the kind of the kit-list line under test.
        const KitFilePair files{{"\"header\"", "\"first.txt\"", c.itemLine},
                                {"\"first.txt\"", c.kitLine}};
        const KitFilePair result =
            SwitchItemMarks(files, {{"first.txt", true}, {"A.TXT", c.checked}});
        EXPECT_EQ(result.itemLines, (Lines{"\"header\"", "\"first.txt\"", c.newItemLine}))
            << c.itemLine << " / " << c.kitLine;
        EXPECT_EQ(result.kitLines, (Lines{"\"first.txt\"", c.newKitLine}))
            << c.itemLine << " / " << c.kitLine;
    }
}

TEST(SwitchItemMarksTest, ParallelFilesGiveExactlyThePairwiseResult) {
    const Lines items = {"\"a.txt\" \"A\" \"a.atr\"", "//\"b.txt\" \"B\" \"b.atr\"",
                         "\"c.txt\" \"C\" \"c.atr\"", "//\"d.txt\""};
    const Lines kit = {"\"a.txt\"", "//\"b.txt\"", "//\"c.txt\"", "\"d.txt\""};
    const std::pair<Lines, Lines> heads[] = {
        {{"// items", "", "//\"header\" \"H\""}, {"// kit", ""}},
        {{"\"header\"", ""}, {"// kit", "", "; note"}},
        {{"\"header\"", "// comment", "[Section]", "", "x"}, {}},
        {{"//\"header\"", "", "// comment"}, {"", "// comment", "[Section]"}},
    };
    const std::vector<std::vector<RowTick>> tickSets = {
        {{"a.txt", true}, {"b.txt", true}, {"c.txt", true}, {"d.txt", true}},
        {{"a.txt", false}, {"b.txt", false}, {"c.txt", false}, {"d.txt", false}},
        {{"d.txt", false}, {"C.TXT", true}, {"b.txt", true}, {"a.txt", false}},
        {{"a.txt", true}, {"a.txt", false}, {"b.txt", false}, {"c.txt", true}, {"d.txt", true}},
    };
    for (const auto& [itemHead, kitHead] : heads) {
        KitFilePair files{itemHead, kitHead};
        files.itemLines.insert(files.itemLines.end(), items.begin(), items.end());
        files.kitLines.insert(files.kitLines.end(), kit.begin(), kit.end());
        for (const auto& ticks : tickSets) {
            const KitFilePair result = SwitchItemMarks(files, ticks);
            const KitFilePair expected = PairwiseOnly(files, ticks);
            EXPECT_EQ(result.itemLines, expected.itemLines) << itemHead.size();
            EXPECT_EQ(result.kitLines, expected.kitLines) << itemHead.size();
        }
    }
}

TEST(SwitchItemMarksTest, RowOrderDoesNotMatterAndTheFirstRowOfAKeyDecides) {
    const KitFilePair files{{"\"header\"", "\"a.txt\"", "\"b.txt\"", "\"A.TXT\""},
                            {"\"a.txt\"", "\"b.txt\"", "\"a.txt\""}};
    const KitFilePair sorted = SwitchItemMarks(files, {{"b.txt", true}, {"a.txt", false}});
    const KitFilePair unsorted = SwitchItemMarks(files, {{"a.txt", false}, {"b.txt", true}});
    EXPECT_EQ(sorted.itemLines, unsorted.itemLines);
    EXPECT_EQ(sorted.kitLines, unsorted.kitLines);
    // Both lines with key a.txt follow the first row that has it.
    const KitFilePair duplicates =
        SwitchItemMarks(files, {{"a.txt", false}, {"b.txt", true}, {"a.txt", true}});
    EXPECT_EQ(duplicates.itemLines,
              (Lines{"\"header\"", "//\"a.txt\"", "\"b.txt\"", "//\"A.TXT\""}));
    EXPECT_EQ(duplicates.kitLines, (Lines{"//\"a.txt\"", "\"b.txt\"", "//\"a.txt\""}));
}

TEST(SwitchItemMarksTest, TheHeadsAreKeptWhateverTheTicks) {
    const KitFilePair files{{"// c", "\"header.txt\"", "\"a.txt\""}, {"// k", "", "\"a.txt\""}};
    const KitFilePair result = SwitchItemMarks(files, {{"header.txt", false}, {"a.txt", false}});
    EXPECT_EQ(result.itemLines, (Lines{"// c", "\"header.txt\"", "//\"a.txt\""}));
    EXPECT_EQ(result.kitLines, (Lines{"// k", "", "//\"a.txt\""}));
}

// Files that are not parallel: no line is dropped, lines that pair with no
// row's item line stay as they are.
TEST(SwitchItemMarksTest, NoLineIsEverDropped) {
    struct Case {
        const char* what;
        KitFilePair files;
        KitFilePair expected;
    };
    const std::vector<RowTick> ticks = {{"a.txt", false}, {"b.txt", false}};
    const Case cases[] = {
        {"other line inside the item section",
         {{"\"h\"", "\"a.txt\"", "// section", "\"b.txt\""}, {"\"a.txt\"", "x", "\"b.txt\""}},
         {{"\"h\"", "//\"a.txt\"", "// section", "//\"b.txt\""},
          {"//\"a.txt\"", "x", "//\"b.txt\""}}},
        {"key that names no row",
         {{"\"h\"", "\"a.txt\"", "\"zzz.txt\"", "\"b.txt\""},
          {"\"a.txt\"", "\"zzz.txt\"", "\"b.txt\""}},
         {{"\"h\"", "//\"a.txt\"", "\"zzz.txt\"", "//\"b.txt\""},
          {"//\"a.txt\"", "\"zzz.txt\"", "//\"b.txt\""}}},
        {"item file longer than the kit list",
         {{"\"h\"", "\"a.txt\"", "\"b.txt\"", "tail"}, {"\"a.txt\""}},
         {{"\"h\"", "//\"a.txt\"", "//\"b.txt\"", "tail"}, {"//\"a.txt\""}}},
        {"kit list longer than the item file",
         {{"\"h\"", "\"a.txt\""}, {"\"a.txt\"", "\"b.txt\"", "", "end"}},
         {{"\"h\"", "//\"a.txt\""}, {"//\"a.txt\"", "\"b.txt\"", "", "end"}}},
        {"trailing blank lines",
         {{"\"h\"", "\"a.txt\"", "", ""}, {"\"a.txt\"", "", "", ""}},
         {{"\"h\"", "//\"a.txt\"", "", ""}, {"//\"a.txt\"", "", "", ""}}},
        {"item file without a second item line",
         {{"// only", "\"h\""}, {"\"a.txt\""}},
         {{"// only", "\"h\""}, {"\"a.txt\""}}},
        {"kit list without an item line",
         {{"\"h\"", "\"a.txt\""}, {"// none", ""}},
         {{"\"h\"", "//\"a.txt\""}, {"// none", ""}}},
        {"both empty", {{}, {}}, {{}, {}}},
    };
    for (const Case& c : cases) {
        const KitFilePair result = SwitchItemMarks(c.files, ticks);
        EXPECT_EQ(result.itemLines, c.expected.itemLines) << c.what;
        EXPECT_EQ(result.kitLines, c.expected.kitLines) << c.what;
    }
}

// Ticks as the lists show them after start-up, so that saving them changes nothing.
TabTicks TicksAsRead(const FakeInstallation& installation, const GamePaths& paths) {
    TabTicks ticks;
    for (int tab = 0; tab < kTabCount; ++tab) {
        for (const ItemRow& row : FillItemList(installation.prefix(), paths, {}, tab).rows) {
            ticks[tab].push_back({row.cells[kTextColumn], row.checked});
        }
    }
    return ticks;
}

class SaveKitListsTest : public ::testing::Test {
  protected:
    std::vector<std::string> SixFiles() const {
        std::vector<std::string> files;
        for (int tab = 0; tab < kTabCount; ++tab) {
            files.push_back(EquipmentFile(installation_, ItemFileName(tab)));
            files.push_back(EquipTextFile(installation_, KitListFileName(tab)));
        }
        return files;
    }
    std::vector<std::string> Contents() const {
        std::vector<std::string> contents;
        for (const std::string& file : SixFiles()) {
            contents.push_back(installation_.ReadFile(file));
        }
        return contents;
    }
    // Every file of the installation, to see that no temporary is left.
    std::set<std::filesystem::path> AllFiles() const {
        return testsupport::PathsUnder(installation_.prefix().folder);
    }

    FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
};

TEST_F(SaveKitListsTest, SavingTheTicksAsReadKeepsEveryByte) {
    kitdatatest::WriteSampleKit(installation_);
    const std::vector<std::string> before = Contents();
    const platform::Status saved =
        SaveKitLists(installation_.prefix(), paths_, TicksAsRead(installation_, paths_));
    ASSERT_TRUE(saved.ok()) << saved.error().Describe();
    EXPECT_EQ(Contents(), before);
}

TEST_F(SaveKitListsTest, LineEndsBecomeCrLfAndNothingElseChanges) {
    kitdatatest::WriteSampleKit(installation_);
    struct Case {
        const char* what;
        std::string itemText;
        std::string kitText;
        std::string itemSaved;
        std::string kitSaved;
    };
    const Case cases[] = {
        {"LF only", "// x\n\"h\"\n\"a.txt\"\n//\"b.txt\"\n\n", "\"a.txt\"\n//\"b.txt\"\n",
         "// x\r\n\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n\r\n", "\"a.txt\"\r\n//\"b.txt\"\r\n"},
        {"a blank line after the header", "\"h\"\n\n\"a.txt\"\n//\"b.txt\"\n\"sniper.txt\"\n",
         "// k\n\"a.txt\"\n//\"b.txt\"\n\"sniper.txt\"\n",
         "\"h\"\r\n\r\n\"a.txt\"\r\n//\"b.txt\"\r\n\"sniper.txt\"\r\n",
         "// k\r\n\"a.txt\"\r\n//\"b.txt\"\r\n\"sniper.txt\"\r\n"},
        {"mixed", "\"h\"\r\n\"a.txt\"\n//\"b.txt\"\r\n", "\"a.txt\"\r\n//\"b.txt\"\n",
         "\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n", "\"a.txt\"\r\n//\"b.txt\"\r\n"},
        {"no last line end", "\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"", "\"a.txt\"\r\n//\"b.txt\"",
         "\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n", "\"a.txt\"\r\n//\"b.txt\"\r\n"},
        {"Windows-1252 bytes", "\"h\xE9\"\r\n\"a.txt\" \"Caf\xE9 \x93x\x94\"\r\n//\"b.txt\"\r\n",
         "\xA7 kit \x80\r\n\"a.txt\"\r\n//\"b.txt\"\r\n",
         "\"h\xE9\"\r\n\"a.txt\" \"Caf\xE9 \x93x\x94\"\r\n//\"b.txt\"\r\n",
         "\xA7 kit \x80\r\n\"a.txt\"\r\n//\"b.txt\"\r\n"},
    };
    for (const Case& c : cases) {
        installation_.WriteFile(EquipmentFile(installation_, "primarymp.itm"), c.itemText);
        installation_.WriteFile(EquipTextFile(installation_, "primarymp.txt"), c.kitText);
        const platform::Status saved =
            SaveKitLists(installation_.prefix(), paths_, TicksAsRead(installation_, paths_));
        ASSERT_TRUE(saved.ok()) << c.what << ": " << saved.error().Describe();
        EXPECT_EQ(installation_.ReadFile(EquipmentFile(installation_, "primarymp.itm")),
                  c.itemSaved)
            << c.what;
        EXPECT_EQ(installation_.ReadFile(EquipTextFile(installation_, "primarymp.txt")), c.kitSaved)
            << c.what;
    }
}

TEST_F(SaveKitListsTest, TicksSwitchTheMarksInBothFilesOfEachTab) {
    kitdatatest::WriteSampleKit(installation_);
    TabTicks ticks = TicksAsRead(installation_, paths_);
    ticks[kPrimaryTab][0].checked = false;                    // mp5 was active
    ticks[kPrimaryTab][1].checked = true;                     // m16 was switched off
    ticks[kSpecialTab][2].checked = true;                     // heartbeat was switched off
    std::swap(ticks[kPrimaryTab][0], ticks[kPrimaryTab][3]);  // a sorted list
    const platform::Status saved = SaveKitLists(installation_.prefix(), paths_, ticks);
    ASSERT_TRUE(saved.ok()) << saved.error().Describe();

    const std::string primaryItems =
        installation_.ReadFile(EquipmentFile(installation_, "primarymp.itm"));
    const std::string primaryKit =
        installation_.ReadFile(EquipTextFile(installation_, "primarymp.txt"));
    EXPECT_NE(primaryItems.find("\r\n//\"mp5.txt\"\t"), std::string::npos);
    EXPECT_NE(primaryItems.find("\r\n\"m16.txt\"\t"), std::string::npos);
    EXPECT_EQ(primaryKit, JoinLines({"// Kit list", "", "//\"mp5.txt\"", "\"m16.txt\"",
                                     "\"ex_primmags.txt\"", "\"sniper.txt\""}));
    EXPECT_EQ(installation_.ReadFile(EquipTextFile(installation_, "special.txt")),
              JoinLines({"// Kit list", "", "\"flash.txt\"", "\"ex_emptykit.txt\"",
                         "\"heartbeat.txt\""}));
}

TEST_F(SaveKitListsTest, UpperCaseFileNamesOnDiskAreReplacedInPlace) {
    kitdatatest::WriteSampleKit(installation_);
    const auto lower = installation_.UnixPath(EquipTextFile(installation_, "special.txt"));
    const auto upper = lower.parent_path() / "SPECIAL.TXT";
    std::filesystem::rename(lower, upper);
    TabTicks ticks = TicksAsRead(installation_, paths_);
    ticks[kSpecialTab][0].checked = false;
    ASSERT_TRUE(SaveKitLists(installation_.prefix(), paths_, ticks).ok());
    EXPECT_FALSE(std::filesystem::exists(lower));
    EXPECT_EQ(installation_.ReadFile(EquipTextFile(installation_, "SPECIAL.TXT")),
              JoinLines({"// Kit list", "", "//\"flash.txt\"", "\"ex_emptykit.txt\"",
                         "//\"heartbeat.txt\""}));
}

TEST_F(SaveKitListsTest, MissingFileChangesNothingAndIsNamed) {
    kitdatatest::WriteSampleKit(installation_);
    std::filesystem::remove(installation_.UnixPath(EquipTextFile(installation_, "special.txt")));
    const std::vector<std::string> before = {
        installation_.ReadFile(EquipmentFile(installation_, "primarymp.itm")),
        installation_.ReadFile(EquipTextFile(installation_, "primarymp.txt"))};
    TabTicks ticks = TicksAsRead(installation_, paths_);
    for (auto& tab : ticks) {
        for (RowTick& tick : tab) {
            tick.checked = !tick.checked;
        }
    }
    const platform::Status saved = SaveKitLists(installation_.prefix(), paths_, ticks);
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().what.find("special.txt"), std::string::npos);
    EXPECT_FALSE(saved.error().why.empty());
    EXPECT_EQ(installation_.ReadFile(EquipmentFile(installation_, "primarymp.itm")), before[0]);
    EXPECT_EQ(installation_.ReadFile(EquipTextFile(installation_, "primarymp.txt")), before[1]);
    EXPECT_FALSE(std::filesystem::exists(
        installation_.UnixPath(EquipTextFile(installation_, "special.txt"))));
}

// Real file operations, with one step made to fail.
class FailingOperations : public platform::FileOperations {
  public:
    enum class Step { Write, Flush, Rename };
    FailingOperations(Step step, int failAt) : step_(step), failAt_(failAt) {}

    platform::Result<Handle> CreateTemporary(const std::filesystem::path& target,
                                             std::filesystem::path& temporary) override {
        return real_.CreateTemporary(target, temporary);
    }
    platform::Status Write(Handle handle, std::string_view bytes) override {
        return Fails(Step::Write) ? Failure() : real_.Write(handle, bytes);
    }
    platform::Status Flush(Handle handle) override {
        return Fails(Step::Flush) ? Failure() : real_.Flush(handle);
    }
    platform::Status Close(Handle handle) override { return real_.Close(handle); }
    platform::Status Rename(const std::filesystem::path& from,
                            const std::filesystem::path& to) override {
        return Fails(Step::Rename) ? Failure() : real_.Rename(from, to);
    }
    void Remove(const std::filesystem::path& file) override { real_.Remove(file); }

  private:
    bool Fails(Step step) { return step == step_ && ++calls_ == failAt_; }
    static platform::Status Failure() {
        return platform::Error{"test file", "No space left on device"};
    }

    platform::FileOperations& real_ = platform::RealFileOperations();
    Step step_;
    int failAt_;
    int calls_ = 0;
};

TEST_F(SaveKitListsTest, FailureWhileWritingReplacesNothingAndLeavesNoTemporaries) {
    kitdatatest::WriteSampleKit(installation_);
    const std::vector<std::string> before = Contents();
    const std::set<std::filesystem::path> filesBefore = AllFiles();
    TabTicks ticks = TicksAsRead(installation_, paths_);
    for (auto& tab : ticks) {
        for (RowTick& tick : tab) {
            tick.checked = !tick.checked;
        }
    }
    struct Case {
        FailingOperations::Step step;
        int failAt;
    };
    const Case cases[] = {{FailingOperations::Step::Write, 1},
                          {FailingOperations::Step::Write, 6},
                          {FailingOperations::Step::Flush, 4},
                          {FailingOperations::Step::Rename, 1}};
    for (const Case& c : cases) {
        FailingOperations operations(c.step, c.failAt);
        const platform::Status saved =
            SaveKitLists(installation_.prefix(), paths_, ticks, operations);
        ASSERT_FALSE(saved.ok()) << static_cast<int>(c.step) << " " << c.failAt;
        EXPECT_EQ(Contents(), before);
        EXPECT_EQ(AllFiles(), filesBefore);
    }
}

}  // namespace
}  // namespace kitdata
