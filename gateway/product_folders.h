// The product's own folders in the places where the system keeps each user's files: among the
// user's settings (the user's own option file) and in the user's runtime folder (the record of
// starts). The backends say where those places are; the names are the product's. POSIX names
// such folders in lower case, Windows as the product is written.
#pragma once

#include <string_view>

namespace tolvex {

#ifdef _WIN32
inline constexpr std::string_view kProductFolderName = "TolvexGateway";
#else
inline constexpr std::string_view kProductFolderName = "tolvexgateway";
#endif

}  // namespace tolvex
