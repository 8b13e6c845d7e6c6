#include "platform/win32/text_win32.h"

#include <windows.h>

#include <climits>

namespace tolvex::platform::win32 {
namespace {

// Win32 counts characters in int; longer texts are cut rather than wrapped to a negative count.
int ClampedLength(std::size_t size) {
  return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

std::string Narrow(UINT code_page, std::wstring_view text) {
  if (text.empty()) return {};
  const int length = ClampedLength(text.size());
  const int needed =
      WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Utf16FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int length = ClampedLength(text.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring out(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), needed);
  return out;
}

std::string Utf8FromUtf16(std::wstring_view text) { return Narrow(CP_UTF8, text); }

std::string AnsiFromUtf8(std::string_view text) { return Narrow(CP_ACP, Utf16FromUtf8(text)); }

}  // namespace tolvex::platform::win32
