// The option window on the module's side of the C boundary: the operations the gateway may
// call on the window, and the window's events sent to the gateway's handler.
#pragma once

#include "dialog/option_view.h"
#include "dialog/qt/option_window.h"
#include "dialog/ui_module_abi.h"

namespace tolvex::qt {

// Show, read, message box and close, each on the OptionWindow behind the TolvexUiWindow.
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

 private:
  void Send(int event);
  TolvexUiEventHandler handler_;
  void* context_;
  OptionWindow& window_;
};

}  // namespace tolvex::qt
