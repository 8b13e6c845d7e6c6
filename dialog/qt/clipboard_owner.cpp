#include "dialog/qt/clipboard_owner.h"

#include <dlfcn.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dialog/qt/display_loss.h"

namespace tolvex::qt {
namespace {

// The replies of the two X requests asked here, as the X protocol lays them out (xcb's
// xcb_intern_atom_reply_t and xcb_get_selection_owner_reply_t).
struct XReply {
  std::uint8_t response_type;
  std::uint8_t pad;
  std::uint16_t sequence;
  std::uint32_t length;
  std::uint32_t value;  // the atom, or the owner's window
};

struct XCookie {
  unsigned int sequence;
};

// Whether a client owns the selection CLIPBOARD_MANAGER on Qt's own connection, as the
// freedesktop clipboard manager convention has a manager announce itself. libxcb is the one
// Qt's X11 plugin has loaded; it is looked up, not linked, as the display probe does.
bool ClipboardManagerRuns() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return false;
  void* xcb = ::dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  if (xcb == nullptr) return false;
  using InternAtom = XCookie (*)(xcb_connection_t*, std::uint8_t, std::uint16_t, const char*);
  using GetOwner = XCookie (*)(xcb_connection_t*, std::uint32_t);
  using Reply = XReply* (*)(xcb_connection_t*, XCookie, void**);
  const auto intern = reinterpret_cast<InternAtom>(::dlsym(xcb, "xcb_intern_atom"));
  const auto intern_reply = reinterpret_cast<Reply>(::dlsym(xcb, "xcb_intern_atom_reply"));
  const auto get_owner = reinterpret_cast<GetOwner>(::dlsym(xcb, "xcb_get_selection_owner"));
  const auto owner_reply = reinterpret_cast<Reply>(::dlsym(xcb, "xcb_get_selection_owner_reply"));
  bool runs = false;
  if (intern != nullptr && intern_reply != nullptr && get_owner != nullptr &&
      owner_reply != nullptr) {
    xcb_connection_t* connection = x11->connection();
    constexpr const char* kManager = "CLIPBOARD_MANAGER";
    XReply* atom = intern_reply(
        connection,
        intern(connection, 1, static_cast<std::uint16_t>(std::strlen(kManager)), kManager),
        nullptr);
    if (atom != nullptr && atom->value != 0) {
      XReply* owner = owner_reply(connection, get_owner(connection, atom->value), nullptr);
      runs = owner != nullptr && owner->value != 0;
      std::free(owner);
    }
    std::free(atom);
  }
  ::dlclose(xcb);
  return runs;
}

}  // namespace

bool ClipboardNeedsOwner() {
  if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  if (!QGuiApplication::clipboard()->ownsClipboard()) return false;
  return !ClipboardManagerRuns();
}

void ServeClipboard() {
  if (!ClipboardNeedsOwner()) return;
  QClipboard* clipboard = QGuiApplication::clipboard();
  QEventLoop loop;
  const auto end_when_taken = [&] {
    if (!clipboard->ownsClipboard()) loop.quit();
  };
  // Qt reports another program taking the clipboard; the timer is a second look, should a
  // report not come (a server without the XFIXES extension).
  QObject::connect(clipboard, &QClipboard::changed, &loop, end_when_taken);
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, end_when_taken);
  check.start(1000);
  const UiUp up;  // the display going away ends the process at once
  loop.exec();
}

}  // namespace tolvex::qt
