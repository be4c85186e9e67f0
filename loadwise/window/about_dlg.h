#pragma once
// The About box: the program icon, its name and version, and OK.

#include <QDialog>

namespace loadwise {

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace loadwise
