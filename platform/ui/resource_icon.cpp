#include "platform/ui/resource_icon.h"

#include <QDir>

namespace platform::ui {

QIcon ResourceIcon(const QString& folder) {
    QIcon icon;
    const QDir images(folder, QStringLiteral("*.png"));
    for (const QString& name : images.entryList(QDir::Files)) {
        icon.addFile(images.filePath(name));
    }
    return icon;
}

}  // namespace platform::ui
