// The lock beside a file on Windows: a hidden lock file opened for sharing, locked whole with
// LockFileEx. The lock goes when its handle closes, also when the program is killed.
#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include <thread>

#include "platform/file_lock.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::platform {
namespace {

using win32::KernelHandle;
using win32::Utf16FromUtf8;

class LockFileLock final : public FileLock {
 public:
  explicit LockFileLock(KernelHandle file) : file_(std::move(file)) {}

 private:
  KernelHandle file_;
};

}  // namespace

HeldLock LockForChange(const std::string& path, std::chrono::milliseconds wait) {
  const std::wstring target = Utf16FromUtf8(path);
  const std::size_t separator = target.find_last_of(L"\\/");
  const std::wstring folder =
      separator == std::wstring::npos ? std::wstring() : target.substr(0, separator + 1);
  const std::wstring name = separator == std::wstring::npos ? target : target.substr(separator + 1);
  if (!folder.empty()) {
    const int created = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS &&
        created != ERROR_FILE_EXISTS) {
      return {};
    }
  }
  const std::wstring lock_path = folder + L"." + name + L".lock";
  KernelHandle file(CreateFileW(lock_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file.IsValid()) return {};
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    OVERLAPPED whole = {};
    if (LockFileEx(file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &whole)) {
      return {LockResult::kLocked, std::make_unique<LockFileLock>(std::move(file))};
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING) return {};
    if (std::chrono::steady_clock::now() >= deadline) return {LockResult::kBusy, nullptr};
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Utf16FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Utf16FromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace tolvex::platform
