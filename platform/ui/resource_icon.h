#pragma once
// Program icons are PNG files, one per size, compiled into the program as a
// Qt resource (the same files the desktop's icon theme gets). The resource
// holds the sizes up to 128 px: every size an icon has goes to the window
// manager when a window opens, and 128 px covers a 64 px task switcher at
// twice the scale; the 256 px image stays with the installed theme, where the
// desktop looks for it.

#include <QIcon>
#include <QString>

namespace platform::ui {

// An icon made of every image in the resource folder (":/name/icon"), each
// used at its own size.
QIcon ResourceIcon(const QString& folder);

}  // namespace platform::ui
