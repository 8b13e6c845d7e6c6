// `tolvex expand`: prints the command line that the gateway would hand to the shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/request.h"

namespace tolvex::cli {

// LOCATION as the tool's commands take it: the whole link (TolVex:…, geo:…) or the location
// alone, read as a TolVex: link carries it. When it names no location, the gateway's message
// (`command` names the tool's command in the one that refuses "option").
struct LocationArgument {
  std::optional<Location> location;
  std::string error;
};
LocationArgument ReadLocationArgument(std::string_view text, std::string_view command,
                                      std::string_view separator);

// `args` are the words after "expand". Returns the exit status.
int RunExpand(const std::vector<std::string_view>& args);

}  // namespace tolvex::cli
