// Reading the kit (folders, rows, ratings) and saving it (marks, backups, no half files).

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

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_backup.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/rating.h"
#include "loadwise/kitdata/read_only_files.h"
#include "platform/prefix_selection.h"
#include "support/failing_file_operations.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"
#include "support/scoped_environment.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

Lines L(std::string text) {  // "a|b|c" as lines, with ' standing for a double quote
    std::replace(text.begin(), text.end(), '\'', '"');
    Lines lines;
    for (std::istringstream in(text); std::getline(in, text, '|');) {
        lines.push_back(text);
    }
    return lines;
}

std::set<fs::path> Entries(const fs::path& folder) {  // all below it, hidden ones too
    return {fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator()};
}

// Missing values and values one byte too long for the buffer alternate, in
// reading order; then all are there, one just fitting, and VARNDEV too.
TEST(GamePathsTest, ReadingStopsAtTheFirstMissingOrTooLongValueWithOneMessage) {
    const std::string names[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                 "EquipmentPath", "EquipTextPath", "InstallationPath",
                                 "SoundPath",     "TextPath"};
    const std::string longest = "C:\\" + std::string(256, 'x');  // 259 bytes and the zero
    const std::optional<std::string> values[] = {std::nullopt, longest + "x", longest};
    for (int missing = 0; missing <= 8; ++missing) {
        testsupport::MessageRecorder messages;
        testsupport::InstallationOptions options{.devMode = missing == 8, .gameValues = {}};
        options.gameValues[names[missing % 8]] = values[missing == 8 ? 2 : missing % 2];
        testsupport::FakeInstallation installation(options);
        const GamePaths paths = ReadGamePaths(installation.prefix());
        EXPECT_EQ(paths.m_bDevMode, missing == 8);
        const std::string message = "Error opening reg key " + names[missing % 8];
        EXPECT_EQ(messages.texts(), missing == 8 ? Lines{} : Lines{message + " path regkey"});
        // What was read stays exactly as stored (no separator added), the rest unread.
        EXPECT_EQ(paths.m_strActorPath, installation.GameValue("ActorPath"));
        EXPECT_EQ(paths.m_strTextPath, missing == 8 ? installation.GameValue("TextPath") : "");
    }
}

// No game in the prefix: the message says where the programs looked, one
// line per place, and a folder chosen there is checked, remembered when the
// user says so, and read instead.
TEST(GamePathsTest, MissingGameTellsWhereItLookedAndReadsThePrefixChosenThere) {
    testsupport::TemporaryFolder home;
    const fs::path h = home.path();
    testsupport::ScopedEnvironment homeVariable("HOME", h.string());
    testsupport::ScopedEnvironment config("XDG_CONFIG_HOME", (h / "config").string());
    testsupport::FakeInstallation game;
    fs::create_directories(h / "Games/other");
    fs::create_directories(h / ".steam/steam/steamapps");
    fs::create_directories(h / ".config/lutris/games");
    std::ofstream(h / ".config/lutris/games/r6-1.yml") << "game:\n  prefix: ~/Games/lutris-r6\n";
    platform::WinePrefix prefix =
        *platform::SelectPrefix({kGameKey, "", "", h, h / "config"}).prefix;

    testsupport::MessageRecorder messages;
    for (int answer :
         {platform::kIdChooseFolder, platform::IDOK, platform::kIdChooseFolder, platform::IDYES}) {
        messages.QueueAnswer(answer);
    }
    std::vector<fs::path> folders = {h / "Games", game.prefix().folder / "drive_c"};
    platform::FolderOperation previous = platform::SetFolderOperation([&](const std::string&) {
        const fs::path folder = folders.front();
        folders.erase(folders.begin());
        return folder.string();
    });
    const GamePaths paths = ReadGamePaths(prefix);
    platform::SetFolderOperation(std::move(previous));

    EXPECT_TRUE(paths.allPathsRead);
    EXPECT_EQ(prefix.folder, game.prefix().folder);
    EXPECT_EQ(testsupport::FileBytes(h / "config/r6tools/prefix"), prefix.folder.string() + "\n");
    EXPECT_EQ(messages.texts(),
              (Lines{"Error opening main reg key", "This folder is no Wine prefix.",
                     "Error opening main reg key", "Remember this prefix for the next starts?"}));
    const testsupport::RecordedMessage& first = messages.messages()[0];
    EXPECT_EQ(first.caption, "Loadwise");
    EXPECT_EQ(first.style, platform::MB_ICONHAND | platform::kChooseFolderButton);
    EXPECT_NE(first.details.find(":\n  ~/.wine\n  ~/Games/*: 1 prefix\n  Lutris: 1 prefix\n"
                                 "  Bottles: 0 prefixes\n  Heroic: 0 prefixes\n"
                                 "  Steam library ~/.steam/steam: 0 prefixes\n\n"),
              std::string::npos)
        << first.details;
    EXPECT_NE(messages.messages()[1].details.find((h / "Games").string() + ": this folder is no"),
              std::string::npos);
}

TEST(TextRulesTest, EachRatingBoundRatesTheValueJustBelowItAndTheValueOnIt) {
    const char* const words[] = {"1-Amazing", "2-Outstanding", "3-Excellent", "4-Impressive",
                                 "5-Good",    "6-Fair",        "7-Poor",      "8-Bad"};
    // Accuracy, Recoil and Reticle: each bound as the value just below it and the value on it.
    std::istringstream in(
        "0.1 0.11 0.5 0.51 0.7 0.71 1.2 1.21 1.5 1.51 2 2.01 2.5 2.51 9.99 10 "
        "1.3 1.31 1.5 1.51 1.7 1.71 2 2.01 2.2 2.21 2.3 2.31 2.5 2.51 9.99 10.0 "
        "0.8 0.81 1 1.01 1.3 1.31 1.6 1.61 2 2.01 2.5 2.51 3 3.01 9.99 12");
    std::string below, on;
    for (int i = 0; in >> below >> on; ++i) {  // eight pairs per figure
        EXPECT_EQ(RateFigure(RatedFigure(i / 8), below), words[i % 8]) << below;
        // At 10 and above the figure's own text is shown.
        EXPECT_EQ(RateFigure(RatedFigure(i / 8), on), i % 8 < 7 ? words[i % 8 + 1] : on) << on;
    }
    EXPECT_EQ(RateFigure(RatedFigure::Accuracy, "not a number"), "1-Amazing");
    EXPECT_EQ(RateRecoil("5", "1"), "None");
    EXPECT_EQ(RateRecoil("5", "1.0"), "8-Bad");
}

TEST(SwitchItemMarksTest, MarksFollowTheTicksAndNoLineIsEverDropped) {
    // Ticks ("key+" ticked, "key-" not), item file, kit list, and both after the switch.
    const std::array<const char*, 5> cases[] = {
        // Each pair follows its tick by its own mark; disagreeing pairs end up agreeing.
        {"a-|B+|c+|d-", "'h'|'a' 'x'|//'b'|'c'|//'d'", "'a'|//'b'|//'c'|'d'",
         "'h'|//'a' 'x'|'b'|'c'|//'d'", "//'a'|'b'|'c'|//'d'"},
        // A kit-list line that is no switched-off item line counts as active.
        {"f+|a-|b-|c+", "'h'|'f'|'a'|'b'|'c'", "'f'|a|// 'b'|// 'c'", "'h'|'f'|//'a'|//'b'|'c'",
         "'f'|//a|//// 'b'|// 'c'"},
        // The first row of a key decides.
        {"a-|b+|a+", "'h'|'a'|'b'|'A'", "'a'|'b'|'a'", "'h'|//'a'|'b'|//'A'", "//'a'|'b'|//'a'"},
        // The header is no row, whatever its key; a lone quote has the key "".
        {"hd-|a-|+", "// c|'hd'|'a'|//'", "// k||'a'|//'", "// c|'hd'|//'a'|'", "// k||//'a'|'"},
        // Other lines and unknown keys keep their marks, yet count for the pairing.
        {"a-|b-", "'h'|'a'|// s|'z'|'b'", "'a'|x|'z'|'b'", "'h'|//'a'|// s|'z'|//'b'",
         "//'a'|x|'z'|//'b'"},
        // Files of unequal length, a kit list without items, empty files.
        {"a-|b-", "'h'|'a'|'b'|tail", "'a'", "'h'|//'a'|//'b'|tail", "//'a'"},
        {"a-", "'h'|'a'", "'a'|'b'||end", "'h'|//'a'", "//'a'|'b'||end"},
        {"a-", "'h'|'a'", "// none||", "'h'|//'a'", "// none||"},
        {"a-", "", "", "", ""},
        // Lines between the header and the first item belong to the head, in either file.
        {"a-|b+", "//'h'|// c|[S]|'a'|//'b'", "// k||[S]|'a'|//'b'", "//'h'|// c|[S]|//'a'|'b'",
         "// k||[S]|//'a'|'b'"}};
    for (const auto& [tickText, items, kit, newItems, newKit] : cases) {
        std::vector<RowTick> ticks;
        for (const std::string& tick : L(tickText)) {
            ticks.push_back({tick.substr(0, tick.size() - 1), tick.back() == '+'});
        }
        const auto [itemLines, kitLines] = SwitchItemMarks({L(items), L(kit)}, ticks);
        EXPECT_EQ(std::pair(itemLines, kitLines), std::pair(L(newItems), L(newKit)));
    }
}

class KitTest : public ::testing::Test {
  protected:
    ItemList Fill(int tab = kPrimaryTab) {
        return FillItemList(kit_.prefix(), paths_, *LoadItemNames(kit_.prefix(), paths_), tab);
    }
    TabTicks Ticks(bool flipped) {  // as the lists show them at start-up, or each flipped
        TabTicks ticks;
        for (int tab = 0; tab < kTabCount; ++tab) {
            for (const ItemRow& row : Fill(tab).rows) {
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

// Rows by name ("+" ticked): lines beginning exactly with a quote, the first being the
// header; names from the table when the data file's first number is in it (0 to 7).
TEST_F(KitTest, RowsComeFromQuotedLinesAfterTheHeaderNamedByTheTable) {
    const std::pair<std::string, const char*> data[] = {
        {"neg", "-1"}, {"last", "+7abc"}, {"over", "8"}, {"short", " 3 first\r\nx\r\n7"}};
    std::string items = "\"h\"\r\n";
    for (const auto& [stem, text] : data) {
        kit_.WriteFile(kit_.EquipmentFile(stem + ".atr"), text);
        items += "\"" + stem + "\" \"\" \"" + stem + ".atr\"\r\n";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"// c\r\n\r\n[Section]\r\n\"header\"\r\n \"blank.txt\"\r\n// \"spaced.txt\"\r\n"
         "///\"three.txt\"\r\n\"kept.txt\"\r\n//\"off.txt\"\r\n",
         "kept.txt+|off.txt|"},
        // A switched-off header leaves the row after it unticked.
        {"//\"header\"\r\n\"a.txt\"\r\n\"b.txt\"\r\n//\"c.txt\"\r\n\"d.txt\"",
         "a.txt|b.txt+|c.txt|d.txt+|"},
        // Data files with indexes outside the table, short, or missing.
        {items + "\"ex_primmags.txt\"\r\n\"EX_EMPTYKIT.TXT\"",
         "neg+|Flash bang+|over+|Nobody+|Primary Magazine+|EX_EMPTYKIT.TXT+|"}};
    for (const auto& [text, rows] : cases) {
        kit_.WriteFile(kit_.ItemFile(kPrimaryTab), text);
        std::string read;
        for (const ItemRow& row : Fill().rows) {
            read += row.cells[kNameColumn] + (row.checked ? "+|" : "|");
        }
        EXPECT_EQ(read, rows) << text;
    }
}

// Files are found whatever the letter case on disk; Save with no tick changed
// keeps the name on disk and turns only the line ends into CR LF.
TEST_F(KitTest, FiguresWhateverTheLetterCaseOnDiskAndSaveChangesOnlyTheLineEnds) {
    const auto folder = kit_.UnixPath(kit_.ItemFile(kPrimaryTab)).parent_path();
    fs::rename(folder / "primarymp.itm", folder / "PrimaryMP.ITM");
    fs::rename(folder / "rook.atr", folder / "ROOK.ATR");
    ASSERT_EQ(Fill().rows.size(), 3u);
    EXPECT_EQ(Fill().rows[0].cells, (Lines{"Rook Carbine", "rook.txt", "rook.atr", "30", "600",
                                           "3-Excellent", "3-Excellent", "3-Excellent", "2"}));
    EXPECT_EQ(Fill(kSpecialTab).rows[1].cells, (Lines{"Flash bang", "flash.txt", "flash.atr"}));
    paths_.m_bDevMode = true;  // the raw figures
    EXPECT_EQ(Fill().rows[0].cells[kReticleColumn], "1.2");
    kit_.WriteFile(kit_.EquipmentFile("PrimaryMP.ITM"),
                   "// x\n\"h\xE9\"\r\n\"rook.txt\" \"Caf\xE9 \x93x\x94\"\n//\"harrow.txt\"\n\n");
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, Ticks(false)).ok());
    EXPECT_EQ(
        kit_.ReadFile(kit_.EquipmentFile("PrimaryMP.ITM")),
        "// x\r\n\"h\xE9\"\r\n\"rook.txt\" \"Caf\xE9 \x93x\x94\"\r\n//\"harrow.txt\"\r\n\r\n");
    EXPECT_FALSE(fs::exists(folder / "primarymp.itm"));
}

// Read-only files refuse a save before it writes; a save failing at any step leaves each file
// whole and no temporary. The last, whole one backed up oldFiles; a later save backs up only
// files that differ from the newest backup. A failed backup is a failed save.
TEST_F(KitTest, SaveIsWholeAtAnyFailedStepAndBacksUpTheFilesAsTheyWere) {
    const Lines oldFiles = kit_.KitFiles();
    const std::set<fs::path> filesBefore = Entries(kit_.prefix().folder);
    const TabTicks ticks = Ticks(true);
    for (int i = 0; i < 6; ++i) {
        fs::permissions(kit_.UnixPath(kit_.KitFile(i)), fs::perms::owner_read);
    }
    EXPECT_FALSE(SaveKitLists(kit_.prefix(), paths_, ticks).ok());
    EXPECT_TRUE(ClearKitFilesReadOnly(kit_.prefix(), paths_).empty());  // as start-up does
    EXPECT_TRUE(ListBackups(backups_).empty());
    ASSERT_EQ(kit_.KitFiles(), oldFiles);
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, ticks).ok());
    const Lines newFiles = kit_.KitFiles();
    for (int failAt = 0;; ++failAt) {
        for (int i = 0; i < 6; ++i) {
            kit_.WriteFile(kit_.KitFile(i), oldFiles[i]);
        }
        fs::remove_all(backups_);  // so that each save makes its own backup
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
        ASSERT_EQ(saved.ok(), !operations.failed()) << step << saved.error().Describe();
        // All six are written before the first is renamed into place.
        EXPECT_EQ(replaced, saved.ok() ? 6 : std::max(0, failAt - 24)) << step;
        // A save that replaced files keeps the backup of how they were.
        EXPECT_EQ(ListBackups(backups_).size(), replaced > 0 ? 1u : 0u) << step;
        if (saved.ok()) {
            break;
        }
        EXPECT_TRUE(saved.error().what.ends_with(".itm") || saved.error().what.ends_with(".txt"));
        EXPECT_EQ(saved.error().why.find("already replaced") != std::string::npos, replaced > 0);
    }
    for (int i = 0; i < 2; ++i) {  // the second finds its files in the newest backup
        ASSERT_TRUE(SaveKitLists(kit_.prefix(), paths_, Ticks(false)).ok());
    }
    const std::vector<fs::path> made = ListBackups(backups_);
    ASSERT_EQ(made.size(), 2u);
    for (int i = 0; i < 6; ++i) {
        const fs::path name = kit_.UnixPath(kit_.KitFile(i)).filename();
        EXPECT_EQ(testsupport::FileBytes(made[0] / name), oldFiles[i]) << name;
        EXPECT_EQ(testsupport::FileBytes(made[1] / name), newFiles[i]) << name;
    }
    fs::remove_all(kit_.root() / "data");
    std::ofstream(kit_.root() / "data") << "a file where the data folder should be";
    const platform::Status saved = SaveKitLists(kit_.prefix(), paths_, Ticks(true));
    EXPECT_NE(saved.error().what.find("loadwise/backups"), std::string::npos);
    EXPECT_EQ(kit_.KitFiles(), newFiles);
}

// A backup failing at any step leaves no folder. Then three backups in one second, one an
// hour for eleven hours, and one with a clock older than the newest ten: the removal keeps
// those ten, the one just made and each installation's first backup, and nothing else.
TEST_F(KitTest, BackupsAreWholeNeverCollideAndTheNewestTenAndTheFirstAreKept) {
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
        EXPECT_EQ(backup.error().why, "No space left on device") << "step " << failAt;
        EXPECT_EQ(Entries(backups_), before) << "step " << failAt;
    }
    // Another installation's first backup: other files.
    keep(*BackUpFiles({kit_.UnixPath(kit_.KitFile(3))}, backups_, now - 3h), "primarymp.txt");
    for (int i = 0; i < 15; ++i) {
        const auto backup = BackUpFiles(files, backups_, now + 1h * (i < 3 ? 0 : i < 14 ? i : 1));
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        RemoveOldBackups(backups_, *backup);
        EXPECT_TRUE(made.insert(*backup).second) << "a backup's name taken twice";
        if (i >= 5) {
            keep(*backup, "primarymp.itm");
        }
    }
    EXPECT_EQ(Entries(backups_), kept);
}

}  // namespace
}  // namespace kitdata
