#pragma once
// The main window of Loadwise: three tabs of items with a check box each,
// the "Selected:" counter, Save, Exit, Select All, Unselect All, Multiplayer
// Only, About, and the description of the item clicked last.

#include <QDialog>
#include <QIcon>
#include <array>
#include <string>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/kit_files.h"
#include "platform/result.h"
#include "platform/windows_types.h"
#include "platform/wine_prefix.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace platform::ui {
class DialogBuilder;
}

namespace loadwise {
class CCheckListCtrl;
}

class CLoadwiseDlg : public QDialog {
    Q_OBJECT
  public:
    // Creates the window's controls; nothing is read until OnInitDialog.
    explicit CLoadwiseDlg(const platform::WinePrefix& prefix, QWidget* parent = nullptr);
    ~CLoadwiseDlg() override;

    // The start-up sequence: finds the game, makes its kit files writable,
    // fills the three lists and shows the Primary tab. Problems are told in
    // messages here, before the window is shown. Runs once.
    BOOL OnInitDialog();
    // OnInitDialog, then the window until Save or Exit.
    int DoModal();

    // Shows the tab's count and decides whether Save may be pressed.
    void UpdateSelectedCount(int tab);

    loadwise::CCheckListCtrl* List(int tab) const { return m_pList[tab]; }
    int CurrentTab() const { return m_nCurTab; }
    const std::string& Description() const { return m_strDescription; }

  protected:
    // Return and Enter press the focused push button, as a click would.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Start-up steps.
    void ReadGamePaths();
    void ClearReadOnlyFiles();
    void LoadItemNames();
    void FillItemList(int tab);
    void ShowList(int tab);

    // Window actions.
    void OnSelchangeKitTab();
    void OnClickList(int row);  // a press on the list, or Space on its current row
    void OnSelectAll();
    void OnUnselectAll();
    void OnMultiplayerOnly();
    void OnAbout();
    void OnOK();
    void ShowDescription(int row);  // also when the keyboard moves the current row
    void SetAllChecks(bool ticked);
    platform::Status SaveKitLists();

    // Member data <-> controls (description text, Multiplayer Only).
    void UpdateData(bool saveAndValidate);

    platform::WinePrefix prefix_;
    platform::ui::DialogBuilder* builder_ = nullptr;
    bool initialised_ = false;
    std::vector<platform::Error> startupProblems_;

    bool m_bDevMode = false;
    QPushButton* m_btnSave = nullptr;
    QLabel* m_stcCount = nullptr;
    QTabWidget* m_tabKit = nullptr;
    std::string m_strDescription;
    bool m_bMultiplayerOnly = false;
    std::array<bool, kitdata::kTabCount> m_bTabValid{true, true, true};
    int m_nCurTab = 0;
    std::array<loadwise::CCheckListCtrl*, kitdata::kTabCount> m_pList{};
    std::vector<std::string> m_astrNames;
    QIcon icon_;
    kitdata::GamePaths paths_;  // the eight game folders and m_bDevMode as read

    QPlainTextEdit* editDescription_ = nullptr;
    QCheckBox* checkMultiplayerOnly_ = nullptr;
};
