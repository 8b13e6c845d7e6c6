// tolvex_ui.so: the Qt side of the C boundary in dialog/ui_module_abi.h. The gateway loads it
// only to show the option window or a message box, so that location requests never pay for
// starting Qt.
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialog/qt/option_window.h"
#include "dialog/ui_module_abi.h"
#include "dialog/ui_module_form.h"
#include "gateway/message_text.h"

namespace tolvex::qt {
namespace {

// Qt ends the whole process when its platform plugin cannot start (no server behind DISPLAY,
// a refused X authority, a Wayland session without Qt's Wayland plugin). The module checks
// first that the display answers and picks the plugin itself, so that the gateway can fall
// back to standard error instead of dying.
// A test connection to the X display named by DISPLAY. It stays open until Qt has made its
// own: an X server resets, dropping every window, when its last client leaves, and the probe
// must not be that client.
class XDisplayProbe {
 public:
  XDisplayProbe() {
    xcb_ = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (xcb_ == nullptr) return;
    const auto connect = reinterpret_cast<Connect>(::dlsym(xcb_, "xcb_connect"));
    const auto has_error = reinterpret_cast<HasError>(::dlsym(xcb_, "xcb_connection_has_error"));
    disconnect_ = reinterpret_cast<Disconnect>(::dlsym(xcb_, "xcb_disconnect"));
    if (connect == nullptr || has_error == nullptr || disconnect_ == nullptr) return;
    connection_ = connect(nullptr, nullptr);
    answers_ = connection_ != nullptr && has_error(connection_) == 0;
  }
  ~XDisplayProbe() {
    if (connection_ != nullptr) disconnect_(connection_);
    // Qt's xcb plugin holds the library itself by then.
    if (xcb_ != nullptr) ::dlclose(xcb_);
  }
  XDisplayProbe(const XDisplayProbe&) = delete;
  XDisplayProbe& operator=(const XDisplayProbe&) = delete;

  bool answers() const { return answers_; }

 private:
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  using Disconnect = void (*)(void*);
  void* xcb_ = nullptr;
  Disconnect disconnect_ = nullptr;
  void* connection_ = nullptr;
  bool answers_ = false;
};

bool WaylandDisplayAnswers() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/";
  if (!QFileInfo::exists(plugins + "libqwayland-generic.so")) return false;
  std::string path = name;
  if (path.front() != '/') {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr) return false;
    path = std::string(runtime) + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  path.copy(address.sun_path, path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

// The platform plugin to start: the user's own choice when QT_QPA_PLATFORM is set, else a
// display that answers; empty when there is none. `x_probe` is opened when X is tried.
std::string ChoosePlatform(std::optional<XDisplayProbe>& x_probe) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  if (WaylandDisplayAnswers()) return "wayland";
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return {};
  x_probe.emplace();
  return x_probe->answers() ? "xcb" : "";
}

std::string platform_name;
int argc_for_qt = 3;
char program_name[] = "tolvexgateway";
char platform_option[] = "-platform";
char* argv_for_qt[] = {program_name, platform_option, nullptr, nullptr};
std::unique_ptr<QApplication> application;

QApplication* EnsureApplication() {
  if (application != nullptr) return application.get();
  std::optional<XDisplayProbe> x_probe;  // closed only once Qt has connected
  platform_name = ChoosePlatform(x_probe);
  if (platform_name.empty()) return nullptr;
  argv_for_qt[2] = platform_name.data();
  application = std::make_unique<QApplication>(argc_for_qt, argv_for_qt);
  // The option window's own unload ends its loop; a message box closing must not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));
  return application.get();
}

// Qt ends the process with exit(1) when the display's connection breaks (the X server ended,
// the user logged out). The exit handlers would then destroy Qt under the message box or the
// window whose loop is still on the stack, and crash. So while a box or the window is up, a
// handler registered after Qt's own (exit handlers run last-registered first) ends the
// process at once: status 1 and a line on standard error. The option file is safe: only OK
// writes it, and OK runs to its end before the loop looks at the display again.
bool ui_is_up = false;
std::string lost_display_message;

void EndWhenTheDisplayWasLost() {
  if (!ui_is_up) return;
  (void)!::write(STDERR_FILENO, lost_display_message.data(), lost_display_message.size());
  ::_exit(1);
}

class UiUp {
 public:
  UiUp() : was_up_(ui_is_up) {
    if (lost_display_message.empty()) {
      lost_display_message = std::string(kProgramTitle) + ": the display was lost\n";
    }
    std::atexit(EndWhenTheDisplayWasLost);
    ui_is_up = true;
  }
  ~UiUp() { ui_is_up = was_up_; }
  UiUp(const UiUp&) = delete;
  UiUp& operator=(const UiUp&) = delete;

 private:
  bool was_up_;
};

OptionWindow* WindowOf(TolvexUiWindow* window) { return reinterpret_cast<OptionWindow*>(window); }

void ShowForm(TolvexUiWindow* window, const TolvexUiForm* form) {
  WindowOf(window)->Show(OptionFormOf(*form));
}

void ReadForm(TolvexUiWindow* window, void (*receive)(void*, const TolvexUiForm*), void* context) {
  const OptionForm form = WindowOf(window)->Read();
  receive(context, UiFormView(form).get());
}

void ShowErrorOver(TolvexUiWindow* window, TolvexUiText text, TolvexUiText title) {
  WindowOf(window)->ShowError(UiView(text), UiView(title));
}

void CloseWindow(TolvexUiWindow* window) { WindowOf(window)->Close(); }

constexpr TolvexUiWindowOps kWindowOps = {ShowForm, ReadForm, ShowErrorOver, CloseWindow};

// Hands the window's events to the gateway's handler across the C boundary.
class EventBridge final : public OptionEvents {
 public:
  EventBridge(TolvexUiEventHandler handler, void* context, OptionWindow& window)
      : handler_(handler), context_(context), window_(window) {}
  void OnLoad() override { Send(TOLVEX_UI_LOAD); }
  void OnPick() override { Send(TOLVEX_UI_PICK); }
  void OnOk() override { Send(TOLVEX_UI_OK); }
  void OnCancel() override { Send(TOLVEX_UI_CANCEL); }
  void OnHelp() override { Send(TOLVEX_UI_HELP); }
  void OnUnload() override { Send(TOLVEX_UI_UNLOAD); }

 private:
  void Send(int event) {
    handler_(context_, event, reinterpret_cast<TolvexUiWindow*>(&window_), &kWindowOps);
  }
  TolvexUiEventHandler handler_;
  void* context_;
  OptionWindow& window_;
};

int ShowError(TolvexUiText text, TolvexUiText title) {
  if (EnsureApplication() == nullptr) return 1;
  const UiUp up;
  ShowCriticalMessage(nullptr, UiView(text), UiView(title));
  return 0;
}

int RunOptionDialog(TolvexUiEventHandler handler, void* context) {
  if (EnsureApplication() == nullptr) return 1;
  QEventLoop loop;
  OptionWindow window;
  EventBridge events(handler, context, window);
  window.on_unloaded = [&loop] { loop.quit(); };
  const UiUp up;
  window.Open(events);
  if (!window.unloaded()) loop.exec();
  return 0;
}

void ShutDown() { application.reset(); }

constexpr TolvexUiModule kModule = {TOLVEX_UI_ABI_VERSION, ShowError, RunOptionDialog, ShutDown};

}  // namespace
}  // namespace tolvex::qt

extern "C" __attribute__((visibility("default"))) const TolvexUiModule* tolvex_ui_module() {
  return &tolvex::qt::kModule;
}
