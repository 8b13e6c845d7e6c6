// Error messages as Win32 message boxes.
#pragma once

#include <windows.h>

#include "platform/message.h"

namespace tolvex::platform::win32 {

// MessageBoxW with the stop icon and one OK button (MB_ICONERROR alone, style value 16).
// `owner` may be null (no owner window).
void ShowErrorBox(HWND owner, std::string_view text, std::string_view title);

class MessageBoxSink final : public MessageSink {
 public:
  void ShowError(std::string_view text, std::string_view title) override {
    ShowErrorBox(nullptr, text, title);
  }
};

}  // namespace tolvex::platform::win32
