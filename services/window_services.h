// What the programs hand their windows on this system: the option dialog's and the place
// card's services, built on a run's (system_services.h).
#pragma once

#include <optional>
#include <string>

#include "dialog/frm_option.h"
#include "dialog/place_card.h"
#include "gateway/gateway.h"

namespace tolvex {

// The option dialog's services, sharing the run's document factory, shell and option file.
FrmOptionServices SystemOptionServices(const GatewayServices& services);

// The place card's services: the run's services (which must outlive the card), its document
// factory and the option window's save; the card shows `place_text` (a link, or the text given
// to "open"), or `location` when it is empty.
FrmPlaceCardServices SystemPlaceCardServices(const GatewayServices& services,
                                             std::optional<Location> location,
                                             std::string place_text);

}  // namespace tolvex
