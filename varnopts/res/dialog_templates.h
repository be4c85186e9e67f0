#pragma once
// The two dialog templates of varnopts: the options window (102) and the
// About box (100).

#include "platform/ui/dialog_template.h"

namespace varnopts::res {

// Template 102. Captions ending in "1" are placeholders that the window
// replaces with string-table texts before it is shown.
const platform::ui::DialogTemplate& OptionsDialogTemplate();

// Template 100.
const platform::ui::DialogTemplate& AboutDialogTemplate();

}  // namespace varnopts::res
