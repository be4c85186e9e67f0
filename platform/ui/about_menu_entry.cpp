#include "platform/ui/about_menu_entry.h"

#include <QAction>
#include <QWidget>

namespace platform::ui {

QAction* AddAboutMenuEntry(QWidget& window, const QString& text, unsigned command,
                           std::function<void()> onTriggered) {
    if (text.isEmpty()) {
        return nullptr;
    }
    auto* action = new QAction(text, &window);
    action->setObjectName(QStringLiteral("IDM_ABOUTBOX"));
    action->setData(command);
    QObject::connect(action, &QAction::triggered, &window, std::move(onTriggered));
    window.addAction(action);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

}  // namespace platform::ui
