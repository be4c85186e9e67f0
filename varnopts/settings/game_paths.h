#pragma once
// The modification's folder and the game's folders, read from the registry
// when the options window opens.

#include <array>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace varnopts {

inline constexpr std::string_view kModKey = "SOFTWARE\\TORV\\VARN MOD 2.0";
inline constexpr std::string_view kGameKey =
    "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six\\";
inline constexpr std::string_view kEagleWatchKey =
    "SOFTWARE\\Red Storm Entertainment\\Tom Clancy's Rainbow Six: Eagle Watch\\";

// Values are kept exactly as stored (Windows-1252, nothing trimmed).
// m_strInstallationPath ends with a backslash; every other folder has none.
struct GamePaths {
    std::string m_strModFolder;
    std::string m_strActorPath;
    std::string m_strBitmapPath;
    std::string m_strActionMusicPath;
    std::string m_strEquipmentPath;
    std::string m_strEquipTextPath;
    std::string m_strInstallationPath;
    std::string m_strSoundPath;
    std::string m_strTextPath;
    std::string m_strMissionPath;
    std::string m_strTexturePath;
    std::string m_strShellTextPath;
    std::string m_strMouseRadiansPerPixel;
};

// A game value's registry name and the member it fills.
struct GameValueField {
    std::string_view name;
    std::string GamePaths::*member;
};

// The twelve game values in the order they are read; reading stops at the
// first one that is missing.
const std::array<GameValueField, 12>& GameValueFields();

// Reads one value of an open key into target as text (at most 259 characters,
// up to the first zero byte, whatever its type). Returns 0 when read; 1 when
// not, after showing "Error opening <name> path regkey" (target unchanged).
int ReadGameValue(const platform::RegistryKey& key, std::string_view name, std::string& target);

// Fills paths: the modification's folder (its InstallPath, or the current
// directory as a Windows path when the key or value is missing) and the twelve
// game values. Returns true when all twelve were read; otherwise false after
// showing the message for the game's key (with where the programs looked; a
// prefix the user chooses there replaces prefix and is read instead) or for
// the first missing value.
bool ReadGamePaths(platform::WinePrefix& prefix, GamePaths& paths);
// The same where the prefix cannot change (a prefix chosen is read once).
inline bool ReadGamePaths(const platform::WinePrefix& prefix, GamePaths& paths) {
    platform::WinePrefix copy = prefix;
    return ReadGamePaths(copy, paths);
}

// True when the expansion's key exists; asks the registry on every call.
bool IsEagleWatchInstalled(const platform::WinePrefix& prefix);

}  // namespace varnopts
