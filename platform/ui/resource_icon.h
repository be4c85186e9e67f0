#pragma once
// Program icons are PNG files, one per size, compiled into the program as a
// Qt resource (the same files the desktop's icon theme gets).

#include <QIcon>
#include <QString>

namespace platform::ui {

// An icon made of every image in the resource folder (":/name/icon"), each
// used at its own size.
QIcon ResourceIcon(const QString& folder);

}  // namespace platform::ui
