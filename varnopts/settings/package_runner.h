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
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    std::string output;  // what Wine and the package printed (UTF-8)
    bool Succeeded() const { return started && !timedOut && exitCode == 0; }
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

// Runs one package hidden, in the modification's folder, and waits for it
// to end. A package that cannot be started costs two messages ("Failed to
// start <file>", then "The installation could not be completed.").
PackageOutcome RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                          std::string_view gameFolder, std::string_view packageName);

// RunPackage for each name in order, whatever the outcome of the one before.
std::vector<PackageOutcome> RunPackages(const platform::WinePrefix& prefix,
                                        std::string_view modFolder, std::string_view gameFolder,
                                        const std::vector<std::string>& names,
                                        const PackageProgress& progress = {});

// The packages Uninstall All runs, in order.
const std::array<std::string_view, 2>& UninstallPackages();

// Uninstall All: asks "Are you sure you want to uninstall VARN?"; on Yes and
// a passing version check (of paths.m_strInstallationPath) runs the uninstall
// packages with gameFolder and returns how they went. Nothing when the user
// or the check said no.
std::optional<std::vector<PackageOutcome>> UninstallAll(const platform::WinePrefix& prefix,
                                                        const GamePaths& paths,
                                                        std::string_view gameFolder,
                                                        const PackageProgress& progress = {});

}  // namespace varnopts
