#pragma once
// For the start-up benchmark: a program built with this ends the moment its
// main dialog is first exposed on screen, after printing "shown", so that a
// harness can time it from outside, process start included. It adds nothing
// to the programs themselves.

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace bench {

class ShownProbe : public QObject {
  public:
    // className: the dialog's class, as QObject::inherits() knows it.
    explicit ShownProbe(const char* className) : className_(className) {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose) {
            return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || !window->isExposed()) {
            return false;
        }
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() != window) {
                continue;
            }
            // A message at start-up means the installation is not the one the
            // benchmark expects: fail rather than wait for a click.
            if (widget->inherits("QMessageBox")) {
                std::cerr << "start-up message: "
                          << widget->property("text").toString().toStdString() << '\n';
                std::_Exit(2);
            }
            if (widget->inherits(className_)) {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        return false;
    }

  private:
    const char* className_;
};

}  // namespace bench
