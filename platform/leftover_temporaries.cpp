#include "platform/leftover_temporaries.h"

#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr std::size_t kUniqueLength = 6;  // mkostemp's XXXXXX

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

bool IsTemporaryFor(const fs::path& target, const fs::path& candidate) {
    const std::string prefix = TemporaryNamePrefix(target);
    const std::string name = candidate.filename().string();
    if (name.size() != prefix.size() + kUniqueLength ||
        name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!IsLetterOrDigit(name[i])) {
            return false;
        }
    }
    return true;
}

void RemoveLeftoverTemporaries(const fs::path& target, FileOperations& operations) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code error;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        // Only regular files: a folder or link of that name is the user's.
        if (IsTemporaryFor(target, entry->path()) && entry->is_regular_file(error) &&
            !entry->is_symlink(error)) {
            leftovers.push_back(entry->path());
        }
    }
    for (const fs::path& leftover : leftovers) {
        operations.Remove(leftover);
    }
}

}  // namespace platform
