#include "platform/windows_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/fake_installation.h"

namespace fs = std::filesystem;

namespace {

// Changes the process's current directory for one test and puts it back.
class CurrentDirectoryScope {
  public:
    explicit CurrentDirectoryScope(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentDirectoryScope() { fs::current_path(previous_); }

  private:
    fs::path previous_;
};

class WindowsPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        install_.WriteFile("C:\\Games\\Rainbow Six\\data\\equipment\\PrimaryMP.itm", "x");
        install_.WriteFile("C:\\Games\\Caf\xe9\\Men\xfc.txt", "x");
        install_.WriteFile("C:\\Twins\\Data\\upper.txt", "x");
        install_.WriteFile("C:\\Twins\\data\\lower.txt", "x");
    }

    fs::path Drive(const std::string& rest) const {
        return install_.prefix().folder / "dosdevices" / rest;
    }

    testsupport::FakeInstallation install_;
};

TEST_F(WindowsPathTest, AbsolutePathsResolveOnTheDrives) {
    struct Case {
        const char* windows;
        const char* unix;  // below <prefix>/dosdevices
    };
    const Case cases[] = {
        // exact spelling
        {"C:\\Games\\Rainbow Six\\data\\equipment\\PrimaryMP.itm",
         "c:/Games/Rainbow Six/data/equipment/PrimaryMP.itm"},
        // every component in the wrong case, drive letter too
        {"c:\\GAMES\\rainbow six\\DATA\\Equipment\\primarymp.ITM",
         "c:/Games/Rainbow Six/data/equipment/PrimaryMP.itm"},
        // forward slashes, trailing separator, doubled separators
        {"C:/games/Rainbow Six/data/", "c:/Games/Rainbow Six/data"},
        {"C:\\Games\\Rainbow Six\\data\\", "c:/Games/Rainbow Six/data"},
        {"C:\\\\Games\\\\\\Rainbow Six\\data", "c:/Games/Rainbow Six/data"},
        // "." and "..", never above the drive's root
        {"C:\\Games\\.\\Rainbow Six\\..\\rainbow six\\data", "c:/Games/Rainbow Six/data"},
        {"C:\\..\\..\\games", "c:/Games"},
        {"C:\\", "c:"},
        {"C:", "c:"},
        // a missing tail keeps its spelling: that is where a new file goes
        {"C:\\games\\rainbow six\\NewFolder\\New.TXT", "c:/Games/Rainbow Six/NewFolder/New.TXT"},
        {"C:\\Missing\\games", "c:/Missing/games"},
        // Windows-1252 names are UTF-8 on disk, matched without regard to case
        {"C:\\Games\\Caf\xe9\\Men\xfc.txt", "c:/Games/Café/Menü.txt"},
        {"C:\\GAMES\\CAF\xc9\\MEN\xdc.TXT", "c:/Games/Café/Menü.txt"},
        {"C:\\Games\\Caf\xe9\\Nouveau\xe9.txt", "c:/Games/Café/Nouveaué.txt"},
        // the exact spelling wins; otherwise the smallest name, every time
        {"C:\\Twins\\data\\lower.txt", "c:/Twins/data/lower.txt"},
        {"C:\\Twins\\Data\\upper.txt", "c:/Twins/Data/upper.txt"},
        {"C:\\Twins\\DATA", "c:/Twins/Data"},
        // a drive without a link names a path that does not exist
        {"Q:\\Games\\file.txt", "q:/Games/file.txt"},
        {"q:\\..\\..\\etc", "q:/etc"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(platform::ResolveWindowsPath(install_.prefix(), each.windows), Drive(each.unix))
            << each.windows;
    }
    EXPECT_FALSE(fs::exists(platform::ResolveWindowsPath(install_.prefix(), "Q:\\Games")));

    // The path ends at a NUL, as a Windows program's string does.
    const std::string withNul("C:\\Twins\\Data\0\\..\\..\\etc", 24);
    EXPECT_EQ(platform::ResolveWindowsPath(install_.prefix(), withNul), Drive("c:/Twins/Data"));
}

TEST_F(WindowsPathTest, RelativePathsResolveAgainstTheCurrentDirectory) {
    const fs::path equipment = fs::canonical(Drive("c:/Games/Rainbow Six/data/equipment"));
    CurrentDirectoryScope scope(equipment);

    struct Case {
        const char* windows;
        fs::path unix;
    };
    const Case cases[] = {
        {"primarymp.itm", equipment / "PrimaryMP.itm"},
        {".\\PRIMARYMP.ITM", equipment / "PrimaryMP.itm"},
        {"", equipment},
        {"..\\EQUIPMENT\\PrimaryMP.itm", equipment / "PrimaryMP.itm"},
        {"..\\..\\..\\caf\xe9", equipment.parent_path().parent_path().parent_path() / "Café"},
        {"new.txt", equipment / "new.txt"},
        // rooted without a drive: the current drive's root
        {"\\games\\caf\xe9", Drive("c:/Games/Café")},
        // a drive without a separator: the current directory when it lies on that drive
        {"C:primarymp.itm", Drive("c:/Games/Rainbow Six/data/equipment/PrimaryMP.itm")},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(
            fs::weakly_canonical(platform::ResolveWindowsPath(install_.prefix(), each.windows)),
            fs::weakly_canonical(each.unix))
            << each.windows;
    }
}

TEST_F(WindowsPathTest, CurrentDirectoryIsNamedOnTheDriveThatHoldsIt) {
    // A second drive inside the first: the longest match names the folder.
    fs::create_directory_symlink("../drive_c/Games", Drive("d:"));
    testsupport::TemporaryFolder outside;
    fs::create_directories(outside.path() / "Données");

    struct Case {
        fs::path folder;
        const char* windows;
    };
    const Case cases[] = {
        {Drive("c:"), "C:\\"},
        {Drive("c:/Twins/Data"), "C:\\Twins\\Data"},
        {Drive("c:/Games"), "D:\\"},
        {Drive("c:/Games/Rainbow Six/data"), "D:\\Rainbow Six\\data"},
        {Drive("c:/Games/Café"), "D:\\Caf\xe9"},
        {install_.prefix().folder / "drive_c" / "Twins", "C:\\Twins"},
    };
    for (const Case& each : cases) {
        CurrentDirectoryScope scope(each.folder);
        EXPECT_EQ(platform::CurrentDirectoryAsWindowsPath(install_.prefix()), each.windows)
            << each.folder;
    }

    // Outside every drive but z: (linked to /).
    const fs::path real = fs::canonical(outside.path() / "Données");
    std::string expected = "Z:";
    for (const auto& part : real.relative_path()) {
        expected += "\\" + part.string();
    }
    expected.replace(expected.find("Données"), std::string("Données").size(),
                     "Donn\xe9"
                     "es");
    CurrentDirectoryScope scope(real);
    EXPECT_EQ(platform::CurrentDirectoryAsWindowsPath(install_.prefix()), expected);

    // Without a z: link the path is still named on Z:.
    fs::remove(Drive("z:"));
    EXPECT_EQ(platform::CurrentDirectoryAsWindowsPath(install_.prefix()), expected);
}

TEST_F(WindowsPathTest, UnixAndWindowsPathsRoundTrip) {
    const char* paths[] = {"C:\\Games\\Rainbow Six\\data\\equipment\\PrimaryMP.itm",
                           "C:\\Games\\Caf\xe9\\Men\xfc.txt", "C:\\Twins\\Data"};
    for (const char* windows : paths) {
        const fs::path unix = platform::ResolveWindowsPath(install_.prefix(), windows);
        EXPECT_EQ(platform::UnixToWindowsPath(install_.prefix(), unix), windows);
    }
}

}  // namespace
