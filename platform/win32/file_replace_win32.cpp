// Replacing the option file: the new bytes go to a temporary file in the same folder (so the
// final step is a rename within one volume), are flushed to the disk, and then take the
// original's place. ReplaceFileW keeps the original's security descriptor and attributes;
// where it cannot work (some file systems, a read-only original) MoveFileExW replaces it.
#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include <climits>
#include <string>

#include "platform/file_replace.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::platform {
namespace {

using win32::KernelHandle;
using win32::Utf16FromUtf8;

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return L".";
  if (separator == 0 || (separator == 2 && path[1] == L':')) return path.substr(0, separator + 1);
  return path.substr(0, separator);
}

bool WriteAllAndFlush(const std::wstring& path, std::string_view bytes) {
  KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return false;
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > static_cast<std::size_t>(INT_MAX)
                            ? INT_MAX
                            : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return FlushFileBuffers(file.Get()) != FALSE && file.Reset();
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const std::wstring target = Utf16FromUtf8(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }

  // Another program holding the file without sharing it makes every way of replacing it
  // fail, and a failed ReplaceFileW can leave files of its own behind: find out first.
  if (!KernelHandle(CreateFileW(target.c_str(), DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
           .IsValid()) {
    return false;
  }

  // GetTempFileNameW creates the empty file under a name no one else holds.
  wchar_t temporary[MAX_PATH + 1] = {};
  if (GetTempFileNameW(FolderOf(target).c_str(), L"tvx", 0, temporary) == 0) return false;

  // A read-only file cannot be replaced: the mark is taken off for the replacement and put
  // back on the new file (or the old one, when the replacement fails).
  const bool read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (read_only && !SetFileAttributesW(target.c_str(),
                                       attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
    DeleteFileW(temporary);
    return false;
  }
  const bool replaced = WriteAllAndFlush(temporary, bytes) &&
                        (ReplaceFileW(target.c_str(), temporary, nullptr,
                                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE ||
                         MoveFileExW(temporary, target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE);
  if (!replaced) DeleteFileW(temporary);
  if (read_only)
    SetFileAttributesW(target.c_str(),
                       GetFileAttributesW(target.c_str()) | FILE_ATTRIBUTE_READONLY);
  return replaced;
}

bool MayReplaceInPlace(const std::string& path) {
  const std::wstring target = Utf16FromUtf8(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return false;
  }
  // The folder's access rules are the system's to apply: try to create a file there, which
  // goes again when its handle closes. (GetTempFileNameW is no test: Wine's reports a name
  // even when it could not create the file.)
  std::wstring probe = FolderOf(target);
  if (probe.back() != L'\\') probe += L'\\';
  probe += L".tolvex-write-check-" + std::to_wstring(GetCurrentProcessId());
  return KernelHandle(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr))
      .IsValid();
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Utf16FromUtf8(path);
  if (target.empty()) return false;
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return ReplaceFileContents(path, bytes);
  }
  const std::wstring folder = FolderOf(target);
  const int created = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS) return false;
  wchar_t temporary[MAX_PATH + 1] = {};
  if (GetTempFileNameW(folder.c_str(), L"tvx", 0, temporary) == 0) return false;
  const bool written = WriteAllAndFlush(temporary, bytes) &&
                       MoveFileExW(temporary, target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!written) DeleteFileW(temporary);
  return written;
}

}  // namespace tolvex::platform
