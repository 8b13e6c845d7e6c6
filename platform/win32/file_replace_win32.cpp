// Replacing the option file: the new bytes go to a temporary file in the same folder (so the
// final step is a rename within one volume), are flushed to the disk, and then take the
// original's place. ReplaceFileW keeps the original's security descriptor and attributes;
// where it cannot work (some file systems, a read-only original) MoveFileExW replaces it.
#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <cwchar>
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

// A save's temporary file is ".NAME.tmp-PID-DIGITS" beside the file NAME it replaces, PID
// being its writer's process. The next save of NAME removes those whose writer has ended (a
// killed save) and any older than a minute; one that a running save holds stays.
std::wstring TemporaryPrefix(const std::wstring& target) {
  const std::size_t separator = target.find_last_of(L"\\/");
  return L"." + target.substr(separator == std::wstring::npos ? 0 : separator + 1) + L".tmp-";
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  return folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder + name
                                                                           : folder + L"\\" + name;
}

constexpr ULONGLONG kStaleTemporaryTicks = 60ULL * 10'000'000ULL;  // a minute in 100 ns ticks

bool IsRunning(DWORD process_id) {
  const win32::KernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, process_id));
  // A process that exists but may not be opened by this user counts as running.
  if (!process.IsValid()) return GetLastError() == ERROR_ACCESS_DENIED;
  return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

void RemoveLeftoverTemporaries(const std::wstring& target) {
  const std::wstring folder = FolderOf(target);
  const std::wstring prefix = TemporaryPrefix(target);
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(InFolder(folder, prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME now_time{};
  GetSystemTimeAsFileTime(&now_time);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  do {
    const std::wstring name = found.cFileName;
    const std::wstring rest = name.substr(std::min(name.size(), prefix.size()));
    const std::size_t dash = rest.find(L'-');
    if (name.size() <= prefix.size() ||
        rest.find_first_not_of(L"0123456789-") != std::wstring::npos || dash == 0 ||
        dash == std::wstring::npos ||
        (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
      continue;
    }
    const auto writer = static_cast<DWORD>(std::wcstoul(rest.substr(0, dash).c_str(), nullptr, 10));
    const bool stale = ticks(now_time) > ticks(found.ftLastWriteTime) + kStaleTemporaryTicks;
    if (writer != GetCurrentProcessId() && (stale || !IsRunning(writer))) {
      // A save still writing it holds it unshared: the deletion then fails, as it should.
      DeleteFileW(InFolder(folder, name).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Creates an empty temporary file beside `target` under a name no one else holds.
std::wstring CreateTemporary(const std::wstring& target) {
  const std::wstring base = InFolder(FolderOf(target), TemporaryPrefix(target)) +
                            std::to_wstring(GetCurrentProcessId()) + L"-";
  ULONGLONG seed = GetTickCount64() ^ (static_cast<ULONGLONG>(GetCurrentThreadId()) << 32);
  for (int attempt = 0; attempt < 16; ++attempt) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    std::wstring path = base + std::to_wstring(seed >> 40);
    const win32::KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid()) return path;
    if (GetLastError() != ERROR_FILE_EXISTS) return {};
  }
  return {};
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

  RemoveLeftoverTemporaries(target);
  const std::wstring temporary_path = CreateTemporary(target);
  if (temporary_path.empty()) return false;
  const wchar_t* temporary = temporary_path.c_str();

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
  if (read_only) {
    SetFileAttributesW(target.c_str(),
                       GetFileAttributesW(target.c_str()) | FILE_ATTRIBUTE_READONLY);
  }
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
  RemoveLeftoverTemporaries(target);
  const std::wstring temporary_path = CreateTemporary(target);
  if (temporary_path.empty()) return false;
  const wchar_t* temporary = temporary_path.c_str();
  const bool written = WriteAllAndFlush(temporary, bytes) &&
                       MoveFileExW(temporary, target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!written) DeleteFileW(temporary);
  return written;
}

}  // namespace tolvex::platform
