// The module's windows on its side of the C boundary: the operations the gateway may call on
// the option window, the map editor and the place card, and their events sent to the
// gateway's handlers.
#pragma once

#include <cstddef>

#include "dialog/map_editor.h"
#include "dialog/option_view.h"
#include "dialog/place_card.h"
#include "dialog/qt/option_window.h"
#include "dialog/qt/place_card_window.h"
#include "dialog/ui_module_abi.h"

namespace tolvex::qt {

// Show, read, message box, close, the map editor and the chooser, each on the OptionWindow
// behind the TolvexUiWindow.
extern const TolvexUiWindowOps kWindowOps;

// Hands the window's events to the gateway's handler, with the window and kWindowOps.
class EventBridge final : public OptionEvents {
 public:
  EventBridge(TolvexUiEventHandler handler, void* context, OptionWindow& window)
      : handler_(handler), context_(context), window_(window) {}
#define TOLVEX_OPTION_EVENT(handler, name, button) \
  void handler() override { Send(TOLVEX_UI_##name); }
  TOLVEX_OPTION_EVENTS(TOLVEX_OPTION_EVENT)
#undef TOLVEX_OPTION_EVENT

 private:
  void Send(int event);
  TolvexUiEventHandler handler_;
  void* context_;
  OptionWindow& window_;
};

// Hands the place card's events to the gateway's handler, with the card and its operations.
class CardBridge final : public PlaceCardEvents {
 public:
  CardBridge(TolvexUiCardHandler handler, void* context, PlaceCardWindow& card)
      : handler_(handler), context_(context), card_(card) {}
#define TOLVEX_CARD_EVENT(handler, name, param, button)          \
  void handler(TOLVEX_CARD_EVENT_PARAM_##param) override {       \
    Send(TOLVEX_UI_CARD_##name, TOLVEX_CARD_EVENT_ITEM_##param); \
  }
  TOLVEX_CARD_EVENTS(TOLVEX_CARD_EVENT)
#undef TOLVEX_CARD_EVENT

 private:
  void Send(int event, std::size_t item);
  TolvexUiCardHandler handler_;
  void* context_;
  PlaceCardWindow& card_;
};

}  // namespace tolvex::qt
