// Finding files by Windows wildcards, and clearing the read-only mark as
// Wine does.

#include "platform/file_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/fake_installation.h"

namespace {

namespace fs = std::filesystem;

TEST(FileSearch, PatternsMatchAsOnWindows) {
    testsupport::FakeInstallation install;
    const std::string kit = "C:\\Games\\Rainbow Six\\data\\equipment\\";
    for (const char* name :
         {"primarymp.itm", "SecondaryMP.ITM", "special.txt", "README", "Caf\xe9.dat"}) {
        install.WriteFile(kit + name, "x\r\n");
    }
    fs::create_directory(install.UnixPath(kit + "Sub"));
    fs::permissions(install.UnixPath(kit + "special.txt"), fs::perms(0444));
    using Names = std::vector<std::string>;
    const Names all = {"Caf\xe9.dat", "README",        "SecondaryMP.ITM",
                       "Sub",         "primarymp.itm", "special.txt"};
    const std::pair<std::string, Names> cases[] = {
        {"c:/games/RAINBOW SIX/data/equipment/*.*", all},  // names without a dot too
        {kit + "?econdary*.*", {"SecondaryMP.ITM"}},
        {kit + "caf\xc9.*", {"Caf\xe9.dat"}},
        {kit + "PRIMARYMP.ITM", {"primarymp.itm"}},  // as spelled on disk
        {"C:\\Games\\Nowhere\\*.*", {}},
    };
    for (const auto& [pattern, names] : cases) {
        Names found;
        for (const platform::FoundFile& file : platform::FindFiles(install.prefix(), pattern)) {
            found.push_back(file.name);
            EXPECT_EQ(file.isFolder, file.name == "Sub");
            EXPECT_EQ(file.isReadOnly, file.name == "special.txt");
            EXPECT_EQ(file.path, install.UnixPath(kit + file.name));
        }
        EXPECT_EQ(found, names) << pattern;
    }
}

TEST(FileSearch, ClearsReadOnlyAsWineDoesLeavingFoldersAlone) {
    struct Case {
        unsigned mode, umask, expected;
    };
    const Case cases[] = {
        {0444, 022, 0644}, {0400, 022, 0600},  {0555, 002, 0775},
        {0440, 077, 0640}, {0444, 0222, 0644},  // whatever the umask
        {0464, 022, 0464},                      // a write bit: not read-only, left alone
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "primarymp.itm";
    for (const Case& c : cases) {
        std::ofstream(file) << "x";
        ::chmod(file.c_str(), c.mode);
        const mode_t previous = ::umask(c.umask);
        ASSERT_TRUE(platform::ClearReadOnly(file).ok());
        ::umask(previous);
        EXPECT_EQ(fs::status(file).permissions(), fs::perms(c.expected))
            << std::oct << c.mode << " " << c.umask;
    }
    fs::create_directory(folder.path() / "sub");
    ::chmod((folder.path() / "sub").c_str(), 0555);
    ASSERT_TRUE(platform::ClearReadOnly(folder.path() / "sub").ok());
    EXPECT_EQ(fs::status(folder.path() / "sub").permissions(), fs::perms(0555));
    EXPECT_EQ(platform::ClearReadOnly(folder.path() / "gone").error().Describe(),
              (folder.path() / "gone").string() + ": No such file or directory");
}

}  // namespace
