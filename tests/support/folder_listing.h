#pragma once
// What a folder holds, for tests that check that no temporary file is left.

#include <filesystem>
#include <set>
#include <string>

namespace testsupport {

inline std::set<std::string> EntryNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace testsupport
