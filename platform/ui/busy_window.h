#pragma once
// A window that waits for a program (Wine's reg tool, the modification's
// packages): for as long as the object lives the window shows the wait
// cursor, takes no input (closing included), and keeps painting while the
// core waits for a child process (it installs the waiting operation of
// platform/child_process.h). ShowStatus adds a small panel that says what
// runs and for how long.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <memory>

#include "platform/child_process.h"
#include "platform/ui/wait_cursor.h"

class QDialog;
class QLabel;
class QWidget;

namespace platform::ui {

class BusyWindow {
  public:
    explicit BusyWindow(QWidget* window);
    ~BusyWindow();
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

    // Shows text ("VARN_FULL.EXE, 1 of 6") and the time since this call in
    // the panel; the panel appears once the wait has lasted showAfter.
    void ShowStatus(const QString& text, int showAfterMilliseconds = 0);

  private:
    class InputRefusal;
    void WhileWaiting();
    void ShowElapsed();

    QPointer<QWidget> window_;
    WaitCursor waitCursor_;
    std::unique_ptr<InputRefusal> refusal_;
    std::unique_ptr<QDialog> panel_;
    QLabel* text_ = nullptr;
    QLabel* time_ = nullptr;
    QElapsedTimer sinceStatus_;
    int showAfter_ = 0;
    qint64 shownSeconds_ = -1;
    WaitingOperation previous_;
};

}  // namespace platform::ui
