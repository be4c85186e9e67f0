#pragma once
// The one real Wine prefix of the wine tests, never ~/.wine: booted in a
// temporary folder when first asked for, removed with its server at the end.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/wine_prefix.h"

namespace winetest {

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output and error
};

class WineTestPrefix {
  public:
    static const WineTestPrefix& Shared();
    ~WineTestPrefix();

    bool available() const { return why_.empty(); }
    const std::string& whyUnavailable() const { return why_; }
    platform::WinePrefix prefix() const { return platform::LoadPrefix(folder_); }
    const std::filesystem::path& folder() const { return folder_; }

    // Runs a program from PATH with WINEPREFIX set to this prefix and waits for it.
    RunResult Run(const std::vector<std::string>& arguments) const;
    // Ends the prefix's wineserver, which saves the registry as it goes.
    void StopServer() const;
    // Copies the stand-in package (standin_package.c) to a path on drive C:.
    std::filesystem::path InstallStandInPackage(const std::string& windowsPath) const;

  private:
    WineTestPrefix();
    std::string why_;
    std::filesystem::path folder_;
};

}  // namespace winetest
