#pragma once
// Dialog templates as tables: each control with its id, kind, text, position
// and size in dialog units. Placement follows the dialog's font, as Windows
// does: x * average character width / 4, y * character height / 8.

#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace platform::ui {

enum class ControlKind {
    PushButton,
    DefPushButton,
    GroupBox,
    Static,     // left-aligned text
    CheckBox,
    ComboBoxDropDown,      // editable
    ComboBoxDropDownList,  // not editable
    Edit,
    ListView,
    TabControl,
    Trackbar,
    Icon,
};

struct ControlTemplate {
    int id;             // the control id; -1 for a static without one
    ControlKind kind;
    const char* text;   // Windows-1252 text with & mnemonics
    int x, y, width, height;  // dialog units
    bool disabled = false;
    const char* objectName = nullptr;  // "IDC_LIST_PRIMARY" ...: the widget's object name
};

struct DialogTemplate {
    const char* caption;
    int width, height;  // dialog units
    std::vector<ControlTemplate> controls;  // in tab order
};

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // Base units in pixels: average character width and character height.
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

}  // namespace platform::ui
