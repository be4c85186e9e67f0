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
    Static,  // left-aligned text
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
    int id;  // the control id; -1 for a static without one
    ControlKind kind;
    const char* text;         // Windows-1252 text with & mnemonics
    int x, y, width, height;  // dialog units
    bool disabled = false;
    const char* objectName = nullptr;  // "IDC_LIST_PRIMARY" ...: the widget's object name
    unsigned style = 0;                // ControlStyle flags
};

// Styles beyond the kind, as flags of ControlTemplate::style.
namespace ControlStyle {
constexpr unsigned kCentered = 0x1;   // Static: centred text
constexpr unsigned kMultiLine = 0x2;  // Edit: several lines, word wrap, vertical scroll bar;
                                      // CheckBox: text wraps, aligned to the top
constexpr unsigned kNoPrefix = 0x4;   // Static: "&" is shown as it is, not as a mnemonic
constexpr unsigned kReadOnly = 0x8;   // Edit
constexpr unsigned kHidden = 0x10;    // created hidden
}  // namespace ControlStyle

struct DialogTemplate {
    const char* caption;
    int width, height;                      // dialog units
    std::vector<ControlTemplate> controls;  // in tab order
};

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    // Base units in pixels: average character width and character height.
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    // Each value is mapped on its own and rounded, as Windows maps a template.
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

  private:
    int baseX_;
    int baseY_;
};

}  // namespace platform::ui
