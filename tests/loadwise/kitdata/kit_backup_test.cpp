// Backups of the six kit files before Save: where they go, how they are
// named, what they hold, how many are kept, and that a failed backup is a
// failed save.

#include "loadwise/kitdata/kit_backup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "support/failing_file_operations.h"
#include "support/kit_fixture.h"
#include "support/scoped_environment.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using namespace std::chrono_literals;
using Names = std::vector<std::string>;

const system_clock::time_point kMoment = sys_days{year{2026} / 12 / 6} + 22h + 36min + 11s + 250ms;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every entry of a folder, hidden ones included, sorted.
Names Entries(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BackupNameTest, FolderAndNamesSortByTimeAndOnlyOursAreRecognised) {
    for (const char* data : {"/data/user/", "", "relative/share"}) {
        EXPECT_EQ(BackupsFolderFor(data, "/home/p").lexically_normal(),
                  data == std::string("/data/user/") ? "/data/user/loadwise/backups"
                                                     : "/home/p/.local/share/loadwise/backups");
    }
    EXPECT_EQ(BackupsFolderFor(nullptr, "/home/p"), "/home/p/.local/share/loadwise/backups");
    const Names inOrder = {BackupName(kMoment - 1s, 2),      BackupName(kMoment, 1),
                           BackupName(kMoment, 2),           BackupName(kMoment, 10),
                           BackupName(kMoment + 9s, 1),      BackupName(kMoment + 10s, 1),
                           BackupName(kMoment + 24h * 40, 1)};
    EXPECT_EQ(inOrder[1], "2026-12-06_22-36-11Z");
    EXPECT_EQ(inOrder[2], "2026-12-06_22-36-11Z_02");
    for (std::size_t i = 0; i < inOrder.size(); ++i) {
        EXPECT_TRUE(IsBackupName(inOrder[i])) << inOrder[i];
        EXPECT_TRUE(i == 0 || inOrder[i - 1] < inOrder[i]) << inOrder[i];
    }
    for (const char* other : {"notes", "2026-12-06_22-36-11", "2026-12-06_22-36-11Z_2",
                              ".2026-12-06_22-36-11Z.incomplete", ""}) {
        EXPECT_FALSE(IsBackupName(other)) << other;
    }
}

class BackUpFilesTest : public ::testing::Test {
  protected:
    std::vector<fs::path> Files() const {
        return {kit_.UnixPath(kit_.ItemFile(0)), kit_.UnixPath(kit_.KitList(2))};
    }

    testsupport::KitInstallation kit_;
    fs::path backups_ = kit_.root() / "data" / "loadwise" / "backups";
};

TEST_F(BackUpFilesTest, CopiesEveryByteAndSaysWhereEachCameFrom) {
    kit_.WriteFile(kit_.ItemFile(0), "\"Header\"\r\n//\"G3A3\"\r\n\x93quoted\x94 \xe9\n");
    for (int i = 0; i < 3; ++i) {  // three within one second never collide
        kit_.WriteFile(kit_.KitList(2), "version " + std::to_string(i));
        const auto backup = BackUpFiles(Files(), backups_, kMoment);
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        EXPECT_EQ(backup->filename(), BackupName(kMoment, i + 1));
        EXPECT_EQ(ReadBytes(*backup / "primarymp.itm"), ReadBytes(Files()[0]));
        EXPECT_EQ(ReadBytes(*backup / "special.txt"), "version " + std::to_string(i));
        EXPECT_EQ(ReadBytes(*backup / kBackupOriginsFile), "primarymp.itm\t" + Files()[0].string() +
                                                               "\nspecial.txt\t" +
                                                               Files()[1].string() + "\n");
    }
}

TEST_F(BackUpFilesTest, KeepsTheNewestTenAndNothingOfTheUsersIsTouched) {
    fs::create_directories(backups_ / ".2026-01-01_00-00-00Z.incomplete");  // a killed backup
    fs::create_directories(backups_ / "notes");
    std::ofstream(backups_ / "notes" / "mine.txt") << "the user's own";
    Names made;
    for (int i = 0; i < 13; ++i) {
        // The last one's clock is older than every other: it is kept all the same.
        const auto backup = BackUpFiles(Files(), backups_, kMoment + hours(i < 12 ? i : -1));
        ASSERT_TRUE(backup.ok()) << backup.error().Describe();
        made.push_back(backup->filename().string());
    }
    Names expected(made.begin() + 3, made.end());
    expected.push_back("notes");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(backups_), expected);
    EXPECT_EQ(ReadBytes(backups_ / "notes" / "mine.txt"), "the user's own");
}

TEST_F(BackUpFilesTest, FailingAtAnyStepOrAnUnreadableFileLeavesNoBackupFolder) {
    ASSERT_TRUE(BackUpFiles(Files(), backups_, kMoment - 1h).ok());
    const Names before = Entries(backups_);
    for (int failAt = 0;; ++failAt) {
        testsupport::FaultInjectingOperations operations(failAt);
        const auto backup = BackUpFiles(Files(), backups_, kMoment, operations);
        if (!operations.failed()) {
            ASSERT_TRUE(backup.ok()) << backup.error().Describe();
            break;
        }
        ASSERT_FALSE(backup.ok()) << "step " << failAt << " failed, yet the backup succeeded";
        EXPECT_EQ(backup.error().Describe(), "Backup to " +
                                                 (backups_ / BackupName(kMoment, 1)).string() +
                                                 ": No space left on device");
        EXPECT_EQ(Entries(backups_), before) << "step " << failAt;
    }
    fs::remove(Files()[1]);
    const auto backup = BackUpFiles(Files(), backups_, kMoment + 1h);
    ASSERT_FALSE(backup.ok());
    EXPECT_EQ(backup.error().Describe(), Files()[1].string() + ": No such file or directory");
}

TEST_F(BackUpFilesTest, EachSaveBacksUpTheFilesAsTheyWereAndAFailedBackupIsAFailedSave) {
    const testsupport::ScopedEnvironment dataHome("XDG_DATA_HOME", (kit_.root() / "data").string());
    const std::vector<std::string> before = kit_.KitFiles();
    const TabTicks off = {{{{"rook.txt", false}}, {}, {}}};
    const TabTicks on = {{{{"rook.txt", true}}, {}, {}}};
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), kit_.Paths(), off).ok());
    const std::vector<std::string> afterFirst = kit_.KitFiles();
    ASSERT_NE(afterFirst, before);
    ASSERT_TRUE(SaveKitLists(kit_.prefix(), kit_.Paths(), TabTicks{}).ok());
    const std::vector<fs::path> made = ListBackups(backups_);
    ASSERT_EQ(made.size(), 2u);
    for (int i = 0; i < 6; ++i) {
        const std::string name = i < 3 ? ItemFileName(i) : KitListFileName(i - 3);
        EXPECT_EQ(ReadBytes(made[0] / name), before[i]) << name;
        EXPECT_EQ(ReadBytes(made[1] / name), afterFirst[i]) << name;
    }

    kit_.WriteFile("C:\\share", "a file where the data folder should be");
    const testsupport::ScopedEnvironment blocked("XDG_DATA_HOME",
                                                 kit_.UnixPath("C:\\share").string());
    const platform::Status saved = SaveKitLists(kit_.prefix(), kit_.Paths(), on);
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().what.find("loadwise/backups"), std::string::npos);
    EXPECT_EQ(kit_.KitFiles(), afterFirst);
}

}  // namespace
}  // namespace kitdata
