#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/win32/com_win32.h"
#include "platform/win32/process_win32.h"
#include "platform/win32/text_win32.h"

namespace tolvex::platform {

using win32::Utf16FromUtf8;
using win32::Utf8FromUtf16;

// Windows keeps the command line as the one text the starter wrote; argc/argv are the C
// runtime's guess at its words and would lose the quoting, so they are not used.
std::string ArgumentText(int /*argc*/, char** /*argv*/) {
  return std::string(ArgumentTextOfCommandLine(Utf8FromUtf16(GetCommandLineW())));
}

std::wstring win32::ThisProgramPath() {
  // GetModuleFileNameW truncates silently when the buffer is short: grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ProgramDirectory() {
  const std::wstring path = win32::ThisProgramPath();
  const std::size_t separator = path.find_last_of(L"\\/");
  return Utf8FromUtf16(
      std::wstring_view(path).substr(0, separator == std::wstring::npos ? 0 : separator));
}

std::string PathBesideProgram(std::string_view file_name) {
  const std::string directory = ProgramDirectory();
  // "\name" would be a file in the root of the current drive: without the folder there is no
  // path, and opening the empty one fails where its user reports that failure.
  if (directory.empty()) return {};
  return directory + "\\" + std::string(file_name);
}

std::string UserConfigPath(std::string_view folder_name, std::string_view file_name) {
  win32::TaskMemory<PWSTR> folder;  // freed also when the call failed
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, folder.Put()))) return {};
  return Utf8FromUtf16(folder.Get()) + "\\" + std::string(folder_name) + "\\" +
         std::string(file_name);
}

bool PathExists(const std::string& path) {
  return !path.empty() &&
         GetFileAttributesW(Utf16FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UserDecimalSeparator() {
  wchar_t separator[16] = {};  // the locale data allows at most 3 characters and the end mark
  const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                     static_cast<int>(std::size(separator)));
  if (length <= 1) return ".";
  return Utf8FromUtf16(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  const std::wstring wide_name = Utf16FromUtf8(name);
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wide_name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    // 0 is both "not set" and "set to an empty text"; only the error code tells them apart.
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return Utf8FromUtf16(value);
    }
    value.resize(length);  // too short: `length` is the size needed, end mark included
  }
}

}  // namespace tolvex::platform
