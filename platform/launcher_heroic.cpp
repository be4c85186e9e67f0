#include <nlohmann/json.hpp>
#include <system_error>

#include "platform/file_read.h"
#include "platform/launchers.h"

namespace platform {
namespace {

std::string Text(const nlohmann::json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// wineVersion.bin names bin/wine of a Wine build, or the proton script of a
// Proton build, whose wine lies in files/bin or dist/bin beside it.
std::filesystem::path WineOfBuild(const std::filesystem::path& bin) {
    if (bin.empty() || bin.filename() == "wine" || bin.filename() == "wine64") {
        return bin;
    }
    std::error_code error;
    for (const char* inside : {"files/bin/wine", "dist/bin/wine"}) {
        if (std::filesystem::exists(bin.parent_path() / inside, error)) {
            return bin.parent_path() / inside;
        }
    }
    return {};
}

}  // namespace

std::vector<LauncherPrefix> HeroicPrefixes(const std::filesystem::path& home) {
    const std::pair<std::filesystem::path, bool> places[] = {
        {home / ".config/heroic/GamesConfig", false},
        {home / ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig", true},
    };
    std::vector<LauncherPrefix> found;
    for (const auto& [folder, sandboxed] : places) {
        for (const auto& file : launchers::FilesWithExtension(folder, ".json")) {
            const Result<std::string> bytes = ReadWholeFile(file);
            const nlohmann::json config =
                bytes ? nlohmann::json::parse(*bytes, nullptr, false) : nlohmann::json();
            if (!config.is_object()) {
                continue;  // unreadable or not JSON
            }
            for (const auto& [game, settings] : config.items()) {
                if (!settings.is_object() || Text(settings, "winePrefix").empty()) {
                    continue;
                }
                LauncherPrefix entry;
                entry.folder = launchers::ExpandHome(Text(settings, "winePrefix"), home);
                // With Proton the Wine prefix is the pfx folder inside.
                std::error_code error;
                if (std::filesystem::is_regular_file(entry.folder / "pfx/system.reg", error)) {
                    entry.folder /= "pfx";
                }
                entry.launcher = "Heroic";
                entry.sandboxed = sandboxed;
                const auto version = settings.find("wineVersion");
                if (version != settings.end() && version->is_object()) {
                    entry.buildName = Text(*version, "name");
                    entry.wine = WineOfBuild(launchers::ExpandHome(Text(*version, "bin"), home));
                }
                found.push_back(std::move(entry));
            }
        }
    }
    return found;
}

}  // namespace platform
