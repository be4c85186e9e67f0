#include "platform/ui/wait_cursor.h"

#include <QApplication>

namespace platform::ui {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    Restore();
}

void WaitCursor::Restore() {
    if (active_) {
        active_ = false;
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace platform::ui
