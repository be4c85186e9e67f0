#include "varnopts/settings/package_runner.h"

#include "platform/message.h"
#include "varnopts/settings/package_table.h"
#include "varnopts/settings/program_launcher.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/settings/version_check.h"

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
        std::string(kCaptionInstallAborted), platform::MB_ICONHAND);
    return false;
}

PackageOutcome RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                          std::string_view gameFolder, std::string_view packageName) {
    PackageOutcome outcome;
    outcome.name = packageName;
    const platform::Result<platform::ChildExit> ran = LaunchProgramToEnd(
        prefix, PackageFile(modFolder, packageName), PackageParameters(gameFolder), modFolder,
        platform::ShowCommand::Hide, kPackageTimeLimit);
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
    return outcome;
}

std::vector<PackageOutcome> RunPackages(const platform::WinePrefix& prefix,
                                        std::string_view modFolder, std::string_view gameFolder,
                                        const std::vector<std::string>& names,
                                        const PackageProgress& progress) {
    std::vector<PackageOutcome> outcomes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (progress) {
            progress(names[i], i + 1, names.size());
        }
        outcomes.push_back(RunPackage(prefix, modFolder, gameFolder, names[i]));
    }
    return outcomes;
}

const std::array<std::string_view, 2>& UninstallPackages() {
    static const std::array<std::string_view, 2> packages{kPackageUninstall,
                                                          kPackageOriginalGoCodes};
    return packages;
}

std::optional<std::vector<PackageOutcome>> UninstallAll(const platform::WinePrefix& prefix,
                                                        const GamePaths& paths,
                                                        std::string_view gameFolder,
                                                        const PackageProgress& progress) {
    if (platform::ShowMessage("Are you sure you want to uninstall VARN?",
                              std::string(kCaptionUninstall),
                              platform::MB_YESNO) != platform::IDYES) {
        return std::nullopt;
    }
    if (!CheckGameFolderForPackages(gameFolder) ||
        !CheckGameVersion(prefix, paths.m_strInstallationPath)) {
        return std::nullopt;
    }
    const std::vector<std::string> names(UninstallPackages().begin(), UninstallPackages().end());
    return RunPackages(prefix, paths.m_strModFolder, gameFolder, names, progress);
}

}  // namespace varnopts
