#pragma once
// Icon 128, the program's icon: a gun sight over a "V" on a field-green badge
// (res/icons: the drawing as SVG and PNGs at the desktop's sizes).

#include <QIcon>

namespace varnopts::res {

// Icon 128 at every size its PNGs have.
QIcon ProgramIcon();

}  // namespace varnopts::res
