#include "support/fake_installation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>

#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/registry.h"

namespace fs = std::filesystem;
using platform::FoldCaseCp1252;

namespace testsupport {
namespace {

void RemoveTree(const fs::path& root) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::remove_all(root, error);
}

// With a backslash before '\\' and '"' (the fake prefix's names and values are ASCII).
std::string Escaped(const std::string& text) {
    static const std::regex special(R"([\\"])");
    return std::regex_replace(text, special, R"(\$&)");
}

// A key's block of system.reg, under Wow6432Node in a 64-bit prefix.
std::string KeyBlock(std::string key, bool win64,
                     const std::map<std::string, std::string>& values) {
    key.erase(key.find_last_not_of('\\') + 1);  // Wine stores key names without it
    if (win64 && FoldCaseCp1252(key.substr(0, 9)) == "software\\") {
        key = "Software\\Wow6432Node\\" + key.substr(9);
    }
    std::string block = "\n[" + Escaped(key) + "] 1700000000\n#time=1da1762b5b2a400\n";
    for (const auto& [name, value] : values) {
        block += "\"" + Escaped(name) + "\"=\"" + Escaped(value) + "\"\n";
    }
    return block;
}

}  // namespace

TemporaryFolder::TemporaryFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("cannot create a temporary folder");
        std::abort();  // no test may go on to write somewhere real
    }
    path_ = pattern;
}

TemporaryFolder::TemporaryFolder() : TemporaryFolder("lw-test") {
    static const TemporaryFolder dataHome("lw-data-home");
    [[maybe_unused]] static const int once = ::setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
}

TemporaryFolder::~TemporaryFolder() {
    RemoveTree(path_);
}

FakeInstallation::FakeInstallation(const InstallationOptions& options) {
    prefix_.folder = root_.path() / "prefix";
    prefix_.win64 = options.win64;
    fs::create_directories(prefix_.folder / "dosdevices");
    fs::create_directories(prefix_.folder / "drive_c");
    fs::create_directory_symlink("../drive_c", prefix_.folder / "dosdevices" / "c:");
    fs::create_directory_symlink("/", prefix_.folder / "dosdevices" / "z:");
    const std::string game = "C:\\Games\\Rainbow Six\\";
    gameValues_ = {{"InstallationPath", game},
                   {"MouseRadiansPerPixel", "0.008727"},
                   {"ActionMusicPath", game + "data\\sound\\music"},
                   {"EquipTextPath", game + "data\\text\\equipment"},
                   {"ShellTextPath", game + "data\\text\\interface"}};
    for (auto name : {"Actor", "Bitmap", "Equipment", "Mission", "Sound", "Text", "Texture"}) {
        gameValues_[std::string(name) + "Path"] = game + "data\\" + FoldCaseCp1252(name);
    }
    if (options.devMode) {
        gameValues_["VARNDEV"] = "";
    }
    for (const auto& [name, value] : options.gameValues) {
        gameValues_.erase(name);
        if (value) {
            gameValues_.emplace(name, *value);
        }
    }
    std::ofstream registry(systemReg(), std::ios::binary);
    registry << "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch="
             << (options.win64 ? "win64" : "win32") << "\n";
    // A key every prefix has, so that nothing relies on the game's being alone.
    registry << KeyBlock(
        "Software\\Microsoft\\Windows\\CurrentVersion", options.win64,
        {{"ProgramFilesDir", options.win64 ? "C:\\Program Files (x86)" : "C:\\Program Files"}});
    if (options.gameKey) {
        registry << KeyBlock(GameKeyName(), options.win64, gameValues_);
        std::error_code error;  // the game's folders, as its installer leaves them
        for (const auto& [name, value] : gameValues_) {
            if (name.ends_with("Path") && FoldCaseCp1252(value.substr(0, 3)) == "c:\\") {
                fs::create_directories(UnixPath(value), error);
            }
        }
    }
    if (options.eagleWatch) {
        registry << KeyBlock(GameKeyName().insert(GameKeyName().size() - 1, ": Eagle Watch"),
                             options.win64, {});
    }
    if (options.modKey) {
        registry << KeyBlock(ModKeyName(), options.win64, {{"InstallPath", options.modFolder}});
        fs::create_directories(UnixPath(options.modFolder));
    }
}

fs::path FakeInstallation::UnixPath(const std::string& windowsPath) const {
    const bool drive = windowsPath.size() >= 2 && windowsPath[1] == ':';
    std::string path = platform::Cp1252ToUtf8(windowsPath.substr(drive ? 2 : 0));
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string letter = drive ? FoldCaseCp1252(windowsPath.substr(0, 1)) : "c";
    path = (fs::path(letter + ":") / fs::path(path).relative_path()).lexically_normal();
    return prefix_.folder / "dosdevices" / path.substr(0, path.find_last_not_of('/') + 1);
}

fs::path FakeInstallation::WriteFile(const std::string& windowsPath, const std::string& content) {
    const fs::path file = UnixPath(windowsPath);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::string FileBytes(const fs::path& file) {
    const auto read = platform::ReadWholeFile(file);
    EXPECT_TRUE(read.ok()) << "cannot read " << file;
    return read.ok() ? *read : "";
}

void FakeInstallation::AddRegistryKey(const std::string& key) {
    std::ofstream(systemReg(), std::ios::app | std::ios::binary)
        << KeyBlock(key, prefix_.win64, {});
}

std::string QueryValue(const platform::WinePrefix& prefix, const std::string& key,
                       const std::string& name, std::uint32_t size) {
    using enum platform::RegStatus;
    platform::RegistryKey handle;
    std::string buffer(size, '\0');
    if (platform::RegOpenKey(prefix, key, platform::KeyAccess::QueryValue, handle) != Success) {
        return "<no key>";
    }
    const auto status = platform::RegQueryValue(handle, name, buffer.data(), size).status();
    return status == Success    ? buffer.substr(0, size)
           : status == MoreData ? "<more data: " + std::to_string(size) + ">"
                                : "<no value>";
}

Kit SmallKit() {
    return {{
        {{"rook.txt", "Rook Carbine", true, "30", "A short carbine."},
         {"harrow.txt", "Harrow SMG", false, "25", "A compact submachine gun."},
         {"vesper.txt", "Vesper \xE0 pompe", true, "8", ""}},
        {{"lyra9.txt", "Lyra 9", true, "15", "A pistol."},
         {"vole32.txt", "Vole .32", false, "7", "A small pistol."}},
        {{"medkit.txt", "Medical kit", false, "", "Heals."},
         {"flash.txt", "Flash bang", true, "", "Blinds."}},
    }};
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

KitInstallation::KitInstallation(const Kit& kit, InstallationOptions options)
    : FakeInstallation(std::move(options)) {
    std::vector<std::string> names = {"// names", "\"Nobody\""};
    for (int tab = 0; tab < 3; ++tab) {
        std::vector<std::string> itemLines = {"// multiplayer items", "\"header\" \"x\" \"y\""};
        std::vector<std::string> kitLines = {"// kit list"};
        for (const KitItem& item : kit[tab]) {
            const std::string mark = item.active ? "" : "//";
            const std::string stem = item.key.substr(0, item.key.find('.'));
            itemLines.push_back(mark + "\"" + item.key + "\" \"" + stem + "\" \"" + stem +
                                ".atr\"");
            kitLines.push_back(mark + "\"" + item.key + "\"");
            std::vector<std::string> data(19, "0 // unused");
            data[0] = std::to_string(names.size() - 1) + " // name";
            data[2] = item.mag + " // magazine";
            data[3] = "600 // rate of fire";
            data[14] = "0.6 // accuracy";
            data[15] = "1.6 // recoil";
            data[16] = "1.2 // reticle";
            data[18] = "2 // zoom";
            WriteFile(EquipmentFile(stem + ".atr"), CrLfLines(data));
            names.push_back("\"" + item.name + "\"");
            if (!item.description.empty()) {
                WriteFile(TextFile(item.key), item.description + "\r\n");
            }
        }
        WriteFile(ItemFile(tab), CrLfLines(itemLines));
        WriteFile(KitList(tab), CrLfLines(kitLines));
    }
    WriteFile(TextFile("equipment.txt"), CrLfLines(names));
}

std::vector<std::string> KitInstallation::KitFiles() const {
    std::vector<std::string> files;
    for (int file = 0; file < 6; ++file) {
        files.push_back(ReadFile(KitFile(file)));
    }
    return files;
}

}  // namespace testsupport
