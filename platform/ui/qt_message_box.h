#pragma once
// The Qt message box behind platform::ShowMessage, and the folder dialog
// behind platform::AskForFolder.

#include <QPointer>
#include <QWidget>

namespace platform::ui {

// Installs a Qt message box as the message operation and a folder dialog as
// the folder operation; both are modal and
// owned by owner (which may change later with SetMessageOwner).
void InstallQtMessageBox(QWidget* owner = nullptr);
void SetMessageOwner(QWidget* owner);

}  // namespace platform::ui
