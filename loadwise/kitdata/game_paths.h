#pragma once
// The game's folders, read from its registry key in the Wine prefix.

#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace kitdata {

// Caption of every message Loadwise shows (with the stop icon).
inline constexpr char kMessageCaption[] = "Loadwise";

// HKEY_LOCAL_MACHINE key written by the game's installer.
inline constexpr char kGameKey[] = "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";

struct GamePaths {
    bool m_bDevMode = false;  // VARNDEV exists: raw Accuracy, Recoil, Reticle figures
    std::string m_strActorPath;
    std::string m_strBitmapPath;
    std::string m_strActionMusicPath;
    std::string m_strEquipmentPath;  // ends with "\" when all eight values were read
    std::string m_strEquipTextPath;  // ends with "\english\" when all eight values were read
    std::string m_strInstallationPath;
    std::string m_strSoundPath;
    std::string m_strTextPath;
    // The key opened and all eight folder values were read. Otherwise the
    // folders are partly empty and no game file may be looked for under them:
    // an empty folder would make the names relative to wherever the program
    // was started.
    bool allPathsRead = false;
};

// Reads VARNDEV and the eight folder values in order, stopping at the first
// folder value that cannot be read. Problems are shown at once through
// platform::ShowMessage (caption "Loadwise", stop icon); start-up goes on with
// whatever was read, so nothing is returned but the paths. A missing game key
// is told with where the programs looked; a prefix the user chooses there
// replaces prefix and is read instead.
GamePaths ReadGamePaths(platform::WinePrefix& prefix);
// The same where the prefix cannot change (a prefix chosen is read once).
inline GamePaths ReadGamePaths(const platform::WinePrefix& prefix) {
    platform::WinePrefix copy = prefix;
    return ReadGamePaths(copy);
}

// Reads one value of the open key through a zero-filled 260-byte buffer, its
// type not looked at, into target (the text up to the first NUL). On failure
// target is unchanged and, with showError, the user has been told.
bool ReadPathValue(const platform::RegistryKey& key, std::string_view valueName,
                   std::string& target, bool showError);

}  // namespace kitdata
