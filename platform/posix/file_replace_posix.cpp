#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <string>

#include "platform/file_replace.h"
#include "platform/posix/file_calls_posix.h"
#include "platform/posix/file_system_posix.h"

namespace tolvex::platform {
namespace posix {

int FileCalls::Stat(const char* path, struct stat* info) { return ::stat(path, info); }
int FileCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileCalls::Write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}
int FileCalls::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int FileCalls::Fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int FileCalls::Fstat(int fd, struct stat* info) { return ::fstat(fd, info); }
int FileCalls::Fsync(int fd) { return ::fsync(fd); }
int FileCalls::Close(int fd) { return ::close(fd); }
int FileCalls::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileCalls::Unlink(const char* path) { return ::unlink(path); }

FileCalls& SystemFileCalls() {
  static FileCalls calls;
  return calls;
}

namespace {

// Creates a new temporary file beside `target`, hidden and named after it, readable and
// writable by the owner only until the original's mode is copied onto it.
int CreateTemporary(FileCalls& calls, const std::string& target, std::string& temp_path) {
  const auto slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string name = target.substr(slash + 1);
  auto seed =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<unsigned long long>(::getpid()) << 20);
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    temp_path = folder;
    temp_path.append(".").append(name).append(".tmp-").append(std::to_string(seed >> 40));
    const int fd =
        calls.Open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(FileCalls& calls, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = calls.Write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    // A write that makes no progress would loop for ever: treat it as the error it hides.
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Gives the temporary file the original's permission bits and, where we may, its owner and
// group. Changing the owner fails for an ordinary user and a group they are not in; the
// save still goes ahead then, as an editor's save would.
bool CopyPermissions(FileCalls& calls, int fd, const struct stat& original) {
  if (calls.Fchmod(fd, original.st_mode & 07777) != 0) return false;
  struct stat temp_info {};
  if (calls.Fstat(fd, &temp_info) != 0) return false;
  if (temp_info.st_uid != original.st_uid || temp_info.st_gid != original.st_gid) {
    (void)calls.Fchown(fd, original.st_uid, original.st_gid);
  }
  return true;
}

// Makes the rename itself durable. The new contents are in place by now and cannot be taken
// back, so a folder that refuses fsync (some file systems do) does not turn the save into a
// failure.
void SyncFolder(FileCalls& calls, const std::string& folder) {
  const int fd = calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  (void)calls.Fsync(fd);
  (void)calls.Close(fd);
}

// Writes `bytes` to a temporary file beside `target`, flushes it and renames it to `target`.
// `original`, when given, is the file being replaced, whose permissions the new one takes;
// a new file stays readable by its owner only.
bool WriteAndRename(FileCalls& calls, const std::string& target, std::string_view bytes,
                    const struct stat* original) {
  std::string temp_path;
  int fd = CreateTemporary(calls, target, temp_path);
  if (fd < 0) return false;
  bool ok = (original == nullptr || CopyPermissions(calls, fd, *original)) &&
            WriteAll(calls, fd, bytes) && calls.Fsync(fd) == 0;
  // close() can report a delayed write error (NFS, quotas); it counts like any other.
  if (calls.Close(fd) != 0) ok = false;
  if (ok && calls.Rename(temp_path.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    (void)calls.Unlink(temp_path.c_str());
    return false;
  }
  SyncFolder(calls, FolderOf(target));
  return true;
}

}  // namespace

bool ReplaceFileContents(FileCalls& calls, const std::string& path, std::string_view bytes) {
  // The file the path finally names, so that a symbolic link keeps pointing at the saved file
  // instead of being replaced by a regular one; a file that does not exist is never created.
  const auto resolved = RealPath(path);
  if (!resolved) return false;
  const std::string& target = *resolved;
  struct stat original {};
  if (calls.Stat(target.c_str(), &original) != 0 || !S_ISREG(original.st_mode)) return false;
  return WriteAndRename(calls, target, bytes, &original);
}

}  // namespace posix

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  return posix::ReplaceFileContents(posix::SystemFileCalls(), path, bytes);
}

bool MayReplaceInPlace(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return ::access(posix::FolderOf(path).c_str(), W_OK) == 0;
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  if (path.empty() || path.back() == '/') return false;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) return ReplaceFileContents(path, bytes);
  if (!posix::MakeFolders(posix::FolderOf(path))) return false;
  return posix::WriteAndRename(posix::SystemFileCalls(), path, bytes, nullptr);
}

}  // namespace tolvex::platform
