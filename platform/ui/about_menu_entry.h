#pragma once
// The About entry that a Windows program appends to its window's system
// menu. Linux window managers own the window menu, so the entry lives in the
// window's context menu instead.

#include <QString>
#include <functional>

class QAction;
class QWidget;

namespace platform::ui {

// Adds the entry (object name "IDM_ABOUTBOX", data command) to window's
// context menu; onTriggered runs when it is chosen. An empty text adds
// nothing and returns nullptr, as an empty string resource does.
QAction* AddAboutMenuEntry(QWidget& window, const QString& text, unsigned command,
                           std::function<void()> onTriggered);

}  // namespace platform::ui
