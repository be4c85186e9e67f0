#include "varnopts/window/install_pause.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

namespace varnopts::window {
namespace {

constexpr int kTickMilliseconds = 100;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// Swallows every input event meant for the window, its controls or the
// progress panel, closing included, for as long as it is installed.
class InputRefusal : public QObject {
  public:
    InputRefusal(QWidget* window, QWidget* panel) : window_(window), panel_(panel) {
        qApp->installEventFilter(this);
    }
    ~InputRefusal() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsUserInput(event->type())) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || !Refuses(widget)) {
            return false;
        }
        event->ignore();
        return true;
    }

  private:
    bool Refuses(const QWidget* widget) const {
        for (const QWidget* target : {window_.data(), panel_.data()}) {
            if (target != nullptr && (widget == target || target->isAncestorOf(widget))) {
                return true;
            }
        }
        return false;
    }

    QPointer<QWidget> window_;
    QPointer<QWidget> panel_;
};

int WholeSeconds(qint64 milliseconds) {
    return static_cast<int>((milliseconds + 999) / 1000);
}

}  // namespace

void RunInstallPause(QWidget* window, std::chrono::milliseconds duration) {
    const qint64 total = std::max<qint64>(0, duration.count());

    QDialog panel(window);
    panel.setObjectName(QStringLiteral("IDD_INSTALL_PROGRESS"));
    panel.setWindowTitle(window != nullptr ? window->windowTitle() : QString());
    panel.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    panel.setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(&panel);
    auto* label = new QLabel(QObject::tr("The VARN packages are being installed into Rainbow Six.\n"
                                         "Please wait until they have finished."),
                             &panel);
    auto* bar = new QProgressBar(&panel);
    bar->setObjectName(QStringLiteral("IDC_INSTALL_PROGRESS"));
    bar->setRange(0, static_cast<int>(std::min<qint64>(total, INT_MAX)));
    bar->setValue(0);
    layout->addWidget(label);
    layout->addWidget(bar);

    const auto showProgress = [&](qint64 elapsed) {
        const qint64 done = std::min(elapsed, total);
        bar->setValue(static_cast<int>(done));
        bar->setFormat(QObject::tr("%1 of %2 seconds")
                           .arg(done == total ? WholeSeconds(total) : done / 1000)
                           .arg(WholeSeconds(total)));
    };
    showProgress(0);

    InputRefusal refusal(window, &panel);
    panel.show();

    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.setInterval(kTickMilliseconds);
    QObject::connect(&tick, &QTimer::timeout, [&] { showProgress(clock.elapsed()); });
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    tick.start();
    end.start(static_cast<int>(std::min<qint64>(total, INT_MAX)));
    loop.exec();

    showProgress(total);
    panel.hide();
}

}  // namespace varnopts::window
