#pragma once
// A stand-in for wine and xdg-open while it lives: logs each call around the given shell body
// (xdg-open's with the document as its one argument). The run logs go to its own folder
// ($XDG_STATE_HOME) meanwhile.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_installation.h"
#include "support/scoped_environment.h"

namespace testsupport {

struct WineCall {
    long pid = 0;
    std::vector<std::string> arguments;  // the first is the program's Windows path
    std::string folder;
    std::string prefix;
    bool ended = false;
    std::size_t endLine = 0;  // of its end record in the log
};

class FakeWine {
  public:
    // Where programFolder is given, wine is there and $WINE is left alone.
    explicit FakeWine(const std::string& body = "exit 0",
                      const std::filesystem::path& programFolder = {});

    const std::filesystem::path& program() const { return program_; }
    std::filesystem::path runLogs() const { return folder_.path() / "r6tools"; }
    std::vector<WineCall> Calls() const;  // in the order they started
    // Waits (up to 20 s) until count calls have started, or ended when ended is true.
    std::vector<WineCall> WaitForCalls(std::size_t count, bool ended = false) const;

  private:
    TemporaryFolder folder_;
    std::filesystem::path program_;
    std::optional<ScopedEnvironment> wine_;
    ScopedEnvironment path_;
    ScopedEnvironment state_;
};

// A fake wine body: `reg export` writes the key and the keys below it that
// the prefix's system.reg names, each with this value line if any
// ("\"Name\"=\"text\""), in UTF-16LE as wine does; nothing else is done.
std::string RegExportBody(const std::string& valueLine = "");

// The first bytes of a Windows program whose PE header names the i386 machine
// (a 32-bit program) or the x86-64 one.
std::string PeProgram(bool bits32);

// A running wineserver as the registry sees it, until End: a write lock on
// the lock file in the server folder that <prefix>/wineserver names, or in
// the one that a Wine inside a Flatpak sandbox makes in the app's /tmp.
class FakeRunningServer {
  public:
    enum class Place { NamedFolder, FlatpakSandbox };
    explicit FakeRunningServer(const FakeInstallation& installation,
                               Place place = Place::NamedFolder);
    ~FakeRunningServer();
    FakeRunningServer(FakeRunningServer&&) = delete;
    void End();

  private:
    int lock_ = -1;
    std::filesystem::path flatpakTmp_;
};

}  // namespace testsupport
