#pragma once
// Reading many files of one game folder: the folder is resolved once, and
// each file name is tried as spelled before the case-insensitive search, so
// a list of thousands of items does not walk the whole path for each.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace kitdata {

class GameFolder {
  public:
    // windowsFolder is a folder string as the paths hold it; file names are
    // joined to it by plain concatenation, whatever it ends with.
    GameFolder(const platform::WinePrefix& prefix, std::string windowsFolder);

    // The lines of the file named windowsFolder + name, found as
    // platform::ResolveWindowsPath finds it.
    platform::Result<std::vector<std::string>> ReadLines(std::string_view name) const;

  private:
    const platform::WinePrefix& prefix_;
    std::string windowsFolder_;
    bool joinsDirectly_ = false;  // the folder string ends with a separator
    std::filesystem::path resolvedFolder_;
};

}  // namespace kitdata
