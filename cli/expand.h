// `tolvex expand`: prints the command line that the gateway would hand to the shell.
#pragma once

#include <string_view>
#include <vector>

namespace tolvex::cli {

// `args` are the words after "expand". Returns the exit status.
int RunExpand(const std::vector<std::string_view>& args);

}  // namespace tolvex::cli
