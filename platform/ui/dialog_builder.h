#pragma once
// Creates a dialog's controls from its template table and keeps them placed
// in dialog units: every control sits at the pixel rectangle that the
// dialog's font gives, and moves again when that font changes.
//
// What each kind becomes: PushButton/DefPushButton QPushButton, GroupBox
// QGroupBox (behind the other controls, transparent for the mouse), Static
// QLabel, CheckBox QCheckBox (WrappingCheckBox with kMultiLine),
// ComboBoxDropDown editable QComboBox, ComboBoxDropDownList QComboBox, Edit
// QLineEdit (QPlainTextEdit with kMultiLine), TabControl QTabWidget (the
// caller adds the tabs; controls laid over its page are the dialog's own
// children and are raised above it), Trackbar horizontal QSlider, Icon QLabel
// for a pixmap, ListView whatever the factory makes (a QTreeWidget without one).

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

#include "platform/ui/dialog_template.h"

namespace platform::ui {

// Makes the widget for a control, or returns nullptr to let the builder make
// its own. The widget's parent must be parent.
using ControlFactory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

class DialogBuilder : public QObject {
    Q_OBJECT
  public:
    // Creates the controls as children of dialog in template order (which is
    // also their tab order), sets the caption, each control's object name and
    // text (Windows-1252, "&" mnemonics), and the dialog's fixed size. The
    // builder is a child of the dialog and lives as long as it.
    static DialogBuilder* Build(QDialog* dialog, const DialogTemplate& dialogTemplate,
                                const ControlFactory& factory = {});

    // The control with this id (ids of -1 are not kept), or nullptr.
    QWidget* Control(int id) const;
    template <class T>
    T* Control(int id) const {
        return qobject_cast<T*>(Control(id));
    }

    // Places every control again with the dialog's current font.
    void Relayout();
    DialogUnits Units() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    DialogBuilder(QDialog* dialog, DialogTemplate dialogTemplate);
    QWidget* CreateControl(const ControlTemplate& control, const ControlFactory& factory);

    QDialog* dialog_;
    DialogTemplate template_;
    std::vector<QPointer<QWidget>> widgets_;  // one per template control
    std::map<int, QWidget*> byId_;
};

}  // namespace platform::ui
