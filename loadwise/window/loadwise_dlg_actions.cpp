// What the main window does when the user works in it.

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_list_writer.h"
#include "loadwise/kitdata/kitdata_messages.h"
#include "loadwise/kitdata/selected_count.h"
#include "loadwise/window/about_dlg.h"
#include "loadwise/window/check_list_ctrl.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/message.h"
#include "platform/ui/wait_cursor.h"

void CLoadwiseDlg::UpdateSelectedCount(int tab) {
    if (tab < 0 || tab >= kitdata::kTabCount) {
        return;
    }
    const int count = kitdata::SelectedCount(tab, m_pList[tab]->Rows().CheckedRowCount());
    m_stcCount->setText(QString::number(count));
    m_bTabValid[tab] = kitdata::IsCountAcceptable(count, m_bMultiplayerOnly);
    m_btnSave->setEnabled(kitdata::IsSaveAllowed(m_bTabValid));
}

void CLoadwiseDlg::OnSelchangeKitTab() {
    const int tab = m_tabKit->currentIndex();
    if (tab >= 0 && tab < kitdata::kTabCount) {
        ShowList(tab);
        m_nCurTab = tab;
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::OnClickList(int row) {
    if (row >= 0) {
        ShowDescription(row);
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::ShowDescription(int row) {
    const std::string text = m_pList[m_nCurTab]->GetCellText(row, kitdata::kTextColumn);
    m_strDescription = kitdata::ReadDescription(m_prefix, m_paths, text);
    UpdateData(false);
}

void CLoadwiseDlg::SetAllChecks(bool ticked) {
    loadwise::CCheckListCtrl& list = *m_pList[m_nCurTab];
    for (int row = 0; row < list.GetRowCount(); ++row) {
        list.SetCheck(row, ticked);
    }
    UpdateSelectedCount(m_nCurTab);
}

void CLoadwiseDlg::OnSelectAll() {
    SetAllChecks(true);
}

void CLoadwiseDlg::OnUnselectAll() {
    SetAllChecks(false);
}

void CLoadwiseDlg::OnMultiplayerOnly() {
    UpdateData(true);
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        UpdateSelectedCount(tab);
    }
}

void CLoadwiseDlg::OnAbout() {
    loadwise::CAboutDlg about(this);
    about.exec();
}

platform::Status CLoadwiseDlg::SaveKitLists() {
    if (!m_paths.m_bAllPathsRead) {
        // The lists are empty then; no file is looked for under made-up folders.
        return platform::Error{"The game's folders",
                               "they could not be read from the registry, so there is nothing "
                               "to save"};
    }
    kitdata::TabTicks ticks;
    for (int tab = 0; tab < kitdata::kTabCount; ++tab) {
        const loadwise::CCheckListCtrl& list = *m_pList[tab];
        for (int row = 0; row < list.GetRowCount(); ++row) {
            ticks[tab].push_back({list.GetCellText(row, kitdata::kTextColumn), list.GetCheck(row)});
        }
    }
    const platform::ui::WaitCursor wait;
    return kitdata::SaveKitLists(m_prefix, m_paths, ticks);
}

void CLoadwiseDlg::OnOK() {
    const platform::Status saved = SaveKitLists();
    if (!saved) {
        // The user may put the problem right and save again.
        platform::ShowMessage(kitdata::SaveFailedMessage(saved.error()), kitdata::kMessageCaption,
                              platform::MB_OK | platform::MB_ICONHAND);
        return;
    }
    UpdateData(true);
    accept();
}
