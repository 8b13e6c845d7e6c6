// What both programs (Linux and Windows) hand to a run: this platform's XML document, option
// file, decimal separator, windir and file replacement. Each program adds its own messages,
// shell and option window.
#pragma once

#include "app/system_option_save.h"
#include "dialog/frm_option.h"
#include "gateway/gateway.h"

namespace tolvex {

// The services of a run on this platform; show_option_dialog is left for the program to set.
GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell);

// The option dialog's services, sharing the run's document factory, shell and option file.
FrmOptionServices SystemOptionServices(const GatewayServices& services);

}  // namespace tolvex
