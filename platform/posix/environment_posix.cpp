// Environment variables, apart from the other process facts: the UI module links them too, to
// read its display variables as the programs do.
#include <cstdlib>

#include "platform/process.h"

namespace tolvex::platform {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace tolvex::platform
