#include "platform/ui/dialog_builder.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>

#include "platform/ui/read_ahead.h"
#include "platform/ui/text_codec.h"
#include "platform/ui/wrapping_check_box.h"

namespace platform::ui {
namespace {

QString TextOf(const ControlTemplate& control) {
    return control.text == nullptr ? QString() : FromCp1252(control.text);
}

// True when the text holds an "&" that marks a mnemonic ("&&" is a plain "&").
bool HasMnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&')) {
                return true;
            }
            ++i;
        }
    }
    return false;
}

// The text as shown without mnemonic processing of "&" marks.
QString WithoutMnemonics(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Static && kind != ControlKind::GroupBox &&
           kind != ControlKind::Icon;
}

QWidget* CreateStandardControl(const ControlTemplate& control, QWidget* parent) {
    const QString text = TextOf(control);
    const bool multiLine = (control.style & ControlStyle::kMultiLine) != 0;
    switch (control.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* button = new QPushButton(text, parent);
            button->setDefault(control.kind == ControlKind::DefPushButton);
            return button;
        }
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(text, parent);
            // A Windows group box is only a frame: clicks go to what lies in it.
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            return group;
        }
        case ControlKind::Static: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setAlignment(((control.style & ControlStyle::kCentered) != 0 ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft) |
                                Qt::AlignTop);
            label->setWordWrap(true);
            return label;
        }
        case ControlKind::CheckBox:
            if (multiLine) {
                return new WrappingCheckBox(text, parent);
            }
            return new QCheckBox(text, parent);
        case ControlKind::ComboBoxDropDown:
        case ControlKind::ComboBoxDropDownList: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(control.kind == ControlKind::ComboBoxDropDown);
            if (combo->isEditable()) {
                combo->setInsertPolicy(QComboBox::NoInsert);
            }
            return combo;
        }
        case ControlKind::Edit:
            if (multiLine) {
                auto* edit = new QPlainTextEdit(text, parent);
                edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setTabChangesFocus(true);
                edit->setReadOnly((control.style & ControlStyle::kReadOnly) != 0);
                return edit;
            } else {
                auto* edit = new QLineEdit(text, parent);
                edit->setReadOnly((control.style & ControlStyle::kReadOnly) != 0);
                return edit;
            }
        case ControlKind::ListView: {
            auto* list = new QTreeWidget(parent);
            list->setRootIsDecorated(false);
            return list;
        }
        case ControlKind::TabControl:
            return new QTabWidget(parent);
        case ControlKind::Trackbar:
            return new QSlider(Qt::Horizontal, parent);
        case ControlKind::Icon: {
            auto* icon = new QLabel(parent);
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return icon;
        }
    }
    return new QWidget(parent);
}

}  // namespace

DialogBuilder::DialogBuilder(QDialog* dialog, DialogTemplate dialogTemplate)
    : QObject(dialog), dialog_(dialog), template_(std::move(dialogTemplate)) {
    setObjectName(QStringLiteral("DialogBuilder"));
}

DialogBuilder* DialogBuilder::Build(QDialog* dialog, const DialogTemplate& dialogTemplate,
                                    const ControlFactory& factory) {
    AwaitFontConfiguration();
    auto* builder = new DialogBuilder(dialog, dialogTemplate);
    if (dialogTemplate.caption != nullptr) {
        dialog->setWindowTitle(FromCp1252(dialogTemplate.caption));
    }
    const auto& controls = builder->template_.controls;
    for (const ControlTemplate& control : controls) {
        builder->widgets_.emplace_back(builder->CreateControl(control, factory));
    }

    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QWidget* widget = builder->widgets_[i];
        if (TakesFocus(controls[i].kind)) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
        }
        // A static's mnemonic moves the focus to the next control that takes it.
        if (controls[i].kind == ControlKind::Static &&
            (controls[i].style & ControlStyle::kNoPrefix) == 0) {
            auto* label = qobject_cast<QLabel*>(widget);
            if (label != nullptr && HasMnemonic(label->text())) {
                QWidget* buddy = nullptr;
                for (std::size_t k = i + 1; k < controls.size() && buddy == nullptr; ++k) {
                    if (TakesFocus(controls[k].kind)) {
                        buddy = builder->widgets_[k];
                    }
                }
                if (buddy != nullptr) {
                    label->setBuddy(buddy);
                } else {
                    label->setText(WithoutMnemonics(label->text()));
                }
            }
        }
    }
    // Group boxes lie behind the controls they frame.
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind == ControlKind::GroupBox) {
            builder->widgets_[i]->lower();
        }
    }

    builder->Relayout();
    dialog->installEventFilter(builder);
    return builder;
}

QWidget* DialogBuilder::CreateControl(const ControlTemplate& control,
                                      const ControlFactory& factory) {
    QWidget* widget = factory ? factory(control, dialog_) : nullptr;
    if (widget == nullptr) {
        widget = CreateStandardControl(control, dialog_);
    }
    if (control.objectName != nullptr) {
        widget->setObjectName(QString::fromLatin1(control.objectName));
    }
    widget->setEnabled(!control.disabled);
    if (control.id != -1) {
        byId_[control.id] = widget;
    }
    if ((control.style & ControlStyle::kHidden) != 0) {
        widget->hide();
    }
    return widget;
}

QWidget* DialogBuilder::Control(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

DialogUnits DialogBuilder::Units() const {
    return DialogUnits(dialog_->font());
}

void DialogBuilder::Relayout() {
    const DialogUnits units = Units();
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
        QWidget* widget = widgets_[i];
        if (widget == nullptr) {
            continue;
        }
        const ControlTemplate& control = template_.controls[i];
        QRect rect = units.ToPixels(control.x, control.y, control.width, control.height);
        // A combo box's template height includes its drop-down list; the
        // closed box is as high as its font needs.
        if (control.kind == ControlKind::ComboBoxDropDown ||
            control.kind == ControlKind::ComboBoxDropDownList) {
            rect.setHeight(widget->sizeHint().height());
        }
        widget->setGeometry(rect);
    }
    dialog_->setFixedSize(units.ToPixels(template_.width, template_.height));
}

bool DialogBuilder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)) {
        Relayout();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform::ui
