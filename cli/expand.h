// `tolvex expand`: prints the command line that the gateway would hand to the shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/request.h"

namespace tolvex::cli {

// LOCATION as the tool's commands take it: any place text (a TolVex: or geo: link, a bare
// location, a map service's link, a plus code, coordinates as written, a message holding a
// link), or "-" for all of standard input. `near`, when given, is place text too: the place
// that recovers a short plus code. When it names no location, the reader's message (`command`
// names the tool's command in the one that refuses "option").
struct LocationArgument {
  std::optional<Location> location;
  std::string error;
};
LocationArgument ReadLocationArgument(std::string_view text, std::string_view command,
                                      std::string_view separator,
                                      const std::optional<std::string>& near = std::nullopt);

// `args` are the words after "expand". Returns the exit status.
int RunExpand(const std::vector<std::string_view>& args);

}  // namespace tolvex::cli
