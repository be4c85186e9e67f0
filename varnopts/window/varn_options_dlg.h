#pragma once
// The options window: the four install choices, the install and uninstall
// actions, the mouse sensitivity slider, the game's start buttons, Help and
// About. The logic lives in varnopts/settings; this class gathers its inputs
// from the controls and shows its results.

#include <QDialog>
#include <QIcon>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_types.h"
#include "platform/wine_prefix.h"
#include "varnopts/settings/game_launch.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/wine_consent.h"

class QAction;
class QComboBox;
class QPushButton;
class QSlider;
class QTimer;

namespace platform::ui {
class DialogBuilder;
}

class CVarnOptionsDlg : public QDialog {
    Q_OBJECT
  public:
    // Builds the controls of template 102; nothing is read yet.
    explicit CVarnOptionsDlg(const platform::WinePrefix& prefix, QWidget* parent = nullptr);

    // The start-up sequence: texts and captions, the game's and the
    // modification's folders, the lists, the slider, Start EW. When the game
    // cannot be found it shows why and ends the dialog with IDCANCEL (the
    // window is then never shown) and returns FALSE.
    BOOL OnInitDialog();

    // OnInitDialog, then runs the window modally unless it has already ended.
    // Returns how it ended (IDOK or IDCANCEL).
    int DoModal();

    // The list position of the quick weapon selection: the selected entry, or
    // -1 when the typed text names none.
    int QuickWeaponPosition() const;

    const varnopts::GamePaths& GamePaths() const { return paths_; }
    const std::string& GameFolder() const { return m_strGameFolder; }
    QAction* AboutAction() const { return aboutAction_; }

  public slots:
    void OnOK();
    void OnCancel();
    void OnInstall();
    void OnHelpButton();
    void OnReset();
    void OnSave();
    void OnStartR6();
    void OnStartEW();
    void OnAbout();
    void OnUninstallAll();

  protected:
    void reject() override;

  private:
    void AddAboutMenuEntry();
    void LoadTexts();
    void SetCaptions();
    void FillLists();
    QComboBox* ComboBox(int id) const;
    QPushButton* Button(int id) const;
    // Starts a game program (after the question about another Wine, if
    // due) and watches its first seconds without waiting for it.
    void StartGame(std::string_view program);
    void WatchGameStarts();

    platform::WinePrefix prefix_;
    platform::ui::DialogBuilder* builder_ = nullptr;

    QComboBox* m_comboQuickWeapon = nullptr;
    QPushButton* m_btnStartEW = nullptr;
    QSlider* m_sliderMouse = nullptr;
    // The game's folders, its mouse sensitivity and the modification's folder,
    // as the registry held them at start.
    varnopts::GamePaths paths_;
    // InstallationPath as taken at the end of the set-up: where the game's
    // programs start and what every package is given.
    std::string m_strGameFolder;
    QIcon icon_;
    QAction* aboutAction_ = nullptr;
    // The interface texts by string-table entry, loaded once at start.
    std::map<int, QString> texts_;
    bool ended_ = false;
    // Whether Wine may run on the prefix when its launcher's build cannot be
    // used: asked once, the answer holds while the program runs.
    varnopts::WineConsent wineConsent_;
    // Games started whose first seconds are still watched, and the timer
    // that looks at them.
    std::vector<std::unique_ptr<varnopts::GameStart>> gameStarts_;
    QTimer* gameWatch_ = nullptr;
};
