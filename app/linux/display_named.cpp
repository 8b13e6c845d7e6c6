#include "app/linux/display_named.h"

#include "platform/process.h"

namespace tolvex {

bool DisplayNamed() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (platform::NonEmptyEnvironmentVariable(variable)) return true;
  }
  return false;
}

}  // namespace tolvex
