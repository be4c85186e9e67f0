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

void RunPackage(const platform::WinePrefix& prefix, std::string_view modFolder,
                std::string_view gameFolder, std::string_view packageName) {
    if (!LaunchProgram(prefix, PackageFile(modFolder, packageName), PackageParameters(gameFolder),
                       modFolder, platform::ShowCommand::Hide)) {
        platform::ShowMessage("The installation could not be completed.",
                              std::string(kCaptionOptions), platform::MB_ICONEXCLAMATION);
    }
}

const std::array<std::string_view, 2>& UninstallPackages() {
    static const std::array<std::string_view, 2> packages{kPackageUninstall,
                                                          kPackageOriginalGoCodes};
    return packages;
}

bool UninstallAll(const platform::WinePrefix& prefix, const GamePaths& paths,
                  std::string_view gameFolder) {
    if (platform::ShowMessage("Are you sure you want to uninstall VARN?",
                              std::string(kCaptionUninstall),
                              platform::MB_YESNO) != platform::IDYES) {
        return false;
    }
    if (!CheckGameVersion(prefix, paths.m_strInstallationPath)) {
        return false;
    }
    for (const std::string_view package : UninstallPackages()) {
        RunPackage(prefix, paths.m_strModFolder, gameFolder, package);
    }
    return true;
}

}  // namespace varnopts
