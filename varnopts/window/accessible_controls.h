#pragma once
// What screen readers and tooltips tell about the options window's controls
// that have no text of their own: the four choice lists are named by the
// labels above them, the mouse sensitivity slider by its group, and the
// slider tells its value (tooltip while it moves, and to screen readers).

class QDialog;
class QSlider;

namespace varnopts {

// Call once the labels and the group have their texts.
void DescribeControls(QDialog& dialog, QSlider& sensitivity);

}  // namespace varnopts
