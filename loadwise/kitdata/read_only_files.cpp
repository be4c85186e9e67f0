#include "loadwise/kitdata/read_only_files.h"

#include "loadwise/kitdata/kit_files.h"
#include "platform/file_search.h"

namespace kitdata {

std::vector<platform::Error> ClearReadOnlyFiles(const platform::WinePrefix& prefix,
                                                std::string_view windowsPath) {
    std::vector<platform::Error> failures;
    for (const platform::FoundFile& found : platform::FindFiles(prefix, windowsPath)) {
        if (found.isFolder || !found.isReadOnly) {
            continue;
        }
        if (const platform::Status cleared = platform::ClearReadOnly(found.path); !cleared) {
            failures.push_back(cleared.error());
        }
    }
    return failures;
}

std::vector<platform::Error> ClearKitFilesReadOnly(const platform::WinePrefix& prefix,
                                                   const GamePaths& paths) {
    std::vector<platform::Error> failures;
    for (const std::string& path : KitFilePaths(paths)) {
        std::vector<platform::Error> more = ClearReadOnlyFiles(prefix, path);
        failures.insert(failures.end(), more.begin(), more.end());
    }
    return failures;
}

}  // namespace kitdata
