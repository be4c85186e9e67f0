#pragma once
// Icon 128, the program icon: a rifle scope's reticle over an olive kit case
// (res/icons: the drawing as SVG and PNGs at the desktop's sizes).

#include <QIcon>

namespace loadwise {

// The icon at every size its PNGs have.
QIcon ProgramIcon();

}  // namespace loadwise
