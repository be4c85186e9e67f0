#pragma once
// Running the modification's packages in automatic mode, and Uninstall All.

#include <array>
#include <string>
#include <string_view>

#include "platform/wine_prefix.h"
#include "varnopts/settings/game_paths.h"

namespace varnopts {

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

// Starts one package hidden, in the modification's folder. A package that
// cannot be started costs two messages ("Failed to start <file>", then "The
// installation could not be completed."); the caller goes on regardless.
void RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                std::string_view gameFolder, std::string_view packageName);

// The packages Uninstall All runs, in order.
const std::array<std::string_view, 2>& UninstallPackages();

// Uninstall All: asks "Are you sure you want to uninstall VARN?"; on Yes and
// a passing version check (of paths.m_strInstallationPath) runs the uninstall
// packages with gameFolder. Returns true when the packages were started
// (or attempted), false when the user or the check said no.
bool UninstallAll(const platform::WinePrefix& prefix, const GamePaths& paths,
                  std::string_view gameFolder);

}  // namespace varnopts
