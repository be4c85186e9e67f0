// The fake installations every other test stands on: their registry file must
// be what Wine writes, and they must vanish without touching anything else.
#include "support/fake_installation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(FakeInstallation, WritesTheRegistryAsWineDoes) {
    testsupport::InstallationOptions options;
    options.eagleWatch = true;
    options.devMode = true;
    testsupport::FakeInstallation install(options);
    const std::string reg = ReadAll(install.systemReg());

    EXPECT_EQ(reg.rfind("WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
                        "#arch=win64\n",
                        0),
              0u);
    const std::string game =
        "\n[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] "
        "1700000000\n#time=";
    ASSERT_TRUE(Contains(reg, game));
    // Values sorted by name without regard to case, as Wine keeps them.
    const std::size_t values = reg.find('\n', reg.find("#time=", reg.find(game))) + 1;
    EXPECT_EQ(reg.substr(values, reg.find("\n\n", values) - values),
              "\"ActionMusicPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\sound\\\\music\"\n"
              "\"ActorPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\actor\"\n"
              "\"BitmapPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\bitmap\"\n"
              "\"EquipmentPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\equipment\"\n"
              "\"EquipTextPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\text\\\\equipment\"\n"
              "\"InstallationPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\\"\n"
              "\"MissionPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\mission\"\n"
              "\"MouseRadiansPerPixel\"=\"0.008727\"\n"
              "\"ShellTextPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\text\\\\interface\"\n"
              "\"SoundPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\sound\"\n"
              "\"TextPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\text\"\n"
              "\"TexturePath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\texture\"\n"
              "\"VARNDEV\"=\"\"");
    // The expansion's key has no values: the key line and its time only.
    EXPECT_TRUE(Contains(reg,
                         "\n[Software\\\\Wow6432Node\\\\Red Storm Entertainment\\\\Tom Clancy's "
                         "Rainbow Six: Eagle Watch] 1700000000\n#time=1da1762b5b2a400\n\n"));
    EXPECT_TRUE(Contains(reg,
                         "\n[Software\\\\Wow6432Node\\\\TORV\\\\VARN MOD 2.0] 1700000000\n"
                         "#time=1da1762b5b2a400\n\"InstallPath\"=\"C:\\\\VARN\"\n"));
    EXPECT_LT(reg.find("Rainbow Six]"), reg.find("Rainbow Six: Eagle Watch]"));
    EXPECT_LT(reg.find("Eagle Watch]"), reg.find("TORV"));

    // Every folder value names a folder that exists.
    for (const auto& [name, value] : testsupport::DefaultGameValues()) {
        if (name != "MouseRadiansPerPixel") {
            EXPECT_TRUE(fs::is_directory(install.UnixPath(install.GameValue(name)))) << name;
        }
    }
    EXPECT_TRUE(fs::is_directory(install.UnixPath("C:\\VARN")));
}

TEST(FakeInstallation, Win32PrefixesKeepSoftwareKeysInPlace) {
    testsupport::InstallationOptions options;
    options.win64 = false;
    options.modKey = false;
    options.gameValues["TextPath"] = std::nullopt;
    testsupport::FakeInstallation install(options);
    const std::string reg = ReadAll(install.systemReg());

    EXPECT_TRUE(Contains(reg, "\n#arch=win32\n"));
    EXPECT_FALSE(Contains(reg, "Wow6432Node"));
    EXPECT_TRUE(
        Contains(reg, "\n[Software\\\\Red Storm Entertainment\\\\Tom Clancy's Rainbow Six] "));
    EXPECT_FALSE(Contains(reg, "TORV"));
    EXPECT_FALSE(Contains(reg, "\"TextPath\""));
    EXPECT_FALSE(Contains(reg, "VARNDEV"));
    EXPECT_FALSE(install.prefix().win64);
}

TEST(FakeInstallation, EscapesTextAsWineDoes) {
    struct Case {
        std::string text;
        std::string written;
    };
    const Case cases[] = {
        {"C:\\VARN", "\"C:\\\\VARN\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"Caf\xe9", "\"Caf\\xe9\""},
        {"Caf\xe9"
         "1",
         "\"Caf\\x00e91\""},  // a hex digit after the escape: four digits
        {"Caf\xe9"
         "x",
         "\"Caf\\xe9x\""},
        {"\x80", "\"\\x20ac\""},  // the UTF-16 unit, not the byte
        {"a\tb\nc", "\"a\\tb\\nc\""},
        {std::string("\x01", 1) + "7", "\"\\0017\""},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(testsupport::WineStringValue(each.text), each.written) << each.written;
    }

    testsupport::InstallationOptions options;
    options.gameValues["EquipmentPath"] = "C:\\Jeux\\\xc9quipement";
    testsupport::FakeInstallation install(options);
    EXPECT_TRUE(Contains(ReadAll(install.systemReg()),
                         "\"EquipmentPath\"=\"C:\\\\Jeux\\\\\\xc9quipement\"\n"));
    EXPECT_TRUE(fs::is_directory(install.prefix().folder / "drive_c" / "Jeux" / "Équipement"));
}

TEST(FakeInstallation, AddsValuesAndKeysLater) {
    testsupport::FakeInstallation install;
    install.AddRegistryValue(testsupport::ModKeyName(), "InstallPath",
                             "str(2):\"%ProgramFiles%\\\\VARN\"");
    install.AddRegistryValue(testsupport::GameKeyName(), "VARNDEV", "dword:00000001");
    install.AddRegistryKey(testsupport::EagleWatchKeyName());
    const std::string reg = ReadAll(install.systemReg());

    EXPECT_TRUE(Contains(reg, "\"InstallPath\"=str(2):\"%ProgramFiles%\\\\VARN\"\n"));
    EXPECT_FALSE(Contains(reg, "\"InstallPath\"=\"C:"));
    EXPECT_TRUE(Contains(reg,
                         "\"TextPath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\text\"\n"
                         "\"TexturePath\"=\"C:\\\\Games\\\\Rainbow Six\\\\data\\\\texture\"\n"
                         "\"VARNDEV\"=dword:00000001\n"));
    EXPECT_TRUE(Contains(reg, "Tom Clancy's Rainbow Six: Eagle Watch] 1700000000\n"));
}

TEST(FakeInstallation, PlacesFilesWithTheLetterCaseGiven) {
    testsupport::FakeInstallation install;
    const fs::path file =
        install.WriteFile("C:\\GAMES\\Rainbow Six\\Data\\Kit\\PrimaryMP.ITM", "\"a\"\r\n");
    EXPECT_EQ(file,
              install.prefix().folder / "dosdevices/c:/GAMES/Rainbow Six/Data/Kit/PrimaryMP.ITM");
    EXPECT_TRUE(
        fs::exists(install.prefix().folder / "drive_c/GAMES/Rainbow Six/Data/Kit/PrimaryMP.ITM"));
    EXPECT_EQ(install.ReadFile("C:\\GAMES\\Rainbow Six\\Data\\Kit\\PrimaryMP.ITM"), "\"a\"\r\n");
    EXPECT_TRUE(fs::is_symlink(install.prefix().folder / "dosdevices" / "c:"));
    EXPECT_EQ(fs::read_symlink(install.prefix().folder / "dosdevices" / "c:"), "../drive_c");
    EXPECT_EQ(fs::read_symlink(install.prefix().folder / "dosdevices" / "z:"), "/");
}

TEST(FakeInstallation, RemovesOnlyItselfEvenWhenFoldersWereLocked) {
    testsupport::TemporaryFolder outside;
    const fs::path sentinel = outside.path() / "keep.txt";
    std::ofstream(sentinel) << "x";

    fs::path root;
    {
        testsupport::FakeInstallation install;
        root = install.root();
        const fs::path kit = install.UnixPath(install.GameValue("EquipmentPath"));
        install.WriteFile(install.GameValue("EquipmentPath") + "\\primarymp.itm", "x");
        fs::permissions(kit, fs::perms::owner_read | fs::perms::owner_exec);
        fs::create_symlink(outside.path(), install.prefix().folder / "drive_c" / "elsewhere");
    }
    EXPECT_FALSE(fs::exists(root));
    EXPECT_TRUE(fs::exists(sentinel));
}

}  // namespace
