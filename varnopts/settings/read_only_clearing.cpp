#include "varnopts/settings/read_only_clearing.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/file_search.h"

namespace varnopts {

std::vector<std::string> ReadOnlyClearingPatterns(const GamePaths& paths) {
    // InstallationPath ends with a backslash of its own; the others get one.
    const std::pair<const std::string*, const char*> folders[] = {
        {&paths.m_strBitmapPath, "\\*.*"},  {&paths.m_strEquipmentPath, "\\*.*"},
        {&paths.m_strMissionPath, "\\*.*"}, {&paths.m_strEquipTextPath, "\\english\\*.*"},
        {&paths.m_strSoundPath, "\\*.*"},   {&paths.m_strSoundPath, "\\english\\*.*"},
        {&paths.m_strActorPath, "\\*.*"},   {&paths.m_strInstallationPath, "*.*"},
        {&paths.m_strTexturePath, "\\*.*"}, {&paths.m_strShellTextPath, "\\english\\*.*"},
    };
    std::vector<std::string> patterns;
    for (const auto& [folder, pattern] : folders) {
        // An empty folder value would make the pattern "\*.*" (the root of
        // the current drive, which is the whole file system under Wine's Z:)
        // or "*.*" of the current folder: neither is a game folder.
        if (!folder->empty()) {
            patterns.push_back(*folder + pattern);
        }
    }
    return patterns;
}

platform::Status ClearReadOnlyFiles(const platform::WinePrefix& prefix, std::string_view pattern) {
    for (const platform::FoundFile& found : platform::FindFiles(prefix, pattern)) {
        if (!found.isReadOnly || found.isFolder) {
            continue;
        }
        platform::Status status = platform::ClearReadOnly(found.path);
        if (!status) {
            std::error_code error;
            if (!std::filesystem::exists(found.path, error) && !error) {
                continue;  // removed since the search found it
            }
            return status;
        }
    }
    return platform::Status::Ok();
}

platform::Status ClearGameReadOnlyFiles(const platform::WinePrefix& prefix,
                                        const GamePaths& paths) {
    for (const std::string& pattern : ReadOnlyClearingPatterns(paths)) {
        platform::Status status = ClearReadOnlyFiles(prefix, pattern);
        if (!status) {
            return status;
        }
    }
    return platform::Status::Ok();
}

std::string DescribeClearingFailure(const platform::Error& error) {
    return "Could not make a game file writable: " + error.Describe() +
           "\n\nNothing was installed. Make the file writable (or check that you own the game's "
           "folders) and click Save again.";
}

}  // namespace varnopts
