// The `option` request on Linux: FrmOption in the UI module's window.
#pragma once

#include "app/linux/ui_module_loader.h"
#include "dialog/frm_option.h"

namespace tolvex {

// Runs FrmOption in the module's window and returns the run's exit status. Without a display
// that answers, or when the module cannot be loaded, it says so on standard error and returns
// kExitMessage.
int ShowOptionDialog(UiLoader& ui, FrmOptionServices services);

}  // namespace tolvex
