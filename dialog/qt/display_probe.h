// Which Qt platform plugin the module may start. Qt ends the whole process when its platform
// plugin cannot start (no server behind DISPLAY, a refused X authority, a Wayland session
// without Qt's Wayland plugin). The module checks first that the display answers and picks the
// plugin itself, so that the gateway can fall back to standard error instead of dying.
#pragma once

#include <optional>
#include <string>

namespace tolvex::qt {

// A test connection to the X display named by DISPLAY. It stays open until Qt has made its
// own: an X server resets, dropping every window, when its last client leaves, and the probe
// must not be that client.
class XDisplayProbe {
 public:
  XDisplayProbe();
  ~XDisplayProbe();
  XDisplayProbe(const XDisplayProbe&) = delete;
  XDisplayProbe& operator=(const XDisplayProbe&) = delete;

  bool answers() const { return answers_; }

 private:
  using Disconnect = void (*)(void*);
  void* xcb_ = nullptr;
  Disconnect disconnect_ = nullptr;
  void* connection_ = nullptr;
  bool answers_ = false;
};

// The platform plugin to start: the user's own choice when QT_QPA_PLATFORM is set, else a
// display that answers; empty when there is none. `x_probe` is opened when X is tried.
std::string ChoosePlatform(std::optional<XDisplayProbe>& x_probe);

// True when a Wayland display answers but Qt's Wayland plugin is not installed: the reason to
// name when ChoosePlatform found nothing.
bool WaylandWithoutPlugin();

}  // namespace tolvex::qt
