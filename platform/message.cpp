#include "platform/message.h"

#include <cstdio>

namespace tolvex::platform {

void WriteToStandardError(std::string_view program, std::string_view text) {
  // stdio rather than iostream: the gateway starts once per link, and iostream's static
  // set-up costs more than the rest of a request's text handling.
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(program.size()), program.data(),
               static_cast<int>(text.size()), text.data());
}

}  // namespace tolvex::platform
