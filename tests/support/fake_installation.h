#pragma once
// A fake game installation in a temporary folder: a Wine prefix (system.reg,
// dosdevices links, drive_c) with the game's registry values, and game files
// placed with any letter case. Removed again when the object goes. Making
// one (or a TemporaryFolder) moves the user's data folder into a temporary
// folder for the whole test program (support/private_data_home.h).

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/wine_prefix.h"

namespace testsupport {

struct InstallationOptions {
    bool win64 = true;        // "#arch=win64": values under Software\Wow6432Node
    bool gameKey = true;      // the game's key at all
    bool eagleWatch = false;  // the expansion's key
    bool modKey = true;       // "SOFTWARE\TORV\VARN MOD 2.0" with InstallPath
    bool devMode = false;     // VARNDEV (an empty string value)
    // The game's values; defaults below. A value mapped to std::nullopt is left out.
    std::map<std::string, std::optional<std::string>> gameValues;
    std::optional<std::string> installPath;  // InstallPath; default C:\VARN
};

// The default game values: folders under gameFolder (which ends with a
// backslash and is InstallationPath), MouseRadiansPerPixel "0.008727".
std::map<std::string, std::string> DefaultGameValues(
    const std::string& gameFolder = "C:\\Games\\Rainbow Six\\");

// The keys' names as the programs open them.
std::string GameKeyName();        // "SOFTWARE\Red Storm Entertainment\Tom Clancy's Rainbow Six\"
std::string EagleWatchKeyName();  // "...Tom Clancy's Rainbow Six: Eagle Watch\"
std::string ModKeyName();         // "SOFTWARE\TORV\VARN MOD 2.0"

// Windows-1252 text as a quoted registry-file string, escaped as Wine writes
// it ("C:\\Games", \" for quotes, "Caf\xe9"), for AddRegistryValue.
std::string WineStringValue(std::string_view cp1252);

class FakeInstallation {
  public:
    explicit FakeInstallation(InstallationOptions options = {});
    ~FakeInstallation();
    FakeInstallation(const FakeInstallation&) = delete;
    FakeInstallation& operator=(const FakeInstallation&) = delete;

    const platform::WinePrefix& prefix() const { return prefix_; }
    const std::filesystem::path& root() const { return root_; }  // the temporary folder
    std::filesystem::path systemReg() const { return prefix_.folder / "system.reg"; }

    // The folder values as written to the registry ("C:\Games\...", Windows-1252).
    std::string GameValue(const std::string& name) const;

    // Writes a file at a Windows path, creating folders as needed; the path is
    // used on disk with exactly the letter case given here.
    std::filesystem::path WriteFile(const std::string& windowsPath, const std::string& content);
    std::string ReadFile(const std::string& windowsPath) const;
    // Where a Windows path lies on disk (exact spelling, no case matching).
    std::filesystem::path UnixPath(const std::string& windowsPath) const;

    // Adds (or replaces) a value and rewrites system.reg. key is a key name as
    // the programs give it ("SOFTWARE\\TORV\\VARN MOD 2.0"), placed under
    // Software\\Wow6432Node in a win64 prefix; name "" is the default value;
    // wineValueText is the text after '=' exactly as in the file, e.g.
    // WineStringValue("text"), "dword:00000001" or "str(2):\"%ProgramFiles%\\\\VARN\"".
    // A value-less key is added with AddRegistryKey.
    void AddRegistryValue(const std::string& key, const std::string& name,
                          const std::string& wineValueText);
    void AddRegistryKey(const std::string& key);

  private:
    // The key's name in system.reg (view applied, no trailing backslash); creates it.
    std::string AddKey(const std::string& windowsKey, bool applyView);
    void WriteRegistry();

    InstallationOptions options_;
    std::filesystem::path root_;
    platform::WinePrefix prefix_;
    std::map<std::string, std::string> gameValues_;
    // Key name in the file -> its values (name, text after '='), in the order added.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> registry_;
};

// A temporary folder, removed with its content when the object goes.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace testsupport
