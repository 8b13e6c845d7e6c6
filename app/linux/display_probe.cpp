#include "app/linux/display_probe.h"

#include <cstdlib>

namespace tolvex {
namespace {

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayNamed() {
  return Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("QT_QPA_PLATFORM");
}

}  // namespace tolvex
