#pragma once
// Fake game installations in temporary folders: a Wine prefix with the game's values, and files.

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/wine_prefix.h"

namespace testsupport {

struct InstallationOptions {
    bool win64 = true;        // values under Software\Wow6432Node
    bool gameKey = true;      // the game's key at all
    bool eagleWatch = false;  // the expansion's key
    bool modKey = true;       // "SOFTWARE\TORV\VARN MOD 2.0" with InstallPath modFolder
    std::string modFolder = "C:\\VARN";
    bool devMode = false;  // VARNDEV (an empty string value)
    // Over the defaults (the game in "C:\Games\Rainbow Six\" and its folders); nullopt: left out.
    std::map<std::string, std::optional<std::string>> gameValues;
};

inline std::string GameKeyName() {
    return "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";
}
inline std::string ModKeyName() {
    return "SOFTWARE\\TORV\\VARN MOD 2.0";
}
// A file's bytes; a test that cannot read it fails.
std::string FileBytes(const std::filesystem::path& file);
// A value as an "A" program reads it, else "<no key>", "<no value>", "<more data: size>".
std::string QueryValue(const platform::WinePrefix& prefix, const std::string& key,
                       const std::string& name, std::uint32_t size = 260);

// The first one points XDG_DATA_HOME away from the user's data for the whole program.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();                           // removes it, unwritable folders inside too
    TemporaryFolder(TemporaryFolder&&) = delete;  // and so neither copied nor assigned
    const std::filesystem::path& path() const { return path_; }

  private:
    explicit TemporaryFolder(const char* stem);
    std::filesystem::path path_;
};

class FakeInstallation {
  public:
    explicit FakeInstallation(const InstallationOptions& options = {});

    const platform::WinePrefix& prefix() const { return prefix_; }
    const std::filesystem::path& root() const { return root_.path(); }
    std::filesystem::path systemReg() const { return prefix_.folder / "system.reg"; }
    std::string GameValue(const std::string& name) const {  // "" when left out
        return gameValues_.contains(name) ? gameValues_.at(name) : "";
    }

    // Where a Windows path lies, spelled exactly as given (no case matching).
    std::filesystem::path UnixPath(const std::string& windowsPath) const;
    std::filesystem::path WriteFile(const std::string& windowsPath, const std::string& content);
    std::string ReadFile(const std::string& windowsPath) const {
        return FileBytes(UnixPath(windowsPath));
    }
    void AddRegistryKey(const std::string& key);  // empty, named as the programs open it

  private:
    TemporaryFolder root_;
    platform::WinePrefix prefix_;
    std::map<std::string, std::string> gameValues_;
};

// A multiplayer kit: item files, kit lists, data files, names, descriptions.
struct KitItem {
    std::string key;   // description file name, e.g. "rook.txt"; its data file is "rook.atr"
    std::string name;  // entry of equipment.txt (Windows-1252)
    bool active = true;
    std::string mag = "30";
    std::string description;  // "" leaves the item without a description file
};

using Kit = std::array<std::vector<KitItem>, 3>;

// Primary: rook (on), harrow (off), vesper (on, no description); Secondary:
// lyra9 (on), vole32 (off); Special: medkit (off), flash (on).
Kit SmallKit();
std::string CrLfLines(const std::vector<std::string>& lines);  // each ended with CR LF

class KitInstallation : public FakeInstallation {
  public:
    explicit KitInstallation(const Kit& kit = SmallKit(), InstallationOptions options = {});

    // Windows paths of a file in the equipment folder and in the English text folder.
    std::string EquipmentFile(const std::string& name) const {
        return GameValue("EquipmentPath") + "\\" + name;
    }
    std::string TextFile(const std::string& name) const {
        return GameValue("EquipTextPath") + "\\english\\" + name;
    }
    // The six kit files: the three item files, then the three kit lists.
    std::string KitFile(int file) const {
        const char* const names[] = {"primarymp.itm", "secondarymp.itm", "specialmp.itm",
                                     "primarymp.txt", "secondarymp.txt", "special.txt"};
        return file < 3 ? EquipmentFile(names[file]) : TextFile(names[file]);
    }
    std::string ItemFile(int tab) const { return KitFile(tab); }
    std::string KitList(int tab) const { return KitFile(3 + tab); }
    std::vector<std::string> KitFiles() const;  // their contents
};

}  // namespace testsupport
