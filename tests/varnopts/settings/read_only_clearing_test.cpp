#include "varnopts/settings/read_only_clearing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_search.h"
#include "support/fake_installation.h"
#include "varnopts/settings/game_paths.h"

namespace varnopts {
namespace {

namespace fs = std::filesystem;
using testsupport::FakeInstallation;

GamePaths PathsOf(const FakeInstallation& installation) {
    GamePaths paths;
    for (const auto& field : GameValueFields()) {
        paths.*field.member = installation.GameValue(std::string(field.name));
    }
    return paths;
}

fs::path WriteReadOnly(FakeInstallation& installation, const std::string& windowsPath) {
    const fs::path file = installation.WriteFile(windowsPath, "data");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    return file;
}

TEST(ReadOnlyClearingTest, TenPatternsInOrder) {
    FakeInstallation installation;
    const std::string game = "C:\\Games\\Rainbow Six\\";
    EXPECT_EQ(ReadOnlyClearingPatterns(PathsOf(installation)),
              (std::vector<std::string>{
                  game + "data\\bitmap\\*.*",
                  game + "data\\equipment\\*.*",
                  game + "data\\mission\\*.*",
                  game + "data\\text\\equipment\\english\\*.*",
                  game + "data\\sound\\*.*",
                  game + "data\\sound\\english\\*.*",
                  game + "data\\actor\\*.*",
                  game + "*.*",
                  game + "data\\texture\\*.*",
                  game + "data\\text\\interface\\english\\*.*",
              }));
    // An empty folder value is skipped, never made the drive's root.
    GamePaths empty = PathsOf(installation);
    empty.m_strBitmapPath.clear();
    empty.m_strInstallationPath.clear();
    empty.m_strSoundPath.clear();
    EXPECT_EQ(ReadOnlyClearingPatterns(empty).size(), 6u);
    EXPECT_EQ(ReadOnlyClearingPatterns(empty)[0], game + "data\\equipment\\*.*");
}

TEST(ReadOnlyClearingTest, ClearsOnlyTheNamedFolders) {
    FakeInstallation installation;
    const std::string data = "C:\\Games\\Rainbow Six\\data\\";
    struct Case {
        std::string file;
        bool cleared;
    };
    const Case cases[] = {
        {"C:\\Games\\Rainbow Six\\RainbowSix.exe", true},
        {data + "bitmap\\title.bmp", true},
        {data + "equipment\\primarymp.itm", true},
        {data + "mission\\m01.mis", true},
        {data + "text\\equipment\\english\\equipment.txt", true},
        {data + "sound\\shot.wav", true},
        {data + "sound\\english\\radio.wav", true},
        {data + "actor\\tango.act", true},
        {data + "texture\\wall.rsb", true},
        {data + "text\\interface\\english\\menu.txt", true},
        {data + "bitmap\\noextension", true},  // "*.*" matches names without a dot
        {data + "bitmap\\.hidden", true},
        {data + "text\\notes.txt", false},                 // TextPath is not touched
        {data + "sound\\music\\theme.wav", false},         // nor ActionMusicPath
        {data + "bitmap\\english\\title.bmp", false},      // no recursion
        {data + "text\\equipment\\equipment.txt", false},  // only its english folder
    };
    for (const auto& test : cases) {
        WriteReadOnly(installation, test.file);
    }
    const fs::path folder = installation.UnixPath(data + "bitmap\\sub");
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    ASSERT_TRUE(ClearGameReadOnlyFiles(installation.prefix(), PathsOf(installation)));
    for (const auto& test : cases) {
        EXPECT_EQ(platform::IsReadOnly(installation.UnixPath(test.file)), !test.cleared)
            << test.file;
    }
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(fs::exists(installation.UnixPath(data + "bitmap\\.hidden")));
    fs::permissions(folder, fs::perms::owner_all);
}

TEST(ReadOnlyClearingTest, WritableFilesAreNotTouched) {
    FakeInstallation installation;
    const fs::path file =
        installation.WriteFile("C:\\Games\\Rainbow Six\\data\\bitmap\\a.bmp", "data");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ASSERT_TRUE(
        ClearReadOnlyFiles(installation.prefix(), "C:\\Games\\Rainbow Six\\data\\bitmap\\*.*"));
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

// A file whose mark cannot be cleared stops everything after it. The kernel
// refuses mode changes of /proc/sys entries even to root, so a drive mapped
// there gives such files without touching anything real.
TEST(ReadOnlyClearingTest, FileThatCannotBeClearedStopsTheClearing) {
    FakeInstallation installation;
    std::error_code error;
    fs::create_directory_symlink("/proc/sys/kernel",
                                 installation.prefix().folder / "dosdevices" / "q:", error);
    if (error || !platform::IsReadOnly("/proc/sys/kernel/osrelease")) {
        GTEST_SKIP() << "no read-only /proc/sys/kernel here";
    }
    GamePaths paths = PathsOf(installation);
    paths.m_strEquipmentPath = "Q:";  // second pattern
    const fs::path before = WriteReadOnly(installation, paths.m_strBitmapPath + "\\a.bmp");
    const fs::path after = WriteReadOnly(installation, paths.m_strMissionPath + "\\m.mis");

    const platform::Status status = ClearGameReadOnlyFiles(installation.prefix(), paths);
    ASSERT_FALSE(status);
    EXPECT_FALSE(status.error().Describe().empty());
    EXPECT_FALSE(status.error().what.empty());
    EXPECT_FALSE(platform::IsReadOnly(before));  // cleared before the failure stays cleared
    EXPECT_TRUE(platform::IsReadOnly(after));    // nothing after it is touched
    const std::string message = DescribeClearingFailure(status.error());
    EXPECT_NE(message.find(status.error().what), std::string::npos);
}

}  // namespace
}  // namespace varnopts
