// tolvex_ui.so: the Qt side of the C boundary in dialog/ui_module_abi.h. The gateway loads it
// only to show a window or a message box, so that location requests that do not ask for the
// place card never pay for starting Qt.
#include <QEventLoop>

#include "dialog/qt/application.h"
#include "dialog/qt/clipboard_owner.h"
#include "dialog/qt/display_loss.h"
#include "dialog/qt/display_probe.h"
#include "dialog/qt/form_builder.h"
#include "dialog/qt/option_window.h"
#include "dialog/qt/place_card_window.h"
#include "dialog/qt/window_bridge.h"
#include "dialog/ui_module_abi.h"
#include "dialog/ui_module_form.h"

namespace tolvex::qt {
namespace {

int ShowError(TolvexUiText text, TolvexUiText title) {
  if (EnsureApplication() == nullptr) return TOLVEX_UI_NO_DISPLAY;
  const UiUp up;
  ShowCriticalMessage(nullptr, UiView(text), UiView(title));
  return 0;
}

int RunOptionDialog(TolvexUiEventHandler handler, void* context) {
  if (EnsureApplication() == nullptr) {
    return WaylandWithoutPlugin() ? TOLVEX_UI_NO_WAYLAND_PLUGIN : TOLVEX_UI_NO_DISPLAY;
  }
  QEventLoop loop;
  OptionWindow window;
  EventBridge events(handler, context, window);
  window.on_unloaded = [&loop] { loop.quit(); };
  const UiUp up;
  window.Open(events);
  if (!window.unloaded()) loop.exec();
  return 0;
}

int RunPlaceCard(TolvexUiCardHandler handler, void* context) {
  if (EnsureApplication() == nullptr) return 1;
  QEventLoop loop;
  PlaceCardWindow card;
  CardBridge events(handler, context, card);
  card.on_unloaded = [&loop] { loop.quit(); };
  const UiUp up;
  card.Open(events);
  if (!card.unloaded()) loop.exec();
  return 0;
}

int NeedsClipboardOwner() { return ClipboardNeedsOwner() ? 1 : 0; }

void ShutDown() { ShutDownApplication(); }

constexpr TolvexUiModule kModule = {
    TOLVEX_UI_ABI_VERSION, ShowError,      RunOptionDialog, RunPlaceCard,
    NeedsClipboardOwner,   ServeClipboard, ShutDown};

}  // namespace
}  // namespace tolvex::qt

extern "C" __attribute__((visibility("default"))) const TolvexUiModule* tolvex_ui_module() {
  return &tolvex::qt::kModule;
}
