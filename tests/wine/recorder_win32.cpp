// tolvex_recorder: stands in for the application a test URL scheme is associated with. Each
// start appends one line to the file named by TOLVEX_RECORD_FILE: the working directory it was
// started in, a tab, and its whole command line, in UTF-8.
#include <windows.h>

#include <string>

#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"

using tolvex::platform::win32::KernelHandle;
using tolvex::platform::win32::Utf8FromUtf16;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t record_path[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TOLVEX_RECORD_FILE", record_path, MAX_PATH) == 0) return 3;
  wchar_t directory[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, directory);
  const std::string line =
      Utf8FromUtf16(directory) + "\t" + Utf8FromUtf16(GetCommandLineW()) + "\n";

  KernelHandle file(CreateFileW(record_path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return 4;
  DWORD written = 0;
  WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return written == line.size() ? 0 : 5;
}
