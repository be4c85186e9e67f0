#pragma once
// Bitmap 130: the two check-box images of the lists, 16 x 16 pixels each,
// side by side (empty box, ticked box). Pure red is the transparent colour.

#include <QIcon>
#include <QImage>

namespace loadwise {

constexpr int kCheckImageSize = 16;

// The 32 x 16 bitmap with its red mask colour.
QImage CheckBoxesBitmap();

// The image of a row's state image index (1 empty box, 2 ticked box), red
// made transparent; index 0 (no image) is a fully transparent image.
QImage CheckBoxImage(int stateImageIndex);

// The same as an icon, with a pixel-doubled image for 2x screens.
QIcon CheckBoxIcon(int stateImageIndex);

}  // namespace loadwise
