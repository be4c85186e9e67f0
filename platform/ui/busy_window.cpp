#include "platform/ui/busy_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace platform::ui {
namespace {

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

QString Elapsed(qint64 seconds) {
    return QObject::tr("Running for %1:%2")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

// Swallows every input event meant for the window, its controls or the
// panel, for as long as it is installed. Message boxes are windows of their
// own and still take their answer.
class BusyWindow::InputRefusal : public QObject {
  public:
    explicit InputRefusal(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputRefusal() override { qApp->removeEventFilter(this); }
    void AlsoRefuse(QWidget* panel) { panel_ = panel; }

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

BusyWindow::BusyWindow(QWidget* window)
    : window_(window), refusal_(std::make_unique<InputRefusal>(window)) {
    previous_ = SetWaitingOperation([this] { WhileWaiting(); });
}

BusyWindow::~BusyWindow() {
    SetWaitingOperation(std::move(previous_));
    if (panel_) {
        panel_->hide();
    }
}

void BusyWindow::ShowStatus(const QString& text, int showAfterMilliseconds) {
    if (!panel_) {
        panel_ = std::make_unique<QDialog>(window_.data());
        panel_->setObjectName(QStringLiteral("IDD_BUSY_PANEL"));
        panel_->setWindowTitle(window_ != nullptr ? window_->windowTitle() : QString());
        panel_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        panel_->setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(panel_.get());
        text_ = new QLabel(panel_.get());
        text_->setObjectName(QStringLiteral("IDC_BUSY_TEXT"));
        time_ = new QLabel(panel_.get());
        time_->setObjectName(QStringLiteral("IDC_BUSY_TIME"));
        auto* bar = new QProgressBar(panel_.get());
        bar->setRange(0, 0);  // moves without a known end
        bar->setTextVisible(false);
        layout->addWidget(text_);
        layout->addWidget(time_);
        layout->addWidget(bar);
        panel_->setMinimumWidth(panel_->fontMetrics().averageCharWidth() * 40);
        refusal_->AlsoRefuse(panel_.get());
    }
    text_->setText(text);
    showAfter_ = showAfterMilliseconds;
    sinceStatus_.start();
    shownSeconds_ = -1;
    ShowElapsed();
    if (showAfter_ <= 0) {
        panel_->show();
    }
}

void BusyWindow::ShowElapsed() {
    const qint64 seconds = sinceStatus_.elapsed() / 1000;
    if (seconds != shownSeconds_) {
        shownSeconds_ = seconds;
        time_->setText(Elapsed(seconds));
    }
}

void BusyWindow::WhileWaiting() {
    if (panel_) {
        ShowElapsed();
        if (!panel_->isVisible() && sinceStatus_.elapsed() >= showAfter_) {
            panel_->show();
        }
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace platform::ui
