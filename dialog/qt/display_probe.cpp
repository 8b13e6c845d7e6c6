#include "dialog/qt/display_probe.h"

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>
#include <cstdlib>

namespace tolvex::qt {
namespace {

// Qt's Wayland plugin (key "wayland"), where Qt looks for platform plugins: the folder named by
// QT_QPA_PLATFORM_PLUGIN_PATH, then "platforms" in each folder of QT_PLUGIN_PATH and in Qt's own
// plugin folder.
bool WaylandPluginInstalled() {
  constexpr char kPlugin[] = "/libqwayland-generic.so";
  QStringList folders;
  if (const char* direct = std::getenv("QT_QPA_PLATFORM_PLUGIN_PATH")) folders << direct;
  if (const char* paths = std::getenv("QT_PLUGIN_PATH")) {
    for (const QString& path : QString(paths).split(':', Qt::SkipEmptyParts)) {
      folders << path + "/platforms";
    }
  }
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";
  for (const QString& folder : folders) {
    if (!folder.isEmpty() && QFileInfo::exists(folder + kPlugin)) return true;
  }
  return false;
}

bool WaylandDisplayAnswers() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (name == nullptr || *name == '\0') return false;
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
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  if (WaylandDisplayAnswers() && WaylandPluginInstalled()) return "wayland";
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return {};
  x_probe.emplace();
  return x_probe->answers() ? "xcb" : "";
}

bool WaylandWithoutPlugin() { return WaylandDisplayAnswers() && !WaylandPluginInstalled(); }

}  // namespace tolvex::qt
