#pragma once
// The About box: the program's icon, name and version.

#include <QDialog>
#include <QIcon>

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};
