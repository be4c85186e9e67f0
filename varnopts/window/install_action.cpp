// The install action of the options window: version check, the game folder
// and the Wine that would run the packages checked, read-only marks
// cleared in the game's folders, then the chosen packages run one after
// another while the window shows which one runs; one result at the end.
// Uninstall All runs its packages the same way.

#include <QComboBox>
#include <optional>

#include "platform/message.h"
#include "platform/ui/busy_window.h"
#include "platform/ui/text_codec.h"
#include "varnopts/res/resource_ids.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/package_run_report.h"
#include "varnopts/settings/package_runner.h"
#include "varnopts/settings/read_only_clearing.h"
#include "varnopts/settings/version_check.h"
#include "varnopts/window/varn_options_dlg.h"

namespace {

// The caption of a file error: the program's own name, as the desktop shows
// errors that come from the system rather than from the program's texts.
constexpr char kFileErrorCaption[] = "varnopts";

// "VARN_FULL.EXE, 1 of 6"
QString PackageStatus(std::string_view name, std::size_t place, std::size_t count) {
    return QStringLiteral("%1, %2 of %3")
        .arg(platform::ui::FromCp1252(std::string(name)))
        .arg(place)
        .arg(count);
}

}  // namespace

void CVarnOptionsDlg::OnInstall() {
    using namespace varnopts::res;
    // Busy from the first step: while a wineserver runs, the game's keys are
    // read through Wine's reg tool, and the window keeps painting meanwhile.
    std::optional<platform::ui::BusyWindow> busy(std::in_place, this);
    const std::vector<std::string> plan = varnopts::MakeInstallPlan(
        QuickWeaponPosition(), ComboBox(IDC_COMBO_MP_MODE)->currentIndex(),
        ComboBox(IDC_COMBO_SOUND)->currentIndex(), ComboBox(IDC_COMBO_GOCODES)->currentIndex(),
        varnopts::IsEagleWatchInstalled(prefix_));
    if (!varnopts::CheckGameVersion(prefix_, paths_.m_strInstallationPath) ||
        !varnopts::CheckGameFolderForPackages(m_strGameFolder) ||
        !varnopts::CheckNoServerInSandbox(prefix_) || !wineConsent_.MayRunWine(prefix_) ||
        !varnopts::CheckWineRunsPackages(prefix_, paths_.m_strModFolder, plan)) {
        return;
    }

    const platform::Status cleared = varnopts::ClearGameReadOnlyFiles(prefix_, paths_);
    if (!cleared) {
        // A file that keeps its mark would make the packages fail half-way:
        // nothing is started, and the user learns which file it is.
        busy.reset();
        platform::ShowMessage(varnopts::DescribeClearingFailure(cleared.error()), kFileErrorCaption,
                              platform::MB_ICONHAND);
        return;
    }

    const varnopts::PackageRun run = varnopts::RunPackagesLogged(
        prefix_, paths_.m_strModFolder, m_strGameFolder, plan, "install",
        [&](std::string_view name, std::size_t place, std::size_t count) {
            busy->ShowStatus(PackageStatus(name, place, count));
        });
    busy.reset();
    varnopts::ReportPackageRun(varnopts::PackageAction::Install, run.outcomes, run.log);
}

void CVarnOptionsDlg::OnUninstallAll() {
    // Busy from the first step, as Install: the version check reads the
    // game's keys, through Wine's reg tool while a wineserver runs.
    std::optional<platform::ui::BusyWindow> busy(std::in_place, this);
    const auto run = varnopts::UninstallAll(
        prefix_, paths_, m_strGameFolder, [this] { return wineConsent_.MayRunWine(prefix_); },
        [&](std::string_view name, std::size_t place, std::size_t count) {
            busy->ShowStatus(PackageStatus(name, place, count));
        });
    busy.reset();
    if (run) {
        varnopts::ReportPackageRun(varnopts::PackageAction::Uninstall, run->outcomes, run->log);
    }
}
