#include "varnopts/settings/package_run_report.h"

#include <iostream>

#include "platform/child_process.h"
#include "platform/codepage.h"
#include "platform/message.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {
namespace {

constexpr std::size_t kDetailLines = 15;

std::string TimeLimitText() {
    return "did not end within " + std::to_string(kPackageTimeLimit.count()) +
           " minutes and was stopped";
}

// What became of a package, after its name.
std::string Ending(const PackageOutcome& outcome) {
    if (outcome.cannotRun32Bit) {
        return outcome.started ? "did not run: Wine could not run this 32-bit program"
                               : "was not run: this Wine cannot run 32-bit programs";
    }
    if (!outcome.started) {
        return "could not be started (" + outcome.whyNotStarted + ")";
    }
    if (outcome.timedOut) {
        return TimeLimitText() + "; " + outcome.stoppedHow;
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
                                    const std::vector<PackageOutcome>& outcomes,
                                    const std::filesystem::path& log) {
    const std::string what = action == PackageAction::Install ? "installation" : "uninstallation";
    PackageRunReport report;
    std::size_t succeeded = 0;
    std::string hint;  // how to get what the packages that did not run lacked
    std::string failures;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const PackageOutcome& outcome = outcomes[i];
        if (hint.empty()) {
            hint = outcome.hint;
        }
        report.lines.push_back(outcome.name + " (" + std::to_string(i + 1) + " of " +
                               std::to_string(outcomes.size()) + "): " + Ending(outcome));
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
    if (!hint.empty()) {
        report.text += "\n\n" + hint;
    }
    if (!report.details.empty() && !log.empty()) {
        report.details += "\n\nThe whole log: " + log.string();
    }
    report.text = platform::Utf8ToCp1252(report.text);
    report.details = platform::Utf8ToCp1252(report.details);
    return report;
}

void ReportPackageRun(PackageAction action, const std::vector<PackageOutcome>& outcomes,
                      const std::filesystem::path& log) {
    const PackageRunReport report = DescribePackageRun(action, outcomes, log);
    for (const std::string& line : report.lines) {
        std::cerr << "varnopts: " << line << '\n';
    }
    std::cerr.flush();
    platform::ShowMessage(platform::WithDetails(report.text, report.details),
                          std::string(kCaptionOptions), report.style);
}

}  // namespace varnopts
