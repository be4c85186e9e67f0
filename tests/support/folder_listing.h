#pragma once
// What a folder holds, for tests that check that no temporary file is left.

#include <filesystem>
#include <set>
#include <string>

namespace testsupport {

// The names of a folder's entries (one level).
inline std::set<std::string> EntryNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every file and folder below folder, at any depth.
inline std::set<std::filesystem::path> PathsUnder(const std::filesystem::path& folder) {
    std::set<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        paths.insert(entry.path());
    }
    return paths;
}

}  // namespace testsupport
