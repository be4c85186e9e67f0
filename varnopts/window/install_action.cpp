// The install action of the options window: version check, read-only marks
// cleared in the game's folders, the chosen packages started, then a pause
// while they work.

#include <QComboBox>

#include "platform/message.h"
#include "platform/ui/wait_cursor.h"
#include "varnopts/res/resource_ids.h"
#include "varnopts/settings/install_plan.h"
#include "varnopts/settings/package_runner.h"
#include "varnopts/settings/read_only_clearing.h"
#include "varnopts/settings/version_check.h"
#include "varnopts/window/install_pause.h"
#include "varnopts/window/varn_options_dlg.h"

namespace {

// The caption of a file error: the program's own name, as the desktop shows
// errors that come from the system rather than from the program's texts.
constexpr char kFileErrorCaption[] = "varnopts";

}  // namespace

void CVarnOptionsDlg::OnInstall() {
    using namespace varnopts::res;
    if (!varnopts::CheckGameFolderForPackages(m_strGameFolder) ||
        !varnopts::CheckGameVersion(m_prefix, m_paths.m_strInstallationPath)) {
        return;
    }
    platform::ui::WaitCursor waitCursor;

    const platform::Status cleared = varnopts::ClearGameReadOnlyFiles(m_prefix, m_paths);
    if (!cleared) {
        // A file that keeps its mark would make the packages fail half-way:
        // nothing is started, and the user learns which file it is.
        waitCursor.Restore();
        platform::ShowMessage(varnopts::DescribeClearingFailure(cleared.error()), kFileErrorCaption,
                              platform::MB_ICONHAND);
        return;
    }

    const std::vector<std::string> plan = varnopts::MakeInstallPlan(
        QuickWeaponPosition(), ComboBox(IDC_COMBO_MP_MODE)->currentIndex(),
        ComboBox(IDC_COMBO_SOUND)->currentIndex(), ComboBox(IDC_COMBO_GOCODES)->currentIndex(),
        varnopts::IsEagleWatchInstalled(m_prefix));
    for (const std::string& package : plan) {
        varnopts::RunPackage(m_prefix, m_paths.m_strModFolder, m_strGameFolder, package);
    }

    varnopts::window::RunInstallPause(this, m_installPause);
    waitCursor.Restore();
}
