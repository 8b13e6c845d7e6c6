// What the programs hand their windows on this system: the option dialog's and the place
// card's services, built on a run's (system_services.h).
#pragma once

#include "dialog/frm_option.h"
#include "dialog/place_card.h"
#include "gateway/gateway.h"

namespace tolvex {

// The option dialog's services, sharing the run's document factory, shell and option file.
FrmOptionServices SystemOptionServices(const GatewayServices& services);

// The place card's services for `location`: the run's services (which must outlive the card),
// its document factory and the option window's save.
FrmPlaceCardServices SystemPlaceCardServices(const GatewayServices& services,
                                             const Location& location);

}  // namespace tolvex
