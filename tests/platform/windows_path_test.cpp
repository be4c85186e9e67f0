// Windows names on the prefix: code page, paths in any case with "." and "..", the current
// folder named back, the read-only mark (listings: where varnopts clears read-only marks).

#include "platform/windows_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <numeric>

#include "platform/codepage.h"
#include "platform/file_search.h"

#include "support/fake_installation.h"

namespace {

namespace fs = std::filesystem;

// Both ways; unassigned bytes are C1 controls, so every byte survives the round trip; what
// the code page cannot hold becomes one '?' per character or bad byte.
TEST(Codepage, ConvertsBothWaysAndEveryByteSurvivesTheRoundTrip) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"Caf\xe9", "Café", true},
        {"\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8e", "€‚ƒ„…†‡ˆ‰Š‹ŒŽ", true},
        {"\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9e\x9f", "‘’“”•–—˜™š›œžŸ", true},
        {"\xa0\xa9\xbf\xd7\xdf\xf7\xff", "\u00a0©¿×ß÷ÿ", true},
        {"\x81\x8d\x8f\x90\x9d", "\u0081\u008d\u008f\u0090\u009d", true},
        {"??a?bx?y", "日本a\u0080bx😀y", false},
        {"a??|?(|?|??|???|????", "a\xe2\x82|\xc3(|\xa9|\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80",
         false},
    };
    for (const auto& [cp1252, utf8, bothWays] : cases) {
        EXPECT_EQ(platform::Utf8ToCp1252(utf8), cp1252) << testing::PrintToString(utf8);
        if (bothWays) {
            EXPECT_EQ(platform::Cp1252ToUtf8(cp1252), utf8);
        }
    }
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');  // every byte
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

// Windows paths to Unix ones and the current folder back.
TEST(WindowsPath, ResolvesOnTheDrivesWhateverTheCaseAndNamesTheCurrentFolder) {
    testsupport::FakeInstallation install;
    for (const char* file :
         {"C:\\Games\\Rainbow Six\\data\\kit\\PrimaryMP.itm", "C:\\Games\\Caf\xe9\\Men\xfc.txt",
          "C:\\Twins\\Data\\upper.txt", "C:\\Twins\\data\\lower.txt"}) {
        install.WriteFile(file, "x");
    }
    const auto drive = [&](const std::string& rest) {
        return install.prefix().folder / "dosdevices" / rest;
    };
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
        EXPECT_EQ(platform::ResolveWindowsPath(install.prefix(), windows), drive(unix)) << windows;
    }
    fs::create_directory_symlink("../drive_c/Games", drive("d:"));  // a drive inside another
    const std::pair<fs::path, std::string> folders[] = {
        {drive("c:"), "C:\\"},
        {drive("c:/Games"), "D:\\"},  // the longest match
        {drive("c:/Games/Café"), "D:\\Caf\xe9"},
        {install.root(),
         "Z:" + fs::canonical(install.root()).string()},  // outside every drive but z:
    };
    const fs::path previous = fs::current_path();
    for (const auto& [folder, windows] : folders) {
        std::string expected = windows;
        std::replace(expected.begin(), expected.end(), '/', '\\');
        fs::current_path(fs::canonical(folder));
        EXPECT_EQ(platform::CurrentDirectoryAsWindowsPath(install.prefix()), expected);
    }
    fs::current_path(previous);
}

TEST(FileSearch, ClearsReadOnlyAsWineDoes) {
    const std::tuple<mode_t, mode_t, unsigned> cases[] = {
        // mode, umask, mode then
        {0444, 022, 0644}, {0400, 022, 0600},  {0555, 002, 0775},
        {0440, 077, 0640}, {0444, 0222, 0644},  // whatever the umask
        {0464, 022, 0464},                      // a write bit: not read-only, left alone
    };
    testsupport::TemporaryFolder folder;
    const fs::path file = folder.path() / "primarymp.itm";
    for (const auto& [mode, umask, expected] : cases) {
        std::ofstream(file) << "x";
        ::chmod(file.c_str(), mode);
        const mode_t previous = ::umask(umask);
        ASSERT_TRUE(platform::ClearReadOnly(file).ok());
        ::umask(previous);
        EXPECT_EQ(fs::status(file).permissions(), fs::perms(expected)) << std::oct << mode << umask;
    }
    EXPECT_EQ(platform::ClearReadOnly(folder.path() / "gone").error().Describe(),
              (folder.path() / "gone").string() + ": No such file or directory");
}

}  // namespace
