// Whether the environment names a display at all. The gateway asks before it loads the UI
// module: without a display no window or box can show, and loading Qt would only cost time.
// Whether the named display answers is the module's to find out.
#pragma once

namespace tolvex {

// DISPLAY, WAYLAND_DISPLAY, or a Qt platform chosen with QT_QPA_PLATFORM, set and not empty.
bool DisplayNamed();

}  // namespace tolvex
