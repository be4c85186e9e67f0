// Making the six kit files writable at start-up.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/read_only_files.h"
#include "sample_kit.h"

namespace kitdata {
namespace {

namespace fs = std::filesystem;
using kitdatatest::EquipmentFile;
using kitdatatest::EquipTextFile;
using testsupport::FakeInstallation;

struct stat StatusOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status;
}

class ReadOnlyFilesTest : public ::testing::Test {
  protected:
    FakeInstallation installation_;
    GamePaths paths_ = kitdatatest::SamplePaths(installation_);
};

TEST_F(ReadOnlyFilesTest, ReadOnlyKitFilesBecomeWritableWithTheirTimesKept) {
    kitdatatest::WriteSampleKit(installation_);
    std::vector<fs::path> files;
    for (int tab = 0; tab < kTabCount; ++tab) {
        files.push_back(installation_.UnixPath(EquipmentFile(installation_, ItemFileName(tab))));
        files.push_back(installation_.UnixPath(EquipTextFile(installation_, KitListFileName(tab))));
    }
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const fs::path& file : files) {
        fs::last_write_time(file, stamp);
        fs::permissions(file,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    EXPECT_TRUE(ClearKitFilesReadOnly(installation_.prefix(), paths_).empty());
    for (const fs::path& file : files) {
        const struct stat status = StatusOf(file);
        EXPECT_NE(status.st_mode & S_IWUSR, 0u) << file;
        EXPECT_EQ(fs::last_write_time(file), stamp) << file;
    }
}

TEST_F(ReadOnlyFilesTest, WritableFilesAndFoldersAreLeftAlone) {
    kitdatatest::WriteSampleKit(installation_);
    const fs::path writable = installation_.UnixPath(EquipmentFile(installation_, "primarymp.itm"));
    fs::permissions(writable, fs::perms::owner_read | fs::perms::owner_write);
    const struct stat before = StatusOf(writable);

    const fs::path folder = installation_.UnixPath(EquipTextFile(installation_, "special.txt"));
    fs::remove(folder);
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    EXPECT_TRUE(ClearKitFilesReadOnly(installation_.prefix(), paths_).empty());
    const struct stat after = StatusOf(writable);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(StatusOf(folder).st_mode & 0777, 0500u);
    fs::permissions(folder, fs::perms::owner_all);
}

TEST_F(ReadOnlyFilesTest, MissingFilesAndEmptyFoldersAreNoProblem) {
    EXPECT_TRUE(ClearKitFilesReadOnly(installation_.prefix(), paths_).empty());
    EXPECT_TRUE(ClearKitFilesReadOnly(installation_.prefix(), GamePaths{}).empty());
}

TEST_F(ReadOnlyFilesTest, FoundWhateverTheLetterCaseOnDisk) {
    const fs::path file =
        installation_.WriteFile(EquipmentFile(installation_, "SecondaryMP.ITM"), "\"h\"\r\n");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_TRUE(
        ClearReadOnlyFiles(installation_.prefix(), paths_.m_strEquipmentPath + "secondarymp.itm")
            .empty());
    EXPECT_NE(StatusOf(file).st_mode & S_IWUSR, 0u);
}

// A mark that cannot be cleared is reported with the file's name, and the
// other files are still made writable. The immutable attribute makes chmod
// fail even for root; where it cannot be set, the test is skipped.
TEST_F(ReadOnlyFilesTest, MarkThatCannotBeClearedIsReported) {
    kitdatatest::WriteSampleKit(installation_);
    const fs::path stuck = installation_.UnixPath(EquipmentFile(installation_, "specialmp.itm"));
    const fs::path other = installation_.UnixPath(EquipTextFile(installation_, "special.txt"));
    fs::permissions(stuck, fs::perms::owner_read);
    fs::permissions(other, fs::perms::owner_read);
    const std::string chattr = "chattr +i '" + stuck.string() + "' 2>/dev/null";
    if (std::system(chattr.c_str()) != 0) {
        GTEST_SKIP() << "the immutable attribute cannot be set here";
    }
    const std::vector<platform::Error> failures =
        ClearKitFilesReadOnly(installation_.prefix(), paths_);
    const int undone = std::system(("chattr -i '" + stuck.string() + "'").c_str());
    ASSERT_EQ(undone, 0);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].what.find("specialmp.itm"), std::string::npos);
    EXPECT_FALSE(failures[0].why.empty());
    EXPECT_NE(StatusOf(other).st_mode & S_IWUSR, 0u);
}

}  // namespace
}  // namespace kitdata
