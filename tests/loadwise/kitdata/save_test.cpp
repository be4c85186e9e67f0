// Save: the "//" marks follow the ticks, every other byte of the six files
// survives, the files are backed up first, and no failure leaves one half written.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/kit_backup.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/read_only_files.h"
#include "platform/file_read.h"
#include "support/failing_file_operations.h"
#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// Text with ' standing for a double quote.
std::string Q(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    return text;
}

// Lines from "a|b|c".
Lines L(const std::string& text) {
    Lines lines;
    for (std::size_t start = 0, end = 0; !text.empty() && end != std::string::npos;
         start = end + 1) {
        end = text.find('|', start);
        lines.push_back(Q(text.substr(start, end - start)));
    }
    return lines;
}

// Every file and folder below folder, hidden ones included.
std::set<fs::path> Entries(const fs::path& folder) {
    return {fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator()};
}

TEST(SwitchItemMarksTest, MarksFollowTheTicksAndNoLineIsEverDropped) {
    // Ticks ("key+" ticked, "key-" not), item file, kit list, and both after the switch.
    const std::array<const char*, 5> cases[] = {
        // Each pair follows its tick by its own mark; disagreeing pairs end up agreeing.
        {"a- B+ c+ d-", "'h'|'a' 'x'|//'b'|'c'|//'d'", "'a'|//'b'|//'c'|'d'",
         "'h'|//'a' 'x'|'b'|'c'|//'d'", "//'a'|'b'|'c'|//'d'"},
        // A kit-list line that is no switched-off item line counts as active.
        {"f+ a- b- c+", "'h'|'f'|'a'|'b'|'c'", "'f'|a|// 'b'|// 'c'", "'h'|'f'|//'a'|//'b'|'c'",
         "'f'|//a|//// 'b'|// 'c'"},
        // The first row of a key decides.
        {"a- b+ a+", "'h'|'a'|'b'|'A'", "'a'|'b'|'a'", "'h'|//'a'|'b'|//'A'", "//'a'|'b'|//'a'"},
        // The header is no row, whatever its key; a lone quote has the key "".
        {"hd- a- +", "// c|'hd'|'a'|//'", "// k||'a'|//'", "// c|'hd'|//'a'|'", "// k||//'a'|'"},
        // Other lines and unknown keys keep their marks, yet count for the pairing.
        {"a- b-", "'h'|'a'|// s|'z'|'b'", "'a'|x|'z'|'b'", "'h'|//'a'|// s|'z'|//'b'",
         "//'a'|x|'z'|//'b'"},
        // Files of unequal length, a kit list without items, empty files.
        {"a- b-", "'h'|'a'|'b'|tail", "'a'", "'h'|//'a'|//'b'|tail", "//'a'"},
        {"a-", "'h'|'a'", "'a'|'b'||end", "'h'|//'a'", "//'a'|'b'||end"},
        {"a-", "'h'|'a'", "// none|", "'h'|//'a'", "// none|"},
        {"a-", "", "", "", ""},
        // Lines between the header and the first item belong to the head, in either file.
        {"a- b+", "//'h'|// c|[S]|'a'|//'b'", "// k||[S]|'a'|//'b'", "//'h'|// c|[S]|//'a'|'b'",
         "// k||[S]|//'a'|'b'"}};
    for (const auto& [tickText, items, kit, newItems, newKit] : cases) {
        std::vector<RowTick> ticks;
        std::istringstream in(tickText);
        for (std::string tick; in >> tick;) {
            ticks.push_back({tick.substr(0, tick.size() - 1), tick.back() == '+'});
        }
        const KitFilePair result = SwitchItemMarks({L(items), L(kit)}, ticks);
        EXPECT_EQ(result.itemLines, L(newItems)) << items << " / " << kit;
        EXPECT_EQ(result.kitLines, L(newKit)) << items << " / " << kit;
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

    testsupport::KitInstallation kit_;
    GamePaths paths_ = ReadGamePaths(kit_.prefix());
    fs::path backups_ = kit_.root() / "data" / "loadwise" / "backups";
    testsupport::ScopedEnvironment dataHome_{"XDG_DATA_HOME", (kit_.root() / "data").string()};
};

// Save with no tick changed: only the line ends become CR LF, under the name on disk.
TEST_F(SaveKitListsTest, OnlyTheLineEndsBecomeCrLfAndTheNameOnDiskIsKept) {
    const std::string special = kit_.ReadFile(kit_.KitList(kSpecialTab));
    const fs::path lower = kit_.UnixPath(kit_.KitList(kSpecialTab));
    fs::rename(lower, lower.parent_path() / "SPECIAL.TXT");
    kit_.WriteFile(kit_.ItemFile(kPrimaryTab),
                   Q("// x\n'h\xE9'\r\n'a.txt' 'Caf\xE9 \x93x\x94'\n//'b.txt'\n\n"));
    const platform::Status status = SaveKitLists(kit_.prefix(), paths_, Ticks(false));
    ASSERT_TRUE(status.ok()) << status.error().Describe();
    EXPECT_EQ(kit_.ReadFile(kit_.ItemFile(kPrimaryTab)),
              Q("// x\r\n'h\xE9'\r\n'a.txt' 'Caf\xE9 \x93x\x94'\r\n//'b.txt'\r\n\r\n"));
    EXPECT_FALSE(fs::exists(lower));
    EXPECT_EQ(kit_.ReadFile(kit_.TextFile("SPECIAL.TXT")), special);
}

TEST_F(SaveKitListsTest, FailingAtAnyStepLeavesEachFileWholeAndNoTemporary) {
    const Lines oldFiles = kit_.KitFiles();
    const std::set<fs::path> filesBefore = Entries(kit_.prefix().folder);
    const TabTicks ticks = Ticks(true);
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, ticks).ok());
    const Lines newFiles = kit_.KitFiles();
    for (int failAt = 0;; ++failAt) {
        for (int i = 0; i < 6; ++i) {
            kit_.WriteFile(kit_.KitFile(i), oldFiles[i]);
        }
        testsupport::FaultInjectingOperations operations(failAt);
        const platform::Status saved = SaveKitLists(kit_.prefix(), paths_, ticks, operations);
        const std::string step = std::to_string(failAt) + " " + operations.failedStep();
        EXPECT_EQ(Entries(kit_.prefix().folder), filesBefore) << step;
        const Lines now = kit_.KitFiles();
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
        EXPECT_TRUE(saved.error().what.ends_with(".itm") || saved.error().what.ends_with(".txt"));
        // All six are written before the first is renamed into place.
        EXPECT_EQ(replaced, std::max(0, failAt - 24)) << step;
    }
}

// Only a save that goes through leaves a backup, and only when the files
// differ from the newest backup's; a failed backup is a failed save.
TEST_F(SaveKitListsTest, EachSaveBacksUpTheFilesAsTheyWereAndAFailedBackupIsAFailedSave) {
    const Lines before = kit_.KitFiles();
    const auto stamp = fs::last_write_time(kit_.UnixPath(kit_.KitFile(0)));
    for (int i = 0; i < 6; ++i) {  // read-only files refuse the save before writing
        fs::permissions(kit_.UnixPath(kit_.KitFile(i)), fs::perms::owner_read);
    }
    EXPECT_FALSE(SaveKitLists(kit_.prefix(), paths_, Ticks(true)).ok());
    EXPECT_TRUE(ClearKitFilesReadOnly(kit_.prefix(), paths_).empty());  // as start-up does
    EXPECT_EQ(fs::last_write_time(kit_.UnixPath(kit_.KitFile(0))), stamp);
    testsupport::FaultInjectingOperations failing(0);  // the replacement fails
    EXPECT_FALSE(SaveKitLists(kit_.prefix(), paths_, Ticks(true), failing).ok());
    EXPECT_TRUE(ListBackups(backups_).empty());
    ASSERT_EQ(kit_.KitFiles(), before);
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, Ticks(true)).ok());
    const Lines afterFirst = kit_.KitFiles();
    ASSERT_NE(afterFirst, before);
    for (int i = 0; i < 2; ++i) {  // the second finds its files in the newest backup
        ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, Ticks(false)).ok());
    }
    const std::vector<fs::path> made = ListBackups(backups_);
    ASSERT_EQ(made.size(), 2u);
    for (int i = 0; i < 6; ++i) {
        const fs::path name = kit_.UnixPath(kit_.KitFile(i)).filename();
        EXPECT_EQ(*platform::ReadWholeFile(made[0] / name), before[i]) << name;
        EXPECT_EQ(*platform::ReadWholeFile(made[1] / name), afterFirst[i]) << name;
    }
    fs::remove_all(kit_.root() / "data");
    std::ofstream(kit_.root() / "data") << "a file where the data folder should be";
    const platform::Status saved = SaveKitLists(kit_.prefix(), paths_, Ticks(true));
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().what.find("loadwise/backups"), std::string::npos);
    EXPECT_EQ(kit_.KitFiles(), afterFirst);
}

// A backup failing at any step leaves no folder. Then three backups in one
// second, one an hour for eleven hours, and one with a clock older than the
// newest ten: the removal keeps those ten, the one just made and the first
// backup of each installation, and touches nothing else.
TEST_F(SaveKitListsTest, BackupsAreWholeNeverCollideAndTheNewestTenAndTheFirstAreKept) {
    const std::vector<fs::path> files = {kit_.UnixPath(kit_.KitFile(0))};
    fs::create_directories(backups_ / ".2026-01-01_00-00-00Z.incomplete");  // a killed backup
    fs::create_directories(backups_ / "notes");
    const auto now = std::chrono::system_clock::now();
    const std::set<fs::path> before = Entries(backups_);
    std::set<fs::path> made, kept = {backups_ / "notes"};
    const auto keep = [&](const fs::path& backup, const char* file) {
        kept.insert({backup, backup / file, backup / kBackupOriginsFile});
    };
    for (int failAt = 0;; ++failAt) {
        testsupport::FaultInjectingOperations operations(failAt);
        const auto backup = BackUpFiles(files, backups_, now - 2h, operations);
        if (!operations.failed()) {
            keep(*backup, "primarymp.itm");  // this installation's first backup
            break;
        }
        ASSERT_FALSE(backup.ok()) << "step " << failAt << " failed, yet the backup succeeded";
        EXPECT_EQ(backup.error().why, "No space left on device");
        EXPECT_EQ(Entries(backups_), before) << "step " << failAt;
    }
    // Another installation's first backup: other files.
    keep(*BackUpFiles({kit_.UnixPath(kit_.KitFile(3))}, backups_, now - 3h), "primarymp.txt");
    for (int i = 0; i < 15; ++i) {
        const auto backup = BackUpFiles(files, backups_, now + 1h * (i < 3 ? 0 : i < 14 ? i : 1));
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        RemoveOldBackups(backups_, *backup);
        made.insert(*backup);
        if (i >= 5) {
            keep(*backup, "primarymp.itm");
        }
    }
    EXPECT_EQ(made.size(), 15u);
    EXPECT_EQ(Entries(backups_), kept);
}

}  // namespace
}  // namespace kitdata
