#include "varnopts/res/dialog_templates.h"

#include "varnopts/res/resource_ids.h"

namespace varnopts::res {

using platform::ui::ControlKind;
using platform::ui::DialogTemplate;

const DialogTemplate& OptionsDialogTemplate() {
    // In tab order; positions in dialog units (a combo box's height includes
    // its dropped-down list).
    static const DialogTemplate kTemplate = {
        "VARN MOD Options",
        294,
        218,
        {
            {IDOK, ControlKind::DefPushButton, "E&xit1", 237, 11, 50, 14, false, "IDOK"},
            {IDC_COMBO_MP_MODE, ControlKind::ComboBoxDropDownList, "", 13, 60, 142, 71, false,
             "IDC_COMBO_MP_MODE"},
            {IDC_INSTALL, ControlKind::PushButton, "&Installer1", 163, 30, 50, 14, false,
             "IDC_INSTALL"},
            {IDC_HELP_BUTTON, ControlKind::PushButton, "&Help1", 237, 30, 50, 14, false,
             "IDC_HELP_BUTTON"},
            {IDC_SLIDER_MOUSE, ControlKind::Trackbar, "", 34, 171, 157, 16, false,
             "IDC_SLIDER_MOUSE"},
            {IDC_RESET, ControlKind::PushButton, "&Reset1", 40, 192, 50, 14, false, "IDC_RESET"},
            {IDC_SAVE_MOUSE, ControlKind::PushButton, "&Save1", 135, 192, 50, 14, false,
             "IDC_SAVE_MOUSE"},
            {IDC_GROUP_MOUSE, ControlKind::GroupBox, "Mouse Sensitivity1", 7, 159, 217, 52, false,
             "IDC_GROUP_MOUSE"},
            {IDC_LABEL_LOW, ControlKind::Static, "Low1", 13, 174, 18, 8, false, "IDC_LABEL_LOW"},
            {IDC_LABEL_HIGH, ControlKind::Static, "High1", 195, 173, 20, 8, false,
             "IDC_LABEL_HIGH"},
            {IDC_COMBO_SOUND, ControlKind::ComboBoxDropDownList, "", 13, 90, 142, 73, false,
             "IDC_COMBO_SOUND"},
            {IDC_COMBO_GOCODES, ControlKind::ComboBoxDropDownList, "", 13, 120, 142, 72, false,
             "IDC_COMBO_GOCODES"},
            {IDC_LABEL_SOUND, ControlKind::Static, "Sound Type1", 13, 80, 67, 8, false,
             "IDC_LABEL_SOUND"},
            {IDC_LABEL_GOCODES, ControlKind::Static, "\"Go\" Codes1", 13, 110, 81, 8, false,
             "IDC_LABEL_GOCODES"},
            {IDC_GROUP_INSTALL, ControlKind::GroupBox, "Install Options1", 7, 7, 217, 134, false,
             "IDC_GROUP_INSTALL"},
            {IDC_START_R6, ControlKind::PushButton, "S&tart R61", 237, 106, 50, 14, false,
             "IDC_START_R6"},
            {IDC_ABOUT, ControlKind::PushButton, "&About ...1", 237, 162, 50, 14, false,
             "IDC_ABOUT"},
            {IDC_START_EW, ControlKind::PushButton, "Start &EW1", 237, 127, 50, 14, true,
             "IDC_START_EW"},
            {IDC_COMBO_QUICK_WEAPON, ControlKind::ComboBoxDropDown, "", 13, 30, 142, 115, false,
             "IDC_COMBO_QUICK_WEAPON"},
            {IDC_STATIC, ControlKind::Static, "Quick Weapon Selection", 14, 20, 100, 8, false,
             "IDC_LABEL_QUICK_WEAPON"},
            {IDC_UNINSTALL_ALL, ControlKind::PushButton, "&Uninstall All", 237, 60, 50, 14, false,
             "IDC_UNINSTALL_ALL"},
            {IDC_LABEL_MP_MODE, ControlKind::Static, "Multiplayer Server Mode", 14, 50, 119, 8,
             false, "IDC_LABEL_MP_MODE"},
        },
    };
    return kTemplate;
}

const DialogTemplate& AboutDialogTemplate() {
    // An icon's size comes from the icon itself (32 x 32 pixels); 20 x 20
    // dialog units is that size at the template's font.
    static const DialogTemplate kTemplate = {
        "About VARN MOD Options",
        217,
        73,
        {
            {IDC_ABOUT_ICON, ControlKind::Icon, "", 10, 23, 20, 20, false, "IDC_ABOUT_ICON"},
            {IDC_ABOUT_VERSION, ControlKind::Static, "VARN MOD Options Version 2.0", 40, 10, 119, 8,
             false, "IDC_ABOUT_VERSION", platform::ui::ControlStyle::kNoPrefix},
            {IDOK, ControlKind::DefPushButton, "OK", 178, 7, 32, 14, false, "IDOK"},
        },
    };
    return kTemplate;
}

}  // namespace varnopts::res
