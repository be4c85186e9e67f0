#pragma once
// Drives a Loadwise window the way a user does: clicks on check boxes, row
// texts, headings, tabs and buttons, found by their control ids.

#include <QPoint>
#include <QString>
#include <memory>
#include <string>

#include "loadwise/window/check_list_ctrl.h"
#include "loadwise/window/loadwise_dlg.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace loadwisetest {

class WindowDriver {
  public:
    // Creates the window, runs its start-up and shows it.
    explicit WindowDriver(const platform::WinePrefix& prefix);
    ~WindowDriver();

    CLoadwiseDlg& dialog() { return *dialog_; }
    loadwise::CCheckListCtrl& list(int tab) { return *dialog_->List(tab); }
    QPushButton* button(const char* id);
    QLabel* counter();
    QTabWidget* tabs();
    QCheckBox* multiplayerOnly();
    QPlainTextEdit* descriptionBox();
    QString description();

    void ClickCheckBox(int tab, int row);
    void ClickRowText(int tab, int row);
    void ClickBelowRows(int tab);
    void ClickHeading(int tab, int column);
    void ClickTab(int tab);
    void Click(const char* id);
    void ClickMultiplayerOnly();

    // Column texts of a list from top to bottom.
    std::string Column(int tab, int column);
    int CheckedRows(int tab);

  private:
    std::unique_ptr<CLoadwiseDlg> dialog_;
};

}  // namespace loadwisetest
