#pragma once
// Running the modification's packages in automatic mode, one after another,
// and Uninstall All.
//
// The packages install the base of the modification and then variants that
// replace some of its files, all into the same game folders, so each starts
// only when the one before it has ended.

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/run_log.h"
#include "platform/wine_prefix.h"
#include "varnopts/settings/game_paths.h"

namespace varnopts {

// A package that is still running after this long is taken to hang: it is
// stopped so that the window becomes usable again. Packages take seconds.
inline constexpr std::chrono::minutes kPackageTimeLimit{10};

// How one package's run went.
struct PackageOutcome {
    std::string name;
    bool started = false;
    std::string whyNotStarted;  // when it could not be started
    int exitCode = 0;
    bool timedOut = false;
    std::string stoppedHow;  // when timed out: what was ended with it
    // A 32-bit package that this Wine cannot run: not started, or started
    // and ended at once (whatever Wine's exit status); hint says how to get
    // a Wine that runs it.
    bool cannotRun32Bit = false;
    std::string hint;
    std::string output;  // what Wine and the package printed (UTF-8)
    bool Succeeded() const { return started && !timedOut && exitCode == 0 && !cannotRun32Bit; }
};

// Told before each package starts: its name, its place (from 1) and how many
// packages the run has.
using PackageProgress =
    std::function<void(std::string_view name, std::size_t place, std::size_t count)>;

// modFolder + "\" + packageName.
std::string PackageFile(std::string_view modFolder, std::string_view packageName);
// "/auto " + gameFolder, exactly as read (never quoted).
std::string PackageParameters(std::string_view gameFolder);

// Wine hands a program its command line rebuilt from words, so a game folder
// holding a double quote, a tab, two blanks in a row, or a blank at its start
// or end would reach the packages altered. Says which of these the folder
// has ("it holds a double quote"); empty when it reaches them exactly.
std::string GameFolderProblem(std::string_view gameFolder);

// Checks the folder the packages are given before anything is changed: when
// it would reach them altered, tells the user which folder and why, and
// returns false.
bool CheckGameFolderForPackages(std::string_view gameFolder);

// Checks before anything is changed that no wineserver runs for the prefix
// inside a launcher's Flatpak sandbox: the packages' Wine could not reach it
// and would start a second server on the prefix, the two saving the registry
// over each other. Tells the user to quit the game first, and returns false.
bool CheckNoServerInSandbox(const platform::WinePrefix& prefix);

// Checks before anything is changed that the prefix's Wine can run the
// packages: when its files show that it cannot run 32-bit programs and some
// of the packages are 32-bit ones, tells the user which, and how to get the
// 32-bit part, and returns false.
bool CheckWineRunsPackages(const platform::WinePrefix& prefix, std::string_view modFolder,
                           const std::vector<std::string>& names);

// Runs one package hidden, in the modification's folder, and waits for it
// to end. A package that cannot be started costs two messages ("Failed to
// start <file>", then "The installation could not be completed."). At the
// time limit the package is ended whole: with `wineserver -k` when no other
// program ran in the prefix as it started, else with the programs it started
// (its process group). What Wine printed is appended to the log, if any.
PackageOutcome RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                          std::string_view gameFolder, std::string_view packageName,
                          const platform::RunLog* log = nullptr,
                          std::chrono::milliseconds timeLimit = kPackageTimeLimit);

// RunPackage for each name in order, whatever the outcome of the one before;
// but a 32-bit package is not started once this Wine is known not to run
// 32-bit programs (from its files, or from the first 32-bit package, which
// did not run), and is reported as not run.
std::vector<PackageOutcome> RunPackages(const platform::WinePrefix& prefix,
                                        std::string_view modFolder, std::string_view gameFolder,
                                        const std::vector<std::string>& names,
                                        const PackageProgress& progress = {},
                                        const platform::RunLog* log = nullptr);

// A run of packages and the log of what Wine printed (empty when no log
// could be made).
struct PackageRun {
    std::vector<PackageOutcome> outcomes;
    std::filesystem::path log;
};

// RunPackages with a new run log named after what is done ("install").
PackageRun RunPackagesLogged(const platform::WinePrefix& prefix, std::string_view modFolder,
                             std::string_view gameFolder, const std::vector<std::string>& names,
                             std::string_view what, const PackageProgress& progress = {});

// The packages Uninstall All runs, in order.
const std::array<std::string_view, 2>& UninstallPackages();

// Uninstall All: asks "Are you sure you want to uninstall VARN?"; on Yes, a
// passing version check (of paths.m_strInstallationPath), a game folder the
// packages can be given, Wine allowed to run (mayRunWine) and a Wine that can
// run them, runs the uninstall packages with gameFolder and returns how they
// went. Nothing when the user or a check said no.
std::optional<PackageRun> UninstallAll(const platform::WinePrefix& prefix, const GamePaths& paths,
                                       std::string_view gameFolder,
                                       const std::function<bool()>& mayRunWine,
                                       const PackageProgress& progress = {});

}  // namespace varnopts
