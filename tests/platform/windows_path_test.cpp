// Windows paths on the prefix's drives: any letter case, "." and "..",
// Windows-1252 names stored as UTF-8, and the current folder named back.

#include "platform/windows_path.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_installation.h"

namespace {

namespace fs = std::filesystem;

class WindowsPath : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file :
             {"C:\\Games\\Rainbow Six\\data\\kit\\PrimaryMP.itm", "C:\\Games\\Caf\xe9\\Men\xfc.txt",
              "C:\\Twins\\Data\\upper.txt", "C:\\Twins\\data\\lower.txt"}) {
            install_.WriteFile(file, "x");
        }
    }
    fs::path Drive(const std::string& rest) const {
        return install_.prefix().folder / "dosdevices" / rest;
    }
    // Runs in folder as the current directory.
    template <typename Check>
    void In(const fs::path& folder, Check check) {
        const fs::path previous = fs::current_path();
        fs::current_path(folder);
        check();
        fs::current_path(previous);
    }

    testsupport::FakeInstallation install_;
};

TEST_F(WindowsPath, ResolvesOnTheDrivesWhateverTheCase) {
    const std::pair<std::string, fs::path> cases[] = {
        {"C:\\Games\\Rainbow Six\\data\\kit\\PrimaryMP.itm",
         "c:/Games/Rainbow Six/data/kit/PrimaryMP.itm"},
        {"c:\\GAMES\\rainbow six\\DATA\\Kit\\primarymp.ITM",
         "c:/Games/Rainbow Six/data/kit/PrimaryMP.itm"},
        {"C:\\\\Games\\\\\\Rainbow Six\\data", "c:/Games/Rainbow Six/data"},
        {"C:\\Games\\.\\Rainbow Six\\..\\rainbow six\\data", "c:/Games/Rainbow Six/data"},
        {"C:\\..\\..\\games", "c:/Games"},  // never above the drive's root
        {"C:\\games\\rainbow six\\New\\New.TXT", "c:/Games/Rainbow Six/New/New.TXT"},  // to create
        {"C:\\GAMES\\CAF\xc9\\MEN\xdc.TXT", "c:/Games/Café/Menü.txt"},
        {"C:\\Twins\\data\\lower.txt", "c:/Twins/data/lower.txt"},  // the exact spelling wins,
        {"C:\\Twins\\Data\\upper.txt", "c:/Twins/Data/upper.txt"},
        {"C:\\Twins\\DATA", "c:/Twins/Data"},  // else the smallest name, every time
        {"q:\\..\\..\\etc", "q:/etc"},         // a drive without a link: nothing there
        {std::string("C:\\Twins\\Data\0\\..\\..\\etc", 24), "c:/Twins/Data"},  // ends at a NUL
    };
    for (const auto& [windows, unix] : cases) {
        EXPECT_EQ(platform::ResolveWindowsPath(install_.prefix(), windows), Drive(unix)) << windows;
    }
    const fs::path kit = fs::canonical(Drive("c:/Games/Rainbow Six/data/kit"));
    In(kit, [&] {
        const std::pair<std::string, fs::path> relative[] = {
            {".\\PRIMARYMP.ITM", kit / "PrimaryMP.itm"},
            {"..\\KIT\\new.txt", kit / "new.txt"},
            {"\\games\\caf\xe9", Drive("c:/Games/Café")},  // rooted: the current drive's root
            {"C:primarymp.itm", kit / "PrimaryMP.itm"},    // the current folder on that drive
        };
        for (const auto& [windows, unix] : relative) {
            EXPECT_EQ(
                fs::weakly_canonical(platform::ResolveWindowsPath(install_.prefix(), windows)),
                fs::weakly_canonical(unix))
                << windows;
        }
    });
}

TEST_F(WindowsPath, NamesTheCurrentFolderOnTheDriveThatHoldsIt) {
    fs::create_directory_symlink("../drive_c/Games", Drive("d:"));  // a drive inside another
    const std::pair<fs::path, std::string> cases[] = {
        {Drive("c:"), "C:\\"},
        {Drive("c:/Twins/Data"), "C:\\Twins\\Data"},
        {Drive("c:/Games"), "D:\\"},  // the longest match
        {Drive("c:/Games/Café"), "D:\\Caf\xe9"},
        {install_.prefix().folder / "drive_c" / "Twins", "C:\\Twins"},
        {install_.root(),
         "Z:" + fs::canonical(install_.root()).string()},  // outside every drive but z:
    };
    for (const auto& [folder, windows] : cases) {
        std::string expected = windows;
        std::replace(expected.begin(), expected.end(), '/', '\\');
        In(fs::canonical(folder), [&] {
            EXPECT_EQ(platform::CurrentDirectoryAsWindowsPath(install_.prefix()), expected);
        });
    }
}

}  // namespace
