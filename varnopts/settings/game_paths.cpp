#include "varnopts/settings/game_paths.h"

#include <cstdint>
#include <string>

#include "platform/game_not_found.h"
#include "platform/message.h"
#include "platform/windows_path.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {

namespace {

// The buffer the values are read into: a value longer than 259 characters
// (with its terminating zero, more than this) counts as missing.
constexpr std::uint32_t kValueBufferSize = 260;

}  // namespace

const std::array<GameValueField, 12>& GameValueFields() {
    static const std::array<GameValueField, 12> fields{{
        {"ActorPath", &GamePaths::m_strActorPath},
        {"BitmapPath", &GamePaths::m_strBitmapPath},
        {"ActionMusicPath", &GamePaths::m_strActionMusicPath},
        {"EquipmentPath", &GamePaths::m_strEquipmentPath},
        {"EquipTextPath", &GamePaths::m_strEquipTextPath},
        {"InstallationPath", &GamePaths::m_strInstallationPath},
        {"SoundPath", &GamePaths::m_strSoundPath},
        {"TextPath", &GamePaths::m_strTextPath},
        {"MissionPath", &GamePaths::m_strMissionPath},
        {"TexturePath", &GamePaths::m_strTexturePath},
        {"ShellTextPath", &GamePaths::m_strShellTextPath},
        {"MouseRadiansPerPixel", &GamePaths::m_strMouseRadiansPerPixel},
    }};
    return fields;
}

int ReadGameValue(const platform::RegistryKey& key, std::string_view name, std::string& target) {
    char buffer[kValueBufferSize] = {};
    std::uint32_t size = kValueBufferSize;
    if (platform::RegQueryValue(key, name, buffer, size) != platform::RegStatus::Success) {
        std::string text(kTextErrorOpening.text);
        text += ' ';
        text += name;
        text += " path regkey";
        ShowOptionsError(text);
        return 1;
    }
    // Whatever the value's type, its bytes are text up to the first zero. Data
    // that fills the whole buffer without one is taken whole.
    std::string_view data(buffer, size < kValueBufferSize ? size : kValueBufferSize);
    target.assign(data.substr(0, data.find('\0')));
    return 0;
}

bool ReadGamePaths(platform::WinePrefix& prefix, GamePaths& paths) {
    for (const auto& field : GameValueFields()) {
        (paths.*field.member).clear();
    }

    platform::RegistryKey key;
    if (platform::RegOpenKey(prefix, kModKey, platform::KeyAccess::QueryValue, key) ==
        platform::RegStatus::Success) {
        if (ReadGameValue(key, "InstallPath", paths.m_strModFolder) != 0) {
            paths.m_strModFolder = platform::CurrentDirectoryAsWindowsPath(prefix);
        }
        platform::RegCloseKey(key);
    } else {
        paths.m_strModFolder = platform::CurrentDirectoryAsWindowsPath(prefix);
    }

    if (platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::QueryValue, key) !=
        platform::RegStatus::Success) {
        std::optional<platform::WinePrefix> chosen = platform::ShowGameNotFound(
            std::string(kTextMainKeyError.text), std::string(kCaptionOptions),
            platform::MB_ICONHAND, prefix, std::string(kGameKey));
        if (!chosen) {
            return false;
        }
        prefix = std::move(*chosen);
        return ReadGamePaths(prefix, paths);  // the modification's folder too, from this prefix
    }
    for (const auto& field : GameValueFields()) {
        if (ReadGameValue(key, field.name, paths.*field.member) != 0) {
            platform::RegCloseKey(key);
            return false;
        }
    }
    platform::RegCloseKey(key);
    return true;
}

bool IsEagleWatchInstalled(const platform::WinePrefix& prefix) {
    platform::RegistryKey key;
    if (platform::RegOpenKey(prefix, kEagleWatchKey, platform::KeyAccess::QueryValue, key) !=
        platform::RegStatus::Success) {
        return false;
    }
    platform::RegCloseKey(key);
    return true;
}

}  // namespace varnopts
