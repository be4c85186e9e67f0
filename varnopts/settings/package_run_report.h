#pragma once
// The one result a player gets after the packages of an install or of
// Uninstall All have run: a message box, and the same on standard error, one
// line per package, for a player who started the program from a terminal or
// a script.

#include <filesystem>
#include <string>
#include <vector>

#include "varnopts/settings/package_runner.h"

namespace varnopts {

enum class PackageAction { Install, Uninstall };

struct PackageRunReport {
    std::string text;                // Windows-1252, as messages are
    std::string details;             // the last lines of what Wine printed for each failed package
    unsigned style = 0;              // information when all went well, exclamation otherwise
    std::vector<std::string> lines;  // for standard error, one per package (UTF-8)
};

// The report; the details name the log (when given) where Wine's whole
// output is.
PackageRunReport DescribePackageRun(PackageAction action,
                                    const std::vector<PackageOutcome>& outcomes,
                                    const std::filesystem::path& log = {});

// Writes the lines to standard error, then shows the message.
void ReportPackageRun(PackageAction action, const std::vector<PackageOutcome>& outcomes,
                      const std::filesystem::path& log = {});

}  // namespace varnopts
