// The traces of earlier starts on Windows: the mark in the process's environment block, which
// ShellExecute hands to what it starts, and the record in its folder in the user's temporary
// folder (%TEMP%), which lies in the user's profile, private to the user.
#include <windows.h>

#include <utility>

#include "platform/process.h"
#include "platform/start_traces.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::platform {
namespace {

using win32::KernelHandle;

// A folder or file reached through a junction or symbolic link is not used: it could point the
// record at a file elsewhere.
bool IsPlain(DWORD attributes, bool folder) {
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    return false;
  }
  return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// The record, opened for this process alone; invalid when it cannot be. Sharing nothing is the
// lock: another start waits at most about `wait_ms` for it, then goes on without the record.
KernelHandle OpenRecord(const StartTraceNames& names, std::int64_t wait_ms) {
  wchar_t temporary[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) return KernelHandle();
  const std::wstring folder = std::wstring(temporary, length) + win32::Utf16FromUtf8(names.folder);
  CreateDirectoryW(folder.c_str(), nullptr);  // inherits the temporary folder's private rights
  if (!IsPlain(GetFileAttributesW(folder.c_str()), true)) return KernelHandle();
  const std::wstring path = folder + L"\\" + win32::Utf16FromUtf8(names.record);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(wait_ms);
  for (;;) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    if (file.IsValid()) {
      BY_HANDLE_FILE_INFORMATION info{};
      if (!GetFileInformationByHandle(file.Get(), &info) ||
          !IsPlain(info.dwFileAttributes, false) || info.nNumberOfLinks != 1) {
        return KernelHandle();
      }
      return file;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount64() >= deadline) {
      return KernelHandle();
    }
    Sleep(1);
  }
}

std::optional<std::string> ReadAll(HANDLE file) {
  std::string bytes(kMaxStartRecordBytes + 1, '\0');
  DWORD size = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &size, nullptr)) {
    return std::nullopt;
  }
  // Larger than any record this program writes: begun afresh.
  bytes.resize(size > kMaxStartRecordBytes ? 0 : size);
  return bytes;
}

class Win32StartChain final : public StartChain {
 public:
  explicit Win32StartChain(StartTraceNames names) : names_(std::move(names)) {}

  std::optional<std::string> InheritedMark() override {
    return EnvironmentVariable(names_.mark_variable.c_str());
  }

  void PassOnMark(std::string_view mark) override {
    SetEnvironmentVariableW(win32::Utf16FromUtf8(names_.mark_variable).c_str(),
                            win32::Utf16FromUtf8(mark).c_str());
  }

  void UpdateRecord(const std::function<std::string(std::optional<std::string_view>)>& update,
                    std::int64_t wait_ms) override {
    const KernelHandle file = OpenRecord(names_, wait_ms);
    const std::optional<std::string> bytes =
        file.IsValid() ? ReadAll(file.Get()) : std::optional<std::string>();
    const std::string next = update(bytes);
    if (!bytes || next.size() > kMaxStartRecordBytes) return;
    DWORD written = 0;
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
        WriteFile(file.Get(), next.data(), static_cast<DWORD>(next.size()), &written, nullptr)) {
      SetEndOfFile(file.Get());
    }
  }

  std::int64_t NowMs() override {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000;  // 100 ns ticks
    return (ticks - kTicksFrom1601To1970) / 10000;
  }

 private:
  StartTraceNames names_;
};

}  // namespace

std::unique_ptr<StartChain> CreateSystemStartChain(StartTraceNames names) {
  return std::make_unique<Win32StartChain>(std::move(names));
}

}  // namespace tolvex::platform
