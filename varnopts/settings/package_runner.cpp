#include "varnopts/settings/package_runner.h"

#include <iostream>

#include "platform/codepage.h"
#include "platform/message.h"
#include "platform/program_start.h"
#include "platform/wine_32bit.h"
#include "platform/wine_build.h"
#include "platform/wine_program.h"
#include "platform/wineserver.h"
#include "varnopts/settings/package_table.h"
#include "varnopts/settings/program_launcher.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/settings/version_check.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {

std::string PackageFile(std::string_view modFolder, std::string_view packageName) {
    std::string file(modFolder);
    file += '\\';
    file += packageName;
    return file;
}

std::string PackageParameters(std::string_view gameFolder) {
    std::string parameters = "/auto ";
    parameters += gameFolder;
    return parameters;
}

std::string GameFolderProblem(std::string_view gameFolder) {
    if (gameFolder.find('"') != std::string_view::npos) {
        return "it holds a double quote";
    }
    if (gameFolder.find('\t') != std::string_view::npos) {
        return "it holds a tab";
    }
    if (gameFolder.find("  ") != std::string_view::npos) {
        return "it holds two or more blanks in a row";
    }
    if (gameFolder.starts_with(' ')) {
        return "it begins with a blank";
    }
    if (gameFolder.ends_with(' ')) {
        return "it ends with a blank";
    }
    return {};
}

bool CheckGameFolderForPackages(std::string_view gameFolder) {
    const std::string problem = GameFolderProblem(gameFolder);
    if (problem.empty()) {
        return true;
    }
    platform::ShowMessage(
        "The game folder\n\n" + std::string(gameFolder) +
            "\n\ncannot be handed to the VARN packages exactly: " + problem +
            ". Wine passes a program's command line on word by word, so the packages would work "
            "on another folder.\n\nNothing was changed. Move the game to a folder without such "
            "characters, run it once so that it records the new folder, and try again.",
        std::string(kCaptionInstallAborted), platform::MB_OK);
    return false;
}

namespace {

bool Is32Bit(const platform::WinePrefix& prefix, std::string_view modFolder,
             std::string_view packageName) {
    return platform::ProgramBitsOf(
               prefix, ExpandWindowsEnvironment(prefix, PackageFile(modFolder, packageName))) ==
           platform::ProgramBits::Bits32;
}

// Ends what a hung package left in the prefix, once the package itself and
// its process group have been killed.
std::string EndLeftovers(const platform::WinePrefix& prefix, bool serverRanBefore) {
    if (serverRanBefore) {
        return "it and the programs it started were ended (other programs run in the prefix)";
    }
    const std::string server = platform::WineserverProgram(prefix);
    const auto program = platform::FindExecutable(server);
    if (program) {
        const auto killed = platform::RunToEnd(
            {*program, {server, "-k"}, platform::EnvironmentWithPrefix(prefix), {}},
            std::chrono::seconds(30));
        if (killed && !killed->timedOut && killed->exitCode == 0) {
            return "it and every program in the prefix were ended (wineserver -k)";
        }
    }
    return "it and the programs it started were ended";
}

}  // namespace

bool CheckNoServerInSandbox(const platform::WinePrefix& prefix) {
    if (!platform::IsWineserverRunningInSandbox(prefix.folder)) {
        return true;
    }
    platform::ShowMessage(
        std::string(platform::kSandboxedServerExplanation) + "\n\nNothing was changed.",
        std::string(kCaptionInstallAborted), platform::MB_OK);
    return false;
}

bool CheckWineRunsPackages(const platform::WinePrefix& prefix, std::string_view modFolder,
                           const std::vector<std::string>& names) {
    if (platform::CanRun32Bit(prefix.wine) != platform::Runs32Bit::No) {
        return true;
    }
    std::string packages;
    for (const std::string& name : names) {
        if (Is32Bit(prefix, modFolder, name)) {
            packages += (packages.empty() ? "" : ", ") + name;
        }
    }
    if (packages.empty()) {
        return true;
    }
    platform::ShowMessage(
        platform::Utf8ToCp1252("The VARN packages " + packages +
                               " are 32-bit programs, and the Wine that would run them cannot "
                               "run 32-bit programs. " +
                               platform::How32BitPartIsGot(prefix.wine) +
                               "\n\nNothing was changed."),
        std::string(kCaptionInstallAborted), platform::MB_OK);
    return false;
}

PackageOutcome RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                          std::string_view gameFolder, std::string_view packageName,
                          const platform::RunLog* log, std::chrono::milliseconds timeLimit) {
    PackageOutcome outcome;
    outcome.name = packageName;
    const bool serverRanBefore = platform::IsWineserverRunning(prefix.folder);
    const platform::Result<platform::ChildExit> ran = LaunchProgramToEnd(
        prefix, PackageFile(modFolder, packageName), PackageParameters(gameFolder), modFolder,
        platform::ShowCommand::Hide, timeLimit);
    if (!ran) {
        outcome.whyNotStarted = ran.error().Describe();
        platform::ShowMessage("The installation could not be completed.",
                              std::string(kCaptionOptions), platform::MB_ICONEXCLAMATION);
        return outcome;
    }
    outcome.started = true;
    outcome.exitCode = ran->exitCode;
    outcome.timedOut = ran->timedOut;
    outcome.output = ran->output;
    if (outcome.timedOut) {
        outcome.stoppedHow = EndLeftovers(prefix, serverRanBefore);
    }
    if (log != nullptr) {
        log->Append("=== " + outcome.name + " /auto " + platform::Cp1252ToUtf8(gameFolder) + "\n" +
                    outcome.output + (outcome.output.ends_with('\n') ? "" : "\n") +
                    "=== " + outcome.name + ": exit code " + std::to_string(outcome.exitCode) +
                    (outcome.timedOut ? ", stopped at the time limit" : "") + "\n");
    }
    return outcome;
}

std::vector<PackageOutcome> RunPackages(const platform::WinePrefix& prefix,
                                        std::string_view modFolder, std::string_view gameFolder,
                                        const std::vector<std::string>& names,
                                        const PackageProgress& progress,
                                        const platform::RunLog* log) {
    std::vector<PackageOutcome> outcomes;
    platform::Runs32Bit runs32Bit = platform::CanRun32Bit(prefix.wine);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool is32Bit = Is32Bit(prefix, modFolder, names[i]);
        if (is32Bit && runs32Bit == platform::Runs32Bit::No) {
            PackageOutcome skipped;
            skipped.name = names[i];
            skipped.cannotRun32Bit = true;
            skipped.hint = platform::How32BitPartIsGot(prefix.wine);
            outcomes.push_back(std::move(skipped));
            continue;
        }
        if (progress) {
            progress(names[i], i + 1, names.size());
        }
        PackageOutcome outcome = RunPackage(prefix, modFolder, gameFolder, names[i], log);
        // Wine's exit status says nothing here: a Wine without its 32-bit
        // part says so and ends with 0.
        if (is32Bit && outcome.started && platform::SaysCannotRun32Bit(outcome.output)) {
            outcome.cannotRun32Bit = true;
            outcome.hint = platform::How32BitPartIsGot(prefix.wine);
            runs32Bit = platform::Runs32Bit::No;
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

const std::array<std::string_view, 2>& UninstallPackages() {
    static const std::array<std::string_view, 2> packages{kPackageUninstall,
                                                          kPackageOriginalGoCodes};
    return packages;
}

PackageRun RunPackagesLogged(const platform::WinePrefix& prefix, std::string_view modFolder,
                             std::string_view gameFolder, const std::vector<std::string>& names,
                             std::string_view what, const PackageProgress& progress) {
    const platform::Result<platform::RunLog> log = platform::RunLog::Create(what);
    if (!log) {
        std::cerr << "varnopts: no log of the packages' output: " << log.error().Describe() << '\n';
    }
    PackageRun run;
    run.outcomes =
        RunPackages(prefix, modFolder, gameFolder, names, progress, log ? &*log : nullptr);
    run.log = log ? log->file() : std::filesystem::path();
    return run;
}

std::optional<PackageRun> UninstallAll(const platform::WinePrefix& prefix, const GamePaths& paths,
                                       std::string_view gameFolder,
                                       const std::function<bool()>& mayRunWine,
                                       const PackageProgress& progress) {
    if (platform::ShowMessage("Are you sure you want to uninstall VARN?",
                              std::string(kCaptionUninstall),
                              platform::MB_YESNO) != platform::IDYES) {
        return std::nullopt;
    }
    const std::vector<std::string> names(UninstallPackages().begin(), UninstallPackages().end());
    if (!CheckGameVersion(prefix, paths.m_strInstallationPath) ||
        !CheckGameFolderForPackages(gameFolder) || !CheckNoServerInSandbox(prefix) ||
        (mayRunWine && !mayRunWine()) ||
        !CheckWineRunsPackages(prefix, paths.m_strModFolder, names)) {
        return std::nullopt;
    }
    return RunPackagesLogged(prefix, paths.m_strModFolder, gameFolder, names, "uninstall",
                             progress);
}

}  // namespace varnopts
