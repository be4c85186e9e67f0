#pragma once
// Whether a button press on a check list toggles the row's check.

namespace loadwise {

// Where a point lies in a list, as a list view's hit test reports it.
constexpr unsigned LVHT_NOWHERE = 0x01;
constexpr unsigned LVHT_ONITEMICON = 0x02;
constexpr unsigned LVHT_ONITEMLABEL = 0x04;
constexpr unsigned LVHT_ONITEMSTATEICON = 0x08;
constexpr unsigned LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;

// An owner-drawn list reports every point of a row as "on the item"; there a
// press left of the row's icon toggles. Otherwise only a press on the state
// image (the check box) does.
bool PressTogglesCheck(unsigned hitFlags, bool ownerDrawn, int x, int iconLeft);

}  // namespace loadwise
