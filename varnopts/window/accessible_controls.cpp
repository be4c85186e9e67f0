#include "varnopts/window/accessible_controls.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <array>
#include <utility>

#include "varnopts/settings/mouse_sensitivity.h"

namespace varnopts {
namespace {

// Each choice list and the label that names it, by object name.
constexpr std::array<std::pair<const char*, const char*>, 4> kLabelledLists = {{
    {"IDC_LABEL_QUICK_WEAPON", "IDC_COMBO_QUICK_WEAPON"},
    {"IDC_LABEL_MP_MODE", "IDC_COMBO_MP_MODE"},
    {"IDC_LABEL_SOUND", "IDC_COMBO_SOUND"},
    {"IDC_LABEL_GOCODES", "IDC_COMBO_GOCODES"},
}};

QString SensitivityText(int position) {
    return QString::fromStdString(PositionToSensitivity(position)) +
           QStringLiteral(" radians per pixel");
}

}  // namespace

void DescribeControls(QDialog& dialog, QSlider& sensitivity) {
    for (const auto& [labelName, listName] : kLabelledLists) {
        auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(labelName));
        auto* list = dialog.findChild<QComboBox*>(QString::fromLatin1(listName));
        if (label != nullptr && list != nullptr) {
            // The buddy is what screen readers take the list's name from.
            label->setBuddy(list);
        }
    }
    if (auto* group = dialog.findChild<QGroupBox*>(QStringLiteral("IDC_GROUP_MOUSE"))) {
        sensitivity.setAccessibleName(QString(group->title()).remove(QLatin1Char('&')));
    }
    const auto tell = [&sensitivity](int position) {
        sensitivity.setToolTip(SensitivityText(position));
        sensitivity.setAccessibleDescription(SensitivityText(position));
    };
    tell(sensitivity.value());
    QObject::connect(&sensitivity, &QSlider::valueChanged, &sensitivity, tell);
    // While the thumb is dragged, its value follows it.
    QObject::connect(&sensitivity, &QSlider::sliderMoved, &sensitivity,
                     [&sensitivity](int position) {
                         QStyleOptionSlider option;
                         option.initFrom(&sensitivity);
                         option.orientation = sensitivity.orientation();
                         option.minimum = sensitivity.minimum();
                         option.maximum = sensitivity.maximum();
                         option.sliderPosition = position;
                         option.sliderValue = position;
                         const QRect thumb = sensitivity.style()->subControlRect(
                             QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &sensitivity);
                         QToolTip::showText(sensitivity.mapToGlobal(thumb.bottomLeft()),
                                            SensitivityText(position), &sensitivity);
                     });
}

}  // namespace varnopts
