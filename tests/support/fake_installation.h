#pragma once
// A fake game installation in a temporary folder: a Wine prefix (system.reg,
// dosdevices links, drive_c) holding the game's registry values, and game
// files. The first one (or TemporaryFolder) points XDG_DATA_HOME at a
// temporary folder for the whole test program, away from the user's data.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/wine_prefix.h"

namespace testsupport {

struct InstallationOptions {
    bool win64 = true;        // values under Software\Wow6432Node
    bool gameKey = true;      // the game's key at all
    bool eagleWatch = false;  // the expansion's key
    bool modKey = true;       // "SOFTWARE\TORV\VARN MOD 2.0" with InstallPath
    bool devMode = false;     // VARNDEV (an empty string value)
    // Over the defaults (InstallationPath "C:\Games\Rainbow Six\", the game's
    // folders under it, MouseRadiansPerPixel "0.008727"); nullopt: left out.
    std::map<std::string, std::optional<std::string>> gameValues;
};

std::string GameKeyName();
std::string ModKeyName();

class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();  // removes it, unwritable folders inside too
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

class FakeInstallation {
  public:
    explicit FakeInstallation(const InstallationOptions& options = {});

    const platform::WinePrefix& prefix() const { return prefix_; }
    const std::filesystem::path& root() const { return root_.path(); }
    std::filesystem::path systemReg() const { return prefix_.folder / "system.reg"; }
    std::string GameValue(const std::string& name) const;  // "" when left out

    // Where a Windows path lies, spelled exactly as given (no case matching).
    std::filesystem::path UnixPath(const std::string& windowsPath) const;
    std::filesystem::path WriteFile(const std::string& windowsPath, const std::string& content);
    std::string ReadFile(const std::string& windowsPath) const;

    // Adds an empty key (named as the programs open it) to system.reg.
    void AddRegistryKey(const std::string& key);

  private:
    TemporaryFolder root_;
    platform::WinePrefix prefix_;
    std::map<std::string, std::string> gameValues_;
};

}  // namespace testsupport
