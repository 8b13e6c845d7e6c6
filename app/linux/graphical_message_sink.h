// The gateway's messages on Linux: a line on standard error always, and a message box where
// the UI module can show one.
#pragma once

#include <string_view>

#include "app/linux/ui_module_loader.h"
#include "platform/message.h"

namespace tolvex {

// Every message goes to `text_sink` (standard error) first, then, where the module can show
// one, into a message box.
class GraphicalMessageSink final : public platform::MessageSink {
 public:
  GraphicalMessageSink(platform::MessageSink& text_sink, UiLoader& ui)
      : text_sink_(text_sink), ui_(ui) {}
  void ShowError(std::string_view text, std::string_view title) override;

 private:
  platform::MessageSink& text_sink_;
  UiLoader& ui_;
};

}  // namespace tolvex
