#include "platform/win32/message_win32.h"

#include "platform/win32/text_win32.h"

namespace tolvex::platform::win32 {

void ShowErrorBox(HWND owner, std::string_view text, std::string_view title) {
  MessageBoxW(owner, Utf16FromUtf8(text).c_str(), Utf16FromUtf8(title).c_str(), MB_ICONERROR);
}

}  // namespace tolvex::platform::win32

namespace tolvex::platform {

std::unique_ptr<MessageSink> CreateSystemMessageSink() {
  return std::make_unique<win32::MessageBoxSink>();
}

}  // namespace tolvex::platform
