// Backups of the six kit files before Save: where they go, how they are
// named, what they hold, how many are kept, and that a failed backup is a
// failed save. Every backup goes to a temporary data folder.

#include "loadwise/kitdata/kit_backup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "platform/fault_injecting_operations.h"
#include "sample_kit.h"
#include "support/fake_installation.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using namespace std::chrono_literals;

const system_clock::time_point kMoment = sys_days{year{2026} / 12 / 6} + 22h + 36min + 11s + 250ms;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> Names(const std::vector<fs::path>& paths) {
    std::vector<std::string> names;
    for (const fs::path& path : paths) {
        names.push_back(path.filename().string());
    }
    return names;
}

// XDG_DATA_HOME set for one test and put back afterwards.
class ScopedDataHome {
  public:
    explicit ScopedDataHome(const fs::path& folder) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            old_ = old;
        }
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~ScopedDataHome() {
        if (old_) {
            ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }

  private:
    std::optional<std::string> old_;
};

TEST(BackupsFolderTest, FollowsXdgDataHomeAndFallsBackToTheHome) {
    struct Case {
        const char* xdgDataHome;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/user", "/data/user/loadwise/backups"},
        {"/data/user/", "/data/user/loadwise/backups"},
        {nullptr, "/home/player/.local/share/loadwise/backups"},
        {"", "/home/player/.local/share/loadwise/backups"},
        {"relative/share", "/home/player/.local/share/loadwise/backups"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BackupsFolderFor(c.xdgDataHome, "/home/player").lexically_normal(),
                  fs::path(c.expected))
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)");
    }
}

TEST(BackupsFolderTest, TheProcessUsesItsEnvironment) {
    const testsupport::TemporaryFolder temporary;
    const ScopedDataHome dataHome(temporary.path());
    EXPECT_EQ(BackupsFolder(), temporary.path() / "loadwise" / "backups");
}

TEST(BackupNameTest, NamesAreTheUtcTimeWithACounterWithinOneSecond) {
    struct Case {
        int attempt;
        const char* expected;
    };
    const Case cases[] = {
        {1, "2026-12-06_22-36-11Z"},
        {2, "2026-12-06_22-36-11Z_02"},
        {12, "2026-12-06_22-36-11Z_12"},
        {99, "2026-12-06_22-36-11Z_99"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BackupName(kMoment, c.attempt), c.expected);
        EXPECT_TRUE(IsBackupName(c.expected)) << c.expected;
    }
}

TEST(BackupNameTest, NamesSortByTime) {
    const std::vector<std::pair<system_clock::time_point, int>> inOrder = {
        {kMoment - 1s, 1},
        {kMoment - 1s, 2},
        {kMoment, 1},
        {kMoment, 2},
        {kMoment, 10},
        {kMoment, 11},
        {kMoment + 9s, 1},
        {kMoment + 10s, 1},
        {kMoment + 24h, 1},
        {kMoment + 24h * 40, 1},
        {kMoment + 24h * 400, 1},
    };
    for (std::size_t i = 1; i < inOrder.size(); ++i) {
        const std::string earlier = BackupName(inOrder[i - 1].first, inOrder[i - 1].second);
        const std::string later = BackupName(inOrder[i].first, inOrder[i].second);
        EXPECT_LT(earlier, later);
    }
}

TEST(BackupNameTest, OnlyBackupNamesAreRecognised) {
    const char* others[] = {
        "notes",
        "2026-12-06_22-36-11",
        "2026-12-06_22-36-11Z_2",
        "2026-12-06_22-36-11Z_002",
        "2026-12-06 22-36-11Z",
        "x026-12-06_22-36-11Z",
        ".2026-12-06_22-36-11Z.incomplete",
        "",
    };
    for (const char* name : others) {
        EXPECT_FALSE(IsBackupName(name)) << name;
    }
}

class BackUpFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(first_, "\"Header\"\r\n//\"G3A3\" \"x\"\r\n\x93quoted\x94 \xe9");
        WriteBytes(second_, "line feed only\nno end");
    }
    std::vector<fs::path> Files() const { return {first_, second_}; }
    // Every entry of the backups folder, hidden ones included.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(backups_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TemporaryFolder temporary_;
    fs::path first_ = temporary_.path() / "game" / "Equipment" / "PrimaryMP.itm";
    fs::path second_ = temporary_.path() / "game" / "Text" / "primarymp.txt";
    fs::path backups_ = temporary_.path() / "data" / "loadwise" / "backups";
};

TEST_F(BackUpFilesTest, CopiesEveryByteUnderTheOnDiskNameAndSaysWhereEachCameFrom) {
    const auto backup = BackUpFiles(Files(), backups_, kMoment);
    ASSERT_TRUE(backup.ok()) << backup.error().Describe();
    EXPECT_EQ(*backup, backups_ / "2026-12-06_22-36-11Z");
    EXPECT_EQ(ReadBytes(*backup / "PrimaryMP.itm"), ReadBytes(first_));
    EXPECT_EQ(ReadBytes(*backup / "primarymp.txt"), ReadBytes(second_));
    EXPECT_EQ(ReadBytes(*backup / kBackupOriginsFile),
              "PrimaryMP.itm\t" + first_.string() + "\nprimarymp.txt\t" + second_.string() + "\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"2026-12-06_22-36-11Z"});
}

TEST_F(BackUpFilesTest, BackupsWithinOneSecondNeverCollide) {
    std::vector<std::string> made;
    for (int i = 0; i < 3; ++i) {
        WriteBytes(second_, "version " + std::to_string(i));
        const auto backup = BackUpFiles(Files(), backups_, kMoment);
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        made.push_back(backup->filename().string());
        EXPECT_EQ(ReadBytes(*backup / "primarymp.txt"), "version " + std::to_string(i));
    }
    EXPECT_EQ(made, (std::vector<std::string>{"2026-12-06_22-36-11Z", "2026-12-06_22-36-11Z_02",
                                              "2026-12-06_22-36-11Z_03"}));
    EXPECT_EQ(Names(ListBackups(backups_)), made);
}

TEST_F(BackUpFilesTest, KeepsTheNewestTenAndNothingElseIsTouched) {
    WriteBytes(backups_ / "notes" / "mine.txt", "the user's own");
    WriteBytes(backups_ / "readme.txt", "the user's own");
    // What a backup killed halfway leaves.
    WriteBytes(backups_ / ".2026-01-01_00-00-00Z.incomplete" / "PrimaryMP.itm", "half");

    std::vector<std::string> made;
    for (int i = 0; i < 13; ++i) {
        const auto backup = BackUpFiles(Files(), backups_, kMoment + minutes(i));
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        made.push_back(backup->filename().string());
    }
    EXPECT_EQ(Names(ListBackups(backups_)), std::vector<std::string>(made.begin() + 3, made.end()));
    std::vector<std::string> expected(made.begin() + 3, made.end());
    expected.push_back("notes");
    expected.push_back("readme.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(), expected);
}

TEST_F(BackUpFilesTest, AnOlderClockNeverRemovesTheBackupJustMade) {
    for (int i = 0; i < kKeptBackups; ++i) {
        ASSERT_TRUE(BackUpFiles(Files(), backups_, kMoment + hours(i)).ok());
    }
    const auto backup = BackUpFiles(Files(), backups_, kMoment - hours(1));
    ASSERT_TRUE(backup.ok());
    EXPECT_TRUE(fs::exists(*backup / "PrimaryMP.itm"));
    EXPECT_EQ(ListBackups(backups_).size(), static_cast<std::size_t>(kKeptBackups));
}

TEST_F(BackUpFilesTest, FailingAtAnyStepLeavesNoBackupFolder) {
    ASSERT_TRUE(BackUpFiles(Files(), backups_, kMoment - 1h).ok());
    const std::vector<std::string> before = Entries();
    for (int failAt = 0;; ++failAt) {
        testsupport::FaultInjectingOperations operations(failAt);
        const auto backup = BackUpFiles(Files(), backups_, kMoment, operations);
        if (!operations.failed()) {
            ASSERT_TRUE(backup.ok()) << backup.error().Describe();
            break;
        }
        ASSERT_FALSE(backup.ok()) << "step " << failAt << " failed, yet the backup succeeded";
        EXPECT_EQ(backup.error().Describe(), "Backup to " +
                                                 (backups_ / "2026-12-06_22-36-11Z").string() +
                                                 ": No space left on device");
        EXPECT_EQ(Entries(), before) << "step " << failAt << " (" << operations.failedStep() << ")";
    }
}

TEST_F(BackUpFilesTest, AnUnreadableFileIsNamedAndNothingIsMade) {
    const fs::path missing = temporary_.path() / "game" / "Text" / "special.txt";
    const auto backup = BackUpFiles({first_, missing}, backups_, kMoment);
    ASSERT_FALSE(backup.ok());
    EXPECT_EQ(backup.error().Describe(), missing.string() + ": No such file or directory");
    EXPECT_FALSE(fs::exists(backups_));
}

// Save backs the six files up first, and does not save without a backup.
class SaveBackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        kitdatatest::WriteSampleKit(installation_);
        for (int tab = 0; tab < kTabCount; ++tab) {
            for (const ItemRow& row : FillItemList(installation_.prefix(), paths_, {}, tab).rows) {
                ticks_[tab].push_back({row.cells[kTextColumn], !row.checked});
            }
        }
        before_ = Contents();
    }
    std::vector<std::pair<std::string, std::string>> SixFiles() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (int tab = 0; tab < kTabCount; ++tab) {
            files.emplace_back(ItemFileName(tab),
                               kitdatatest::EquipmentFile(installation_, ItemFileName(tab)));
            files.emplace_back(KitListFileName(tab),
                               kitdatatest::EquipTextFile(installation_, KitListFileName(tab)));
        }
        return files;
    }
    std::vector<std::string> Contents() const {
        std::vector<std::string> contents;
        for (const auto& [name, file] : SixFiles()) {
            contents.push_back(installation_.ReadFile(file));
        }
        return contents;
    }

    testsupport::FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
    TabTicks ticks_;
    std::vector<std::string> before_;
    testsupport::TemporaryFolder dataFolder_;
};

TEST_F(SaveBackupTest, EachSaveKeepsTheFilesAsTheyWereBefore) {
    const ScopedDataHome dataHome(dataFolder_.path());
    const fs::path backups = dataFolder_.path() / "loadwise" / "backups";
    ASSERT_TRUE(SaveKitLists(installation_.prefix(), paths_, ticks_).ok());
    const std::vector<std::string> afterFirst = Contents();
    ASSERT_NE(afterFirst, before_);
    ASSERT_TRUE(SaveKitLists(installation_.prefix(), paths_, TabTicks{}).ok());

    const std::vector<fs::path> made = ListBackups(backups);
    ASSERT_EQ(made.size(), 2u);
    const auto files = SixFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(ReadBytes(made[0] / files[i].first), before_[i]) << files[i].first;
        EXPECT_EQ(ReadBytes(made[1] / files[i].first), afterFirst[i]) << files[i].first;
    }
}

TEST_F(SaveBackupTest, AFailedBackupIsAFailedSaveThatChangesNothing) {
    std::ofstream(dataFolder_.path() / "share") << "a file where the data folder should be";
    const ScopedDataHome dataHome(dataFolder_.path() / "share");
    const platform::Status saved = SaveKitLists(installation_.prefix(), paths_, ticks_);
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().what.find("loadwise/backups"), std::string::npos);
    EXPECT_EQ(Contents(), before_);
}

}  // namespace
}  // namespace kitdata
