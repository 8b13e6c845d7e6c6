// What the programs and the tool hand the core on this system: the backends of platform/ behind
// the services of gateway/ (a run's, the option file's writers') and the option file a run
// reads. The windows' services are in window_services.h, for the programs alone.
#pragma once

#include <string>

#include "gateway/gateway.h"
#include "gateway/option_save.h"
#include "platform/message.h"
#include "platform/shell.h"

namespace tolvex {

// The option file a run reads on this system (OptionFileToRead): the user's own, when it
// exists, else the one beside the program.
std::string SystemOptionFilePath();

// The services of a run on this platform; show_option_dialog and choose_map are left for the
// program to set.
GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell);

// For changing `option_file_path`, with the user's own option file as the fallback.
OptionSaveServices SystemOptionSaveServices(const std::string& option_file_path);

}  // namespace tolvex
