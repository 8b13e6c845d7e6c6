// The shell through ShellExecuteA, as the option files' command lines expect: they are written
// for the ANSI code page of the user's system, and programs started this way see the same
// text they would see when started from Explorer.
#include <windows.h>
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/text_win32.h"

namespace tolvex::platform {
namespace {

using win32::AnsiFromUtf8;
using win32::Utf16FromUtf8;

// The full, long form of a path, for comparing two spellings of one file.
std::wstring LongPath(const std::wstring& path) {
  wchar_t full[MAX_PATH * 4];
  const DWORD full_length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
  if (full_length == 0 || full_length >= MAX_PATH * 4) return path;
  wchar_t long_path[MAX_PATH * 4];
  const DWORD long_length = GetLongPathNameW(full, long_path, MAX_PATH * 4);
  if (long_length == 0 || long_length >= MAX_PATH * 4) return full;
  return long_path;
}

class Win32Shell final : public Shell {
 public:
  ShellOutcome Open(std::string_view file, const std::optional<std::string>& directory) override {
    const std::string ansi_file = AnsiFromUtf8(file);
    const std::optional<std::string> ansi_directory =
        directory ? std::optional<std::string>(AnsiFromUtf8(*directory)) : std::nullopt;
    // The shell shows its own error boxes (no association, missing file); values up to 32
    // are its error codes.
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", ansi_file.c_str(), nullptr,
                      ansi_directory ? ansi_directory->c_str() : nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? ShellResult::kHandedOver
                                                  : ShellResult::kNothingStarted;
  }

  bool SchemeOpensThisProgram(std::string_view scheme) override {
    const std::wstring wide_scheme = Utf16FromUtf8(scheme);
    wchar_t handler[MAX_PATH * 4];
    DWORD handler_length = MAX_PATH * 4;
    if (AssocQueryStringW(ASSOCF_IS_PROTOCOL, ASSOCSTR_EXECUTABLE, wide_scheme.c_str(), L"open",
                          handler, &handler_length) != S_OK) {
      return false;
    }
    wchar_t self[MAX_PATH * 4];
    const DWORD self_length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    if (self_length == 0 || self_length >= MAX_PATH * 4) return false;
    return CompareStringOrdinal(LongPath(handler).c_str(), -1, LongPath(self).c_str(), -1, TRUE) ==
           CSTR_EQUAL;
  }
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<Win32Shell>(); }

}  // namespace tolvex::platform
