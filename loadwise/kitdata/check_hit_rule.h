#pragma once
// Whether a button press on a check list toggles the row's check.

namespace kitdata {

// Where a press lands in a check list.
enum class ListHit {
    Nowhere,   // below the rows or beside them
    CheckBox,  // on a row's check box
    Text,      // on a row, anywhere but its check box
};

// Only a press on the check box toggles; a press on the text selects.
bool PressTogglesCheck(ListHit hit);

}  // namespace kitdata
