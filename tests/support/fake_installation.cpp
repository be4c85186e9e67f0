#include "support/fake_installation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/codepage.h"
#include "support/private_data_home.h"

namespace fs = std::filesystem;

namespace testsupport {
namespace {

constexpr const char* kGameKey = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";
constexpr const char* kEagleWatchKey =
    "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch\\";
constexpr const char* kModKey = "SOFTWARE\\TORV\\VARN MOD 2.0";

// The stamp Wine writes after a key name, and the FILETIME it writes with it.
constexpr const char* kKeyStamp = "1700000000";
constexpr const char* kKeyTime = "1da1762b5b2a400";

fs::path MakeTemporaryFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
        return {};
    }
    return fs::path(pattern);
}

// Removes a folder made by a test, including folders a test made unwritable.
// Symbolic links (z: -> /) are removed, never followed.
void RemoveTree(const fs::path& root) {
    if (root.empty()) {
        return;
    }
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(root, error))) {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
        for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code entryError;
            if (fs::is_directory(it->symlink_status(entryError))) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add,
                                entryError);
            }
        }
    }
    fs::remove_all(root, error);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

// Windows-1252 text as UTF-16 code units.
std::u16string ToUtf16(std::string_view cp1252) {
    const std::string utf8 = platform::Cp1252ToUtf8(cp1252);
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = lead;
        int extra = 0;
        if (lead >= 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
        } else if (lead >= 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
        }
        for (int k = 1; k <= extra; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        units.push_back(static_cast<char16_t>(cp));  // Windows-1252 lies in the BMP
        i += extra + 1;
    }
    return units;
}

bool IsHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Text escaped as Wine writes it into a registry file: a backslash before
// '\\' and the given specials, C escapes or octal for control characters,
// "\x" and the UTF-16 unit in hex above 127 (four digits when a hex digit
// follows, so the escape cannot run on).
std::string Escape(std::string_view cp1252, std::string_view specials) {
    static constexpr char kControlEscapes[33] = ".......abtnvfr.............e....";
    const std::u16string units = ToUtf16(cp1252);
    std::string out;
    char buffer[16];
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        const bool beforeLast = i + 1 < units.size();
        if (c > 127) {
            const bool padded = beforeLast && IsHexDigit(units[i + 1]);
            std::snprintf(buffer, sizeof buffer, padded ? "\\x%04x" : "\\x%x", unsigned(c));
            out += buffer;
        } else if (c < 32) {
            if (kControlEscapes[c] != '.') {
                out += '\\';
                out += kControlEscapes[c];
            } else {
                const bool padded = beforeLast && units[i + 1] >= '0' && units[i + 1] <= '7';
                std::snprintf(buffer, sizeof buffer, padded ? "\\%03o" : "\\%o", unsigned(c));
                out += buffer;
            }
        } else {
            if (c == '\\' || specials.find(static_cast<char>(c)) != std::string_view::npos) {
                out += '\\';
            }
            out += static_cast<char>(c);
        }
    }
    return out;
}

// Compares key paths as Wine orders its keys: component by component,
// case-insensitively, a key before its subkeys.
bool KeyLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& key) {
        std::vector<std::string> parts;
        std::stringstream stream(key);
        for (std::string part; std::getline(stream, part, '\\');) {
            parts.push_back(Lower(part));
        }
        return parts;
    };
    return split(a) < split(b);
}

}  // namespace

std::string WineStringValue(std::string_view cp1252) {
    return "\"" + Escape(cp1252, "\"") + "\"";
}

std::map<std::string, std::string> DefaultGameValues(const std::string& game) {
    return {
        {"ActorPath", game + "data\\actor"},
        {"BitmapPath", game + "data\\bitmap"},
        {"ActionMusicPath", game + "data\\sound\\music"},
        {"EquipmentPath", game + "data\\equipment"},
        {"EquipTextPath", game + "data\\text\\equipment"},
        {"InstallationPath", game},
        {"SoundPath", game + "data\\sound"},
        {"TextPath", game + "data\\text"},
        {"MissionPath", game + "data\\mission"},
        {"TexturePath", game + "data\\texture"},
        {"ShellTextPath", game + "data\\text\\interface"},
        {"MouseRadiansPerPixel", "0.008727"},
    };
}

std::string GameKeyName() {
    return kGameKey;
}
std::string EagleWatchKeyName() {
    return kEagleWatchKey;
}
std::string ModKeyName() {
    return kModKey;
}

FakeInstallation::FakeInstallation(InstallationOptions options)
    : options_(std::move(options)), root_(MakeTemporaryFolder("lw-installation")) {
    PrivateDataHome();
    prefix_.folder = root_ / "prefix";
    prefix_.win64 = options_.win64;

    std::error_code error;
    fs::create_directories(prefix_.folder / "drive_c", error);
    fs::create_directories(prefix_.folder / "dosdevices", error);
    fs::create_directory_symlink("../drive_c", prefix_.folder / "dosdevices" / "c:", error);
    if (error) {
        ADD_FAILURE() << "cannot link drive c: in " << prefix_.folder << ": " << error.message();
    }
    fs::create_directory_symlink("/", prefix_.folder / "dosdevices" / "z:", error);

    for (const auto& [name, value] : DefaultGameValues()) {
        gameValues_[name] = value;
    }
    for (const auto& [name, value] : options_.gameValues) {
        if (value) {
            gameValues_[name] = *value;
        } else {
            gameValues_.erase(name);
        }
    }

    // The folders the values name, as the game's installer leaves them.
    for (const auto& [name, value] : gameValues_) {
        if (name.size() > 4 && name.compare(name.size() - 4, 4, "Path") == 0 &&
            StartsWithIgnoringCase(value, "C:\\")) {
            fs::create_directories(UnixPath(value), error);
        }
    }
    const std::string modFolder = options_.installPath.value_or("C:\\VARN");
    if (options_.modKey && StartsWithIgnoringCase(modFolder, "C:\\")) {
        fs::create_directories(UnixPath(modFolder), error);
    }

    // A few of the keys every prefix has, around the game's, so that nothing
    // can rely on the game's key being alone in the file.
    AddKey("Software\\Microsoft\\Windows\\CurrentVersion", false);
    registry_["Software\\Microsoft\\Windows\\CurrentVersion"].emplace_back(
        "ProgramFilesDir",
        WineStringValue(options_.win64 ? "C:\\Program Files (x86)" : "C:\\Program Files"));
    AddKey("Software\\Wine\\Drives", false);
    registry_["System\\CurrentControlSet\\Control\\Session Manager\\Environment"].emplace_back(
        "windir", "str(2):\"%SystemRoot%\"");

    if (options_.gameKey) {
        const std::string key = AddKey(kGameKey, true);
        if (options_.devMode) {
            registry_[key].emplace_back("VARNDEV", WineStringValue(""));
        }
        for (const auto& [name, value] : gameValues_) {
            registry_[key].emplace_back(name, WineStringValue(value));
        }
    }
    if (options_.eagleWatch) {
        AddKey(kEagleWatchKey, true);
    }
    if (options_.modKey) {
        const std::string key = AddKey(kModKey, true);
        registry_[key].emplace_back("InstallPath", WineStringValue(modFolder));
    }
    WriteRegistry();
}

FakeInstallation::~FakeInstallation() {
    RemoveTree(root_);
}

std::string FakeInstallation::GameValue(const std::string& name) const {
    const auto it = gameValues_.find(name);
    return it == gameValues_.end() ? std::string() : it->second;
}

fs::path FakeInstallation::UnixPath(const std::string& windowsPath) const {
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    fs::path unix = prefix_.folder / "dosdevices";
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        unix /=
            std::string{static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))), ':'};
        start = 2;
    } else {
        unix /= "c:";
    }
    std::stringstream stream(path.substr(start));
    for (std::string part; std::getline(stream, part, '\\');) {
        if (!part.empty()) {
            unix /= platform::Cp1252ToUtf8(part);
        }
    }
    return unix;
}

fs::path FakeInstallation::WriteFile(const std::string& windowsPath, const std::string& content) {
    const fs::path file = UnixPath(windowsPath);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) {
        ADD_FAILURE() << "cannot write " << file;
    }
    return file;
}

std::string FakeInstallation::ReadFile(const std::string& windowsPath) const {
    const fs::path file = UnixPath(windowsPath);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << file;
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FakeInstallation::AddKey(const std::string& windowsKey, bool applyView) {
    std::string key = windowsKey;
    while (!key.empty() && key.back() == '\\') {
        key.pop_back();  // Wine stores key names without it
    }
    const std::string software = "Software\\";
    if (StartsWithIgnoringCase(key, software)) {
        key = "Software\\" + key.substr(software.size());
        if (applyView && options_.win64 &&
            !StartsWithIgnoringCase(key, "Software\\Wow6432Node\\")) {
            key = "Software\\Wow6432Node\\" + key.substr(software.size());
        }
    }
    registry_[key];
    return key;
}

void FakeInstallation::AddRegistryValue(const std::string& key, const std::string& name,
                                        const std::string& wineValueText) {
    auto& values = registry_[AddKey(key, true)];
    const auto same = std::find_if(values.begin(), values.end(), [&](const auto& value) {
        return Lower(value.first) == Lower(name);
    });
    if (same != values.end()) {
        same->second = wineValueText;
    } else {
        values.emplace_back(name, wineValueText);
    }
    WriteRegistry();
}

void FakeInstallation::AddRegistryKey(const std::string& key) {
    AddKey(key, true);
    WriteRegistry();
}

void FakeInstallation::WriteRegistry() {
    std::vector<std::string> keys;
    for (const auto& entry : registry_) {
        keys.push_back(entry.first);
    }
    std::sort(keys.begin(), keys.end(), KeyLess);

    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";
    text += options_.win64 ? "#arch=win64\n" : "#arch=win32\n";
    for (const std::string& key : keys) {
        auto values = registry_.at(key);
        std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
            return Lower(a.first) < Lower(b.first);
        });
        text += "\n[" + Escape(key, "[]") + "] " + kKeyStamp + "\n#time=" + kKeyTime + "\n";
        for (const auto& [name, data] : values) {
            text += (name.empty() ? std::string("@") : "\"" + Escape(name, "\"") + "\"") + "=" +
                    data + "\n";
        }
    }

    const fs::path file = systemReg();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        ADD_FAILURE() << "cannot write " << file;
    }
}

TemporaryFolder::TemporaryFolder() : path_(MakeTemporaryFolder("lw-test")) {
    PrivateDataHome();
}

TemporaryFolder::~TemporaryFolder() {
    RemoveTree(path_);
}

}  // namespace testsupport
