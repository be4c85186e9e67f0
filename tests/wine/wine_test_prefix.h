#pragma once
// A real Wine prefix for one test, never ~/.wine.
//
// The first test boots a prefix once (wineboot -i, under a file lock so that
// parallel tests wait for it) into LW_WINE_WORK_DIR/template; every test then
// works on its own copy of it (files hard-linked, registry files copied), so
// a test costs no boot. The destructor stops the copy's wineserver
// (wineserver -k) and removes the copy.
//
//   WineTestPrefix wine;
//   if (!wine.available()) GTEST_SKIP() << wine.whyUnavailable();
//   wine.Run({"wine", "reg", "add", "HKLM\\Software\\...", ..., "/reg:32"});
//   wine.InstallStandInPackage("C:\\VARN\\VARN_FULL.EXE");  // see tests/CMakeLists.txt

#include <filesystem>
#include <string>
#include <vector>

#include "platform/wine_prefix.h"

namespace winetest {

struct RunResult {
    int exitCode = -1;   // -1 when the program could not be run or was killed
    std::string output;  // standard output
};

class WineTestPrefix {
  public:
    WineTestPrefix();
    ~WineTestPrefix();
    WineTestPrefix(const WineTestPrefix&) = delete;
    WineTestPrefix& operator=(const WineTestPrefix&) = delete;

    bool available() const { return available_; }
    const std::string& whyUnavailable() const { return why_; }

    // The prefix as the programs see it (architecture read from system.reg).
    platform::WinePrefix prefix() const;
    const std::filesystem::path& folder() const { return folder_; }

    // Runs a program (looked up in PATH) with WINEPREFIX set to this prefix
    // and WINEDEBUG=-all, waits for it and returns its exit code and output.
    RunResult Run(const std::vector<std::string>& arguments) const;

    // Waits until this prefix's wineserver has ended and saved the registry.
    void WaitForServerExit() const;
    // Ends this prefix's wineserver and its programs, then waits for it.
    void StopServer() const;

    // Copies the stand-in package to a Windows path of this prefix and
    // returns where its log ("standin_package.log" beside it) will appear.
    // Empty when mingw-w64 was missing at build time.
    std::filesystem::path InstallStandInPackage(const std::string& windowsPath) const;

    // Reads a file that a Windows program writes, waiting up to the given
    // seconds for it to appear and hold at least one complete line.
    std::string WaitForLine(const std::filesystem::path& file, int seconds) const;

  private:
    bool available_ = false;
    std::string why_;
    std::filesystem::path folder_;
};

}  // namespace winetest
