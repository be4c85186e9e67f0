#include "loadwise/res/dialog_templates.h"

#include "loadwise/res/resource_ids.h"

namespace loadwise {

using platform::ui::ControlKind;
using platform::ui::DialogTemplate;
namespace Style = platform::ui::ControlStyle;

const DialogTemplate& LoadwiseDialogTemplate() {
    // In template order, which is also the tab order.
    static const DialogTemplate dialog{
        "Loadwise for Rainbow Six",
        438,
        231,
        {
            {IDOK, ControlKind::PushButton, "&Save", 381, 7, 50, 14, false, "IDOK"},
            {IDCANCEL, ControlKind::PushButton, "&Exit", 381, 26, 50, 14, false, "IDCANCEL"},
            {IDC_LIST_PRIMARY, ControlKind::ListView, "", 16, 28, 349, 137, false,
             "IDC_LIST_PRIMARY"},
            {IDC_KIT_TAB, ControlKind::TabControl, "", 7, 7, 367, 168, false, "IDC_KIT_TAB"},
            {IDC_LIST_SECONDARY, ControlKind::ListView, "", 16, 28, 349, 138, false,
             "IDC_LIST_SECONDARY"},
            {IDC_DESCRIPTION, ControlKind::Edit, "", 7, 180, 367, 44, false, "IDC_DESCRIPTION",
             Style::kMultiLine},
            {IDC_SELECT_ALL, ControlKind::PushButton, "Select &All", 381, 140, 50, 14, false,
             "IDC_SELECT_ALL"},
            {IDC_UNSELECT_ALL, ControlKind::PushButton, "&Unselect All", 381, 161, 50, 14, false,
             "IDC_UNSELECT_ALL"},
            {-1, ControlKind::Static, "Selected:", 382, 63, 49, 8, false, nullptr,
             Style::kCentered},
            {IDC_SELECTED_COUNT, ControlKind::Static, "32", 382, 73, 49, 8, false,
             "IDC_SELECTED_COUNT", Style::kCentered},
            {IDC_LIST_SPECIAL, ControlKind::ListView, "", 16, 28, 349, 137, false,
             "IDC_LIST_SPECIAL"},
            {IDC_ABOUT, ControlKind::PushButton, "&About ...", 381, 210, 50, 14, false,
             "IDC_ABOUT"},
            {IDC_MULTIPLAYER_ONLY, ControlKind::CheckBox, "Multiplayer Only", 380, 111, 51, 20,
             false, "IDC_MULTIPLAYER_ONLY", Style::kMultiLine},
        }};
    return dialog;
}

const DialogTemplate& AboutBoxTemplate() {
    static const DialogTemplate dialog{
        "About Loadwise",
        217,
        52,
        {
            {-1, ControlKind::Icon, "", 11, 17, 21, 20, false, "IDR_MAINFRAME"},
            {-1, ControlKind::Static, "Loadwise - Version 1.03", 40, 11, 131, 10, false, nullptr,
             Style::kNoPrefix},
            {IDOK, ControlKind::DefPushButton, "OK", 178, 7, 32, 14, false, "IDOK"},
        }};
    return dialog;
}

}  // namespace loadwise
