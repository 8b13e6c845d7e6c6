#include "dialog/qt/display_probe.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QString>

#include "platform/posix/file_system_posix.h"
#include "platform/process.h"

namespace tolvex::qt {
namespace {

bool WaylandDisplayAnswers() {
  const auto name = platform::NonEmptyEnvironmentVariable("WAYLAND_DISPLAY");
  if (!name) return false;
  const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/";
  if (!QFileInfo::exists(plugins + "libqwayland-generic.so")) return false;
  std::string path = *name;
  if (path.front() != '/') {
    const auto runtime = platform::EnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime) return false;
    path = *runtime + "/" + path;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  path.copy(address.sun_path, path.size());
  const platform::posix::FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  return socket &&
         ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

XDisplayProbe::XDisplayProbe() {
  using Connect = void* (*)(const char*, int*);
  using HasError = int (*)(void*);
  xcb_ = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
  if (xcb_ == nullptr) return;
  const auto connect = reinterpret_cast<Connect>(::dlsym(xcb_, "xcb_connect"));
  const auto has_error = reinterpret_cast<HasError>(::dlsym(xcb_, "xcb_connection_has_error"));
  disconnect_ = reinterpret_cast<Disconnect>(::dlsym(xcb_, "xcb_disconnect"));
  if (connect == nullptr || has_error == nullptr || disconnect_ == nullptr) return;
  connection_ = connect(nullptr, nullptr);
  answers_ = connection_ != nullptr && has_error(connection_) == 0;
}

XDisplayProbe::~XDisplayProbe() {
  if (connection_ != nullptr) disconnect_(connection_);
  // Qt's xcb plugin holds the library itself by then.
  if (xcb_ != nullptr) ::dlclose(xcb_);
}

std::string ChoosePlatform(std::optional<XDisplayProbe>& x_probe) {
  if (auto chosen = platform::NonEmptyEnvironmentVariable("QT_QPA_PLATFORM")) return *chosen;
  if (WaylandDisplayAnswers()) return "wayland";
  if (!platform::NonEmptyEnvironmentVariable("DISPLAY")) return {};
  x_probe.emplace();
  return x_probe->answers() ? "xcb" : "";
}

}  // namespace tolvex::qt
