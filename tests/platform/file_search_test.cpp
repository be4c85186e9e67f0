#include "platform/file_search.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/fake_installation.h"

namespace fs = std::filesystem;

namespace {

const std::string kKit = "C:\\Games\\Rainbow Six\\data\\equipment\\";

struct stat StatusOf(const fs::path& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return status;
}

void SetMode(const fs::path& file, mode_t mode) {
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
}

// Sets the umask for one test and puts it back.
class UmaskScope {
  public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }

  private:
    mode_t previous_;
};

class FileSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"primarymp.itm", "SecondaryMP.ITM", "special.txt", "README",
                                 ".hidden", "Caf\xe9.dat"}) {
            install_.WriteFile(kKit + name, "x\r\n");
        }
        fs::create_directory(install_.UnixPath(kKit + "Sub"));
    }

    std::vector<std::string> Names(const std::string& pattern) const {
        std::vector<std::string> names;
        for (const platform::FoundFile& found : platform::FindFiles(install_.prefix(), pattern)) {
            names.push_back(found.name);
        }
        return names;
    }

    testsupport::FakeInstallation install_;
};

TEST_F(FileSearchTest, PatternsMatchAsOnWindows) {
    using Names_ = std::vector<std::string>;
    const Names_ all = {".hidden", "Caf\xe9.dat",   "README",     "SecondaryMP.ITM",
                        "Sub",     "primarymp.itm", "special.txt"};
    struct Case {
        std::string pattern;
        Names_ names;
    };
    const Case cases[] = {
        {kKit + "*.*", all},  // every entry, those without a dot too
        {kKit + "*", all},
        {"c:/games/RAINBOW SIX/data/equipment/*.*", all},  // folder in any case, forward slashes
        {kKit + "*.itm", {"SecondaryMP.ITM", "primarymp.itm"}},
        {kKit + "*MP.*", {"SecondaryMP.ITM", "primarymp.itm"}},
        {kKit + "?pecial.txt", {"special.txt"}},
        {kKit + "s*", {"SecondaryMP.ITM", "Sub", "special.txt"}},
        {kKit + "caf\xc9.*", {"Caf\xe9.dat"}},
        {kKit + "PRIMARYMP.ITM", {"primarymp.itm"}},  // an exact name finds one, as spelled on disk
        {kKit + "sub", {"Sub"}},
        {kKit + "missing.txt", {}},
        {kKit + "*.xyz", {}},
        {kKit, {}},
        {"C:\\Games\\Nowhere\\*.*", {}},
        {"Q:\\*.*", {}},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(Names(each.pattern), each.names) << each.pattern;
    }
}

TEST_F(FileSearchTest, ReportsFoldersAndReadOnlyEntries) {
    SetMode(install_.UnixPath(kKit + "special.txt"), 0444);
    SetMode(install_.UnixPath(kKit + "README"), 0200);  // write-only still has a write bit
    for (const platform::FoundFile& found : platform::FindFiles(install_.prefix(), kKit + "*.*")) {
        EXPECT_EQ(found.isFolder, found.name == "Sub") << found.name;
        EXPECT_EQ(found.isReadOnly, found.name == "special.txt") << found.name;
        EXPECT_EQ(found.path, install_.UnixPath(kKit + found.name)) << found.name;
    }
}

TEST(ClearReadOnly, SetsWriteBitsAsWineDoes) {
    struct Case {
        mode_t mode;
        mode_t umask;
        mode_t expected;
    };
    const Case cases[] = {
        {0444, 022, 0644},
        {0400, 022, 0600},
        {0440, 022, 0640},
        {0404, 022, 0604},
        {0555, 022, 0755},
        {0444, 002, 0664},
        {0444, 000, 0666},
        {0440, 077, 0640},
        {0000, 022, 0600},
        // a umask denying the owner's write bit would leave the file read-only
        {0444, 0222, 0644},
        // files with a write bit are not read-only and are left alone
        {0644, 000, 0644},
        {0464, 022, 0464},
        {0200, 022, 0200},
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "primarymp.itm";
    for (const Case& each : cases) {
        std::ofstream(file) << "x";
        SetMode(file, each.mode);
        UmaskScope mask(each.umask);
        ASSERT_TRUE(platform::ClearReadOnly(file).ok());
        EXPECT_EQ(StatusOf(file).st_mode & 07777, each.expected)
            << std::oct << "mode " << each.mode << " umask " << each.umask;
        EXPECT_FALSE(platform::IsReadOnly(file));
    }
}

TEST(ClearReadOnly, KeepsTimeStampsExactly) {
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / ".hidden.itm";
    std::ofstream(file) << "x";
    const struct timespec times[2] = {{1000000000, 123456789}, {1100000000, 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    SetMode(file, 0444);
    ASSERT_TRUE(platform::IsReadOnly(file));

    ASSERT_TRUE(platform::ClearReadOnly(file).ok());

    const struct stat after = StatusOf(file);
    EXPECT_FALSE(platform::IsReadOnly(file));
    EXPECT_EQ(after.st_atim.tv_sec, times[0].tv_sec);
    EXPECT_EQ(after.st_atim.tv_nsec, times[0].tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_TRUE(fs::exists(file));  // a hidden file keeps its name
}

TEST(ClearReadOnly, LeavesFoldersAlone) {
    testsupport::TemporaryFolder folder;
    const fs::path sub = folder.path() / "primarymp.itm";
    fs::create_directory(sub);
    SetMode(sub, 0555);
    const struct stat before = StatusOf(sub);

    ASSERT_TRUE(platform::ClearReadOnly(sub).ok());

    const struct stat after = StatusOf(sub);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

TEST(ClearReadOnly, AMissingFileIsAnErrorNamingIt) {
    testsupport::TemporaryFolder folder;
    const fs::path missing = folder.path() / "special.txt";
    const platform::Status status = platform::ClearReadOnly(missing);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error().Describe(), missing.string() + ": No such file or directory");
    EXPECT_FALSE(platform::IsReadOnly(missing));
}

}  // namespace
