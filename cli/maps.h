// `tolvex show` prints a link's place in every format; `tolvex maps` lists and edits the maps
// of the option file under the option window's rules.
#pragma once

#include <string_view>
#include <vector>

namespace tolvex::cli {

// `args` are the words after "show" / "maps". Each returns the exit status.
int RunShow(const std::vector<std::string_view>& args);
int RunMaps(const std::vector<std::string_view>& args);

}  // namespace tolvex::cli
