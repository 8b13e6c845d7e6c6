// `tolvex show` prints a link's place in every format; `tolvex maps` lists and edits the maps
// of the option file under the option window's rules.
#pragma once

#include <string_view>
#include <vector>

namespace tolvex::cli {

// `arguments` are the words after "show" / "maps". Each returns the exit status.
int RunShow(const std::vector<std::string_view>& arguments);
int RunMaps(const std::vector<std::string_view>& arguments);

}  // namespace tolvex::cli
