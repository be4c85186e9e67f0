// Save: the "//" marks of item lines follow the ticks; every other byte of
// the six files survives, and no failure leaves a file half written.

#include "loadwise/kitdata/kit_list_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/read_only_files.h"
#include "support/failing_file_operations.h"
#include "support/kit_fixture.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Lines from "a|b|c", with ' standing for a double quote.
Lines L(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    Lines lines;
    for (std::size_t start = 0, end = 0; !text.empty() && end != std::string::npos;
         start = end + 1) {
        end = text.find('|', start);
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(SwitchItemMarksTest, MarksFollowTheTicksAndNoLineIsEverDropped) {
    struct Case {
        const char* what;
        std::vector<RowTick> ticks;
        const char *items, *kit, *newItems, *newKit;
    };
    const std::vector<RowTick> off = {{"a.txt", false}, {"b.txt", false}};
    const Case cases[] = {
        {"each pair follows its tick, disagreeing pairs end up agreeing",
         {{"a.txt", false}, {"B.TXT", true}, {"c.txt", true}, {"d.txt", false}},
         "'h'|'a.txt' 'x'|//'b.txt'|'c.txt'|//'d.txt'",
         "'a.txt'|//'b.txt'|//'c.txt'|'d.txt'",
         "'h'|//'a.txt' 'x'|'b.txt'|'c.txt'|//'d.txt'",
         "//'a.txt'|'b.txt'|'c.txt'|//'d.txt'"},
        {"a kit-list line that is no switched-off item line counts as active",
         {{"f.txt", true}, {"a.txt", false}, {"b.txt", false}, {"c.txt", true}},
         "'h'|'f.txt'|'a.txt'|'b.txt'|'c.txt'",
         "'f.txt'|a.txt|// 'b.txt'|// 'c.txt'",
         "'h'|'f.txt'|//'a.txt'|//'b.txt'|'c.txt'",
         "'f.txt'|//a.txt|//// 'b.txt'|// 'c.txt'"},
        {"the first row of a key decides",
         {{"a.txt", false}, {"b.txt", true}, {"a.txt", true}},
         "'h'|'a.txt'|'b.txt'|'A.TXT'",
         "'a.txt'|'b.txt'|'a.txt'",
         "'h'|//'a.txt'|'b.txt'|//'A.TXT'",
         "//'a.txt'|'b.txt'|//'a.txt'"},
        {"heads are kept",
         {{"header.txt", false}, {"a.txt", false}},
         "// c|'header.txt'|'a.txt'",
         "// k||'a.txt'",
         "// c|'header.txt'|//'a.txt'",
         "// k||//'a.txt'"},
        {"a lone quote", {{"", false}}, "'header.txt'|'", "'", "'header.txt'|//'", "//'"},
        {"other line inside the item section", off, "'h'|'a.txt'|// section|'b.txt'",
         "'a.txt'|x|'b.txt'", "'h'|//'a.txt'|// section|//'b.txt'", "//'a.txt'|x|//'b.txt'"},
        {"key that names no row", off, "'h'|'a.txt'|'zzz.txt'|'b.txt'", "'a.txt'|'zzz.txt'|'b.txt'",
         "'h'|//'a.txt'|'zzz.txt'|//'b.txt'", "//'a.txt'|'zzz.txt'|//'b.txt'"},
        {"item file longer", off, "'h'|'a.txt'|'b.txt'|tail", "'a.txt'",
         "'h'|//'a.txt'|//'b.txt'|tail", "//'a.txt'"},
        {"kit list longer", off, "'h'|'a.txt'", "'a.txt'|'b.txt'||end", "'h'|//'a.txt'",
         "//'a.txt'|'b.txt'||end"},
        {"trailing blank lines", off, "'h'|'a.txt'||", "'a.txt'|||", "'h'|//'a.txt'||",
         "//'a.txt'|||"},
        {"no second item line", off, "// only|'h'", "'a.txt'", "// only|'h'", "'a.txt'"},
        {"kit list without an item line", off, "'h'|'a.txt'", "// none|", "'h'|//'a.txt'",
         "// none|"},
        {"both empty", off, "", "", "", ""},
    };
    for (const Case& c : cases) {
        const KitFilePair result = SwitchItemMarks({L(c.items), L(c.kit)}, c.ticks);
        EXPECT_EQ(result.itemLines, L(c.newItems)) << c.what;
        EXPECT_EQ(result.kitLines, L(c.newKit)) << c.what;
        const KitFilePair back = SwitchItemMarks(result, c.ticks);  // a second Save changes nothing
        EXPECT_EQ(back.itemLines, result.itemLines) << c.what;
    }
}

class SaveKitListsTest : public ::testing::Test {
  protected:
    // The ticks as the lists show them after start-up, each flipped when asked.
    TabTicks Ticks(bool flipped) {
        TabTicks ticks;
        for (int tab = 0; tab < kTabCount; ++tab) {
            for (const ItemRow& row : FillItemList(kit_.prefix(), paths_, {}, tab).rows) {
                ticks[tab].push_back({row.cells[kTextColumn], row.checked != flipped});
            }
        }
        return ticks;
    }
    std::set<fs::path> AllFiles() const {
        std::set<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(kit_.prefix().folder)) {
            files.insert(entry.path());
        }
        return files;
    }

    testsupport::KitInstallation kit_;
    GamePaths paths_ = kit_.Paths();
};

TEST_F(SaveKitListsTest, OnlyTheLineEndsBecomeCrLfAndTheNameOnDiskIsKept) {
    const std::string special = kit_.ReadFile(kit_.KitList(kSpecialTab));
    const fs::path lower = kit_.UnixPath(kit_.KitList(kSpecialTab));
    fs::rename(lower, lower.parent_path() / "SPECIAL.TXT");
    const std::pair<std::string, std::string> cases[] = {
        {"// x\n\"h\"\n\"a.txt\"\n//\"b.txt\"\n\n",
         "// x\r\n\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n\r\n"},
        {"\"h\"\r\n\"a.txt\"\n//\"b.txt\"\r\n", "\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n"},
        {"\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"", "\"h\"\r\n\"a.txt\"\r\n//\"b.txt\"\r\n"},
        {"\"h\xE9\"\r\n\"a.txt\" \"Caf\xE9 \x93x\x94\"\r\n//\"b.txt\"\r\n",
         "\"h\xE9\"\r\n\"a.txt\" \"Caf\xE9 \x93x\x94\"\r\n//\"b.txt\"\r\n"},
    };
    for (const auto& [text, saved] : cases) {
        kit_.WriteFile(kit_.ItemFile(kPrimaryTab), text);
        const platform::Status status = SaveKitLists(kit_.prefix(), paths_, Ticks(false));
        ASSERT_TRUE(status.ok()) << status.error().Describe();
        EXPECT_EQ(kit_.ReadFile(kit_.ItemFile(kPrimaryTab)), saved) << text;
    }
    EXPECT_FALSE(fs::exists(lower));
    EXPECT_EQ(kit_.ReadFile(kit_.TextFile("SPECIAL.TXT")), special);
}

TEST_F(SaveKitListsTest, FailingAtAnyStepLeavesEachFileWholeAndNoTemporary) {
    const std::vector<std::string> oldFiles = kit_.KitFiles();
    const std::set<fs::path> filesBefore = AllFiles();
    const TabTicks ticks = Ticks(true);
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, ticks).ok());
    const std::vector<std::string> newFiles = kit_.KitFiles();
    for (int failAt = 0;; ++failAt) {
        for (int i = 0; i < 6; ++i) {
            kit_.WriteFile(i < 3 ? kit_.ItemFile(i) : kit_.KitList(i - 3), oldFiles[i]);
        }
        testsupport::FaultInjectingOperations operations(failAt);
        const platform::Status saved = SaveKitLists(kit_.prefix(), paths_, ticks, operations);
        const std::string step = std::to_string(failAt) + " " + operations.failedStep();
        EXPECT_EQ(AllFiles(), filesBefore) << step;
        const std::vector<std::string> now = kit_.KitFiles();
        int replaced = 0;
        for (int i = 0; i < 6; ++i) {
            ASSERT_TRUE(now[i] == oldFiles[i] || now[i] == newFiles[i]) << step << ": file " << i;
            replaced += now[i] == newFiles[i] ? 1 : 0;
        }
        if (!operations.failed()) {
            ASSERT_TRUE(saved.ok()) << saved.error().Describe();
            EXPECT_EQ(replaced, 6);
            break;
        }
        ASSERT_FALSE(saved.ok()) << step << " failed, yet Save reported success";
        EXPECT_TRUE(saved.error().what.ends_with(".itm") || saved.error().what.ends_with(".txt"))
            << saved.error().what;
        // All six are written before the first is renamed into place.
        EXPECT_EQ(replaced, std::max(0, failAt - 24)) << step;
    }
}

TEST_F(SaveKitListsTest, ReadOnlyKitFilesBecomeWritableWithTheirTimesKept) {
    const fs::path folder = kit_.UnixPath(kit_.KitList(kSpecialTab));
    fs::remove(folder);
    fs::create_directory(folder);  // a folder is never touched
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (int i = 0; i < 5; ++i) {
        const fs::path file = kit_.UnixPath(i < 3 ? kit_.ItemFile(i) : kit_.KitList(i - 3));
        fs::last_write_time(file, stamp);
        fs::permissions(file, i == 4 ? fs::perms::owner_read | fs::perms::owner_write
                                     : fs::perms::owner_read | fs::perms::group_read);
    }
    struct stat writable {};
    ASSERT_EQ(::stat(kit_.UnixPath(kit_.KitList(1)).c_str(), &writable), 0);
    EXPECT_TRUE(ClearKitFilesReadOnly(kit_.prefix(), paths_).empty());
    for (int i = 0; i < 5; ++i) {
        const fs::path file = kit_.UnixPath(i < 3 ? kit_.ItemFile(i) : kit_.KitList(i - 3));
        EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
        EXPECT_EQ(fs::last_write_time(file), stamp) << file;
    }
    struct stat after {};
    ASSERT_EQ(::stat(kit_.UnixPath(kit_.KitList(1)).c_str(), &after), 0);
    EXPECT_TRUE(after.st_ctim.tv_sec == writable.st_ctim.tv_sec &&
                after.st_ctim.tv_nsec == writable.st_ctim.tv_nsec);  // not even touched
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace
}  // namespace kitdata
