// What both programs (Linux and Windows) hand to a run: this platform's XML document, option
// file, decimal separator, windir and file replacement. Each program adds its own messages,
// shell and option window.
#pragma once

#include "dialog/frm_option.h"
#include "dialog/place_card.h"
#include "gateway/gateway.h"
#include "gateway/option_save.h"

namespace tolvex {

// The services of a run on this platform; show_option_dialog is left for the program to set.
GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell);

// How an edited option document read from `option_file_path` is written back on this platform:
// over that file, or the user's own when that one is not this user's to replace.
OptionSaveServices SystemOptionSaveServices(const std::string& option_file_path);

// The option dialog's services, sharing the run's document factory, shell and option file.
FrmOptionServices SystemOptionServices(const GatewayServices& services);

// The place card's services for `location`: the run's services (which must outlive the card),
// its document factory and the option window's save.
FrmPlaceCardServices SystemPlaceCardServices(const GatewayServices& services,
                                             const Location& location);

}  // namespace tolvex
