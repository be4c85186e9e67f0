#pragma once
// The dialog templates of Loadwise: the main window (102) and the About box (100).

#include "platform/ui/dialog_template.h"

namespace loadwise {

const platform::ui::DialogTemplate& LoadwiseDialogTemplate();  // IDD_LOADWISE_DIALOG
const platform::ui::DialogTemplate& AboutBoxTemplate();        // IDD_ABOUTBOX

}  // namespace loadwise
