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
  void OnLoad() override { Send(TOLVEX_UI_LOAD); }
  void OnPick() override { Send(TOLVEX_UI_PICK); }
  void OnOk() override { Send(TOLVEX_UI_OK); }
  void OnCancel() override { Send(TOLVEX_UI_CANCEL); }
  void OnHelp() override { Send(TOLVEX_UI_HELP); }
  void OnUnload() override { Send(TOLVEX_UI_UNLOAD); }
  void OnNewMap() override { Send(TOLVEX_UI_NEW_MAP); }
  void OnEditMap() override { Send(TOLVEX_UI_EDIT_MAP); }
  void OnDuplicateMap() override { Send(TOLVEX_UI_DUPLICATE_MAP); }
  void OnDeleteMap() override { Send(TOLVEX_UI_DELETE_MAP); }
  void OnCatalogue() override { Send(TOLVEX_UI_CATALOGUE); }
  void OnAskChange() override { Send(TOLVEX_UI_ASK_CHANGE); }

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
  void OnLoad() override { Send(TOLVEX_UI_CARD_LOAD); }
  void OnPlaceChange() override { Send(TOLVEX_UI_CARD_PLACE_CHANGE); }
  void OnOpen() override { Send(TOLVEX_UI_CARD_OPEN); }
  void OnCopy(std::size_t item) override { Send(TOLVEX_UI_CARD_COPY, item); }
  void OnCopyCoordinates() override { Send(TOLVEX_UI_CARD_COPY_COORDINATES); }
  void OnCopyMapLink() override { Send(TOLVEX_UI_CARD_COPY_MAP_LINK); }
  void OnCancel() override { Send(TOLVEX_UI_CARD_CANCEL); }
  void OnUnload() override { Send(TOLVEX_UI_CARD_UNLOAD); }

 private:
  void Send(int event, std::size_t item = 0);
  TolvexUiCardHandler handler_;
  void* context_;
  PlaceCardWindow& card_;
};

}  // namespace tolvex::qt
