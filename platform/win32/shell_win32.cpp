// The shell through ShellExecuteA, as the option files' command lines expect: they are written
// for the ANSI code page of the user's system, and programs started this way see the same
// text they would see when started from Explorer. The document shell takes ShellExecuteW.
#include <windows.h>
// windows.h first: shellapi.h and shlwapi.h rely on its types.
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/process_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/text_win32.h"

namespace tolvex::platform {
namespace {

using win32::AnsiFromUtf8;
using win32::Utf16FromUtf8;

// Runs one of the Win32 calls that answer the length they need (end mark included) when the
// buffer is short, and 0 on failure; returns the text, or an empty one on failure.
template <typename Call>
std::wstring GrowingText(Call call) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);
  }
  return {};
}

// A program's path made comparable: enclosing quotes dropped, absolute, "." and ".." resolved,
// short (8.3) names written long. A path that does not exist keeps its absolute form.
std::wstring Normalised(std::wstring path) {
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
    path = path.substr(1, path.size() - 2);
  }
  const std::wstring full = GrowingText([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
  });
  if (full.empty()) return path;
  const std::wstring long_form = GrowingText(
      [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(full.c_str(), buffer, size); });
  return long_form.empty() ? full : long_form;
}

// The executable that the shell starts for links of `scheme`: the program of its registered
// "open" command, as the shell itself finds it (the user's choice where the system keeps
// one, else the scheme's class key). Empty when nothing is registered.
std::wstring RegisteredProgram(std::string_view scheme) {
  const std::wstring wide_scheme = Utf16FromUtf8(scheme);
  if (wide_scheme.empty()) return {};
  constexpr ASSOCF kFlags = ASSOCF_IS_PROTOCOL | ASSOCF_INIT_IGNOREUNKNOWN;
  DWORD size = 0;
  if (AssocQueryStringW(kFlags, ASSOCSTR_EXECUTABLE, wide_scheme.c_str(), L"open", nullptr,
                        &size) != S_FALSE ||
      size <= 1) {
    return {};
  }
  std::wstring program(size, L'\0');
  if (FAILED(AssocQueryStringW(kFlags, ASSOCSTR_EXECUTABLE, wide_scheme.c_str(), L"open",
                               program.data(), &size))) {
    return {};
  }
  program.resize(wcsnlen(program.c_str(), program.size()));
  return program;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  // Windows file names ignore letter case; an ordinal comparison does so without the locale.
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

enum class TextForm { kAnsiCodePage, kUtf16 };

class Win32Shell final : public Shell {
 public:
  explicit Win32Shell(TextForm form) : form_(form) {}

  ShellOutcome Open(std::string_view file, const std::optional<std::string>& directory) override {
    HINSTANCE result = nullptr;
    if (form_ == TextForm::kUtf16) {
      const std::wstring wide_file = Utf16FromUtf8(file);
      const std::optional<std::wstring> wide_directory =
          directory ? std::optional(Utf16FromUtf8(*directory)) : std::nullopt;
      result = ShellExecuteW(nullptr, L"open", wide_file.c_str(), nullptr,
                             wide_directory ? wide_directory->c_str() : nullptr, SW_SHOWNORMAL);
    } else {
      const std::string ansi_file = AnsiFromUtf8(file);
      const std::optional<std::string> ansi_directory =
          directory ? std::optional(AnsiFromUtf8(*directory)) : std::nullopt;
      result = ShellExecuteA(nullptr, "open", ansi_file.c_str(), nullptr,
                             ansi_directory ? ansi_directory->c_str() : nullptr, SW_SHOWNORMAL);
    }
    // The shell shows its own error boxes (no association, missing file); values up to 32
    // are its error codes.
    return reinterpret_cast<INT_PTR>(result) > 32 ? ShellResult::kHandedOver
                                                  : ShellResult::kNothingStarted;
  }

  bool SchemeOpensThisProgram(std::string_view scheme) override {
    const std::wstring registered = RegisteredProgram(scheme);
    const std::wstring self = win32::ThisProgramPath();
    if (registered.empty() || self.empty()) return false;
    return SamePath(Normalised(registered), Normalised(self));
  }

 private:
  TextForm form_;
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() {
  return std::make_unique<Win32Shell>(TextForm::kAnsiCodePage);
}

std::unique_ptr<Shell> win32::CreateDocumentShell() {
  return std::make_unique<Win32Shell>(TextForm::kUtf16);
}

}  // namespace tolvex::platform
