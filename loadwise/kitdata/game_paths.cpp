#include "loadwise/kitdata/game_paths.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/game_not_found.h"
#include "platform/message.h"

namespace kitdata {
namespace {

// The size of the buffer a folder value is read into: values longer than a
// Windows path cannot name a folder and are refused.
constexpr std::uint32_t kValueBufferSize = 260;

void ShowStop(const std::string& text) {
    platform::ShowMessage(text, kMessageCaption, platform::MB_OK | platform::MB_ICONHAND);
}

}  // namespace

bool ReadPathValue(const platform::RegistryKey& key, std::string_view valueName,
                   std::string& target, bool showError) {
    std::array<char, kValueBufferSize> buffer{};
    std::uint32_t size = kValueBufferSize;
    if (platform::RegQueryValue(key, valueName, buffer.data(), size) !=
        platform::RegStatus::Success) {
        if (showError) {
            ShowStop("Error opening reg key " + std::string(valueName) + " path regkey");
        }
        return false;
    }
    target.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return true;
}

GamePaths ReadGamePaths(platform::WinePrefix& prefix) {
    GamePaths paths;
    platform::RegistryKey key;
    while (platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::QueryValue, key) !=
           platform::RegStatus::Success) {
        std::optional<platform::WinePrefix> chosen =
            platform::ShowGameNotFound("Error opening main reg key", kMessageCaption,
                                       platform::MB_OK | platform::MB_ICONHAND, prefix, kGameKey);
        if (!chosen) {
            return paths;
        }
        prefix = std::move(*chosen);
    }

    std::string devModeText;
    paths.m_bDevMode = ReadPathValue(key, "VARNDEV", devModeText, false);

    const std::array<std::pair<const char*, std::string*>, 8> folders = {{
        {"ActorPath", &paths.m_strActorPath},
        {"BitmapPath", &paths.m_strBitmapPath},
        {"ActionMusicPath", &paths.m_strActionMusicPath},
        {"EquipmentPath", &paths.m_strEquipmentPath},
        {"EquipTextPath", &paths.m_strEquipTextPath},
        {"InstallationPath", &paths.m_strInstallationPath},
        {"SoundPath", &paths.m_strSoundPath},
        {"TextPath", &paths.m_strTextPath},
    }};
    bool allRead = true;
    for (const auto& [name, target] : folders) {
        if (!ReadPathValue(key, name, *target, true)) {
            allRead = false;
            break;
        }
    }
    if (allRead) {
        paths.m_strEquipmentPath += "\\";
        paths.m_strEquipTextPath += "\\english\\";
        paths.allPathsRead = true;
    }
    platform::RegCloseKey(key);
    return paths;
}

}  // namespace kitdata
