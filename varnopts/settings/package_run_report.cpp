#include "varnopts/settings/package_run_report.h"

#include <iostream>

#include "platform/child_process.h"
#include "platform/codepage.h"
#include "platform/message.h"
#include "platform/wine_program.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {
namespace {

constexpr std::size_t kDetailLines = 15;

constexpr char kInstallWine32[] =
    "Wine cannot run the packages: its 32-bit part (wine32) is missing. Install it, on "
    "Debian and Ubuntu with\n"
    "sudo dpkg --add-architecture i386 && sudo apt update && sudo apt install wine32:i386\n"
    "(on other systems the 32-bit or WoW64 package of Wine), then try again.";

std::string TimeLimitText() {
    return "did not end within " + std::to_string(kPackageTimeLimit.count()) +
           " minutes and was stopped";
}

// What became of a package, after its name.
std::string Ending(const PackageOutcome& outcome) {
    if (!outcome.started) {
        return "could not be started (" + outcome.whyNotStarted + ")";
    }
    if (outcome.timedOut) {
        return TimeLimitText();
    }
    return "ended with exit code " + std::to_string(outcome.exitCode);
}

std::string AllCount(std::size_t count) {
    return count == 1   ? "the package"
           : count == 2 ? "both packages"
                        : "all " + std::to_string(count) + " packages";
}

}  // namespace

PackageRunReport DescribePackageRun(PackageAction action,
                                    const std::vector<PackageOutcome>& outcomes) {
    const std::string what = action == PackageAction::Install ? "installation" : "uninstallation";
    PackageRunReport report;
    std::size_t succeeded = 0;
    bool wine32Missing = false;
    std::string failures;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const PackageOutcome& outcome = outcomes[i];
        // Debian's wine says so at every start; it matters only when the
        // package then failed (a 64-bit package runs without wine32).
        const bool noWine32 = outcome.started && !outcome.Succeeded() &&
                              platform::SaysWine32IsMissing(outcome.output);
        wine32Missing = wine32Missing || noWine32;
        report.lines.push_back(
            outcome.name + " (" + std::to_string(i + 1) + " of " + std::to_string(outcomes.size()) +
            "): " + Ending(outcome) +
            (noWine32 ? "; Wine cannot run 32-bit programs (wine32 is missing)" : ""));
        if (outcome.Succeeded()) {
            ++succeeded;
            continue;
        }
        failures += '\n' + outcome.name + ' ' + Ending(outcome) + '.';
        const std::string last = platform::LastLines(outcome.output, kDetailLines);
        if (outcome.started && !last.empty()) {
            report.details += (report.details.empty() ? "" : "\n\n") + outcome.name + " (" +
                              (outcome.timedOut ? TimeLimitText()
                                                : "exit code " + std::to_string(outcome.exitCode)) +
                              "), the last lines Wine printed:\n" + last;
        }
    }
    if (succeeded == outcomes.size()) {
        report.style = platform::MB_ICONASTERISK;
        report.text = "The " + what + " of VARN is finished: " + AllCount(outcomes.size()) +
                      " ran and ended without error.";
        return report;
    }
    report.style = platform::MB_ICONEXCLAMATION;
    report.text = "The " + what + " of VARN is not complete:" + failures + '\n' +
                  std::to_string(succeeded) + " of " + std::to_string(outcomes.size()) +
                  " packages ran and ended without error.";
    if (wine32Missing) {
        report.text += "\n\n";
        report.text += kInstallWine32;
    }
    report.text = platform::Utf8ToCp1252(report.text);
    report.details = platform::Utf8ToCp1252(report.details);
    return report;
}

void ReportPackageRun(PackageAction action, const std::vector<PackageOutcome>& outcomes) {
    const PackageRunReport report = DescribePackageRun(action, outcomes);
    for (const std::string& line : report.lines) {
        std::cerr << "varnopts: " << line << '\n';
    }
    std::cerr.flush();
    platform::ShowMessage(platform::WithDetails(report.text, report.details),
                          std::string(kCaptionOptions), report.style);
}

}  // namespace varnopts
