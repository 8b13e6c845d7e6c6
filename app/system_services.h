// What both programs (Linux and Windows) hand to a run: this platform's XML document, option
// file, decimal separator, windir and file replacement. Each program adds its own messages,
// shell and option window.
#pragma once

#include "gateway/option_save.h"
#include "gateway/option_save_system.h"
#include "dialog/frm_option.h"
#include "dialog/place_card.h"
#include "gateway/gateway.h"

namespace tolvex {

// The services of a run on this platform; show_option_dialog is left for the program to set.
GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell);

// The option dialog's services, sharing the run's document factory, shell and option file.
FrmOptionServices SystemOptionServices(const GatewayServices& services);

// The place card's services for `location`: the run's services (which must outlive the card),
// its document factory and the option window's save.
FrmPlaceCardServices SystemPlaceCardServices(const GatewayServices& services,
                                             const Location& location);

}  // namespace tolvex
