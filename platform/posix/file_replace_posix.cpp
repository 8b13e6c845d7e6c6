#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
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

// A save's temporary file is ".NAME.tmp-DIGITS" beside the file NAME it replaces. Its writer
// holds it locked (flock) from its creation to its rename; one that nobody holds is left over
// from a save that was killed, and goes.
std::string TemporaryPrefix(const std::string& name) { return "." + name + ".tmp-"; }

// A lock the file system does not keep (some network file systems): age alone tells then.
constexpr std::time_t kStaleTemporarySeconds = 60;

// Removes the temporary files that earlier saves of `name` left in `folder`: those no writer
// holds locked, and where locks are not kept, those older than a minute. Only this user's
// regular files of the pattern, never through a symbolic link.
void RemoveLeftoverTemporaries(const std::string& folder, const std::string& name) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folder_fd = ::dirfd(listing);
  const std::string prefix = TemporaryPrefix(name);
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view entry_name = entry->d_name;
    if (!entry_name.starts_with(prefix) || entry_name.size() == prefix.size() ||
        entry_name.substr(prefix.size()).find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    const FileDescriptor fd(
        ::openat(folder_fd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid()) {
      continue;
    }
    bool abandoned = ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0;
    if (!abandoned && errno != EWOULDBLOCK) {
      abandoned = info.st_mtime + kStaleTemporarySeconds < std::time(nullptr);
    }
    // Removed while locked: a writer that created it a moment ago and locks it only now finds
    // its name gone and starts over (CreateTemporary).
    if (abandoned) (void)::unlinkat(folder_fd, entry->d_name, 0);
  }
  ::closedir(listing);
}

// True while `path` still names the file open as `fd`.
bool StillNamed(int fd, const std::string& path) {
  struct stat open_info {};
  struct stat named_info {};
  return ::fstat(fd, &open_info) == 0 && ::lstat(path.c_str(), &named_info) == 0 &&
         open_info.st_dev == named_info.st_dev && open_info.st_ino == named_info.st_ino;
}

// Creates a new temporary file beside `target`, hidden and named after it, readable and
// writable by the owner only until the original's mode is copied onto it, and locks it for
// the whole save: `lock_fd` (a second descriptor of it) holds the lock until the caller closes
// it, after the rename, so that the file can be closed (and its close checked) before.
int CreateTemporary(FileCalls& calls, const std::string& target, std::string& temp_path,
                    FileDescriptor& lock_fd) {
  const auto slash = target.rfind('/');
  const std::string folder = target.substr(0, slash + 1);
  const std::string name = target.substr(slash + 1);
  auto seed =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<unsigned long long>(::getpid()) << 20);
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    temp_path = folder + TemporaryPrefix(name) + std::to_string(seed >> 40);
    const int fd =
        calls.Open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    lock_fd.Reset(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    // Without a lock the file is still written; only the sweep of leftovers then goes by age.
    if (lock_fd) {
      while (::flock(lock_fd.get(), LOCK_EX) != 0 && errno == EINTR) {
      }
    }
    if (StillNamed(fd, temp_path)) return fd;
    // Another save took it for a leftover between its creation and the lock.
    (void)calls.Close(fd);
    lock_fd.Reset();
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
  RemoveLeftoverTemporaries(FolderOf(target), target.substr(target.rfind('/') + 1));
  std::string temp_path;
  FileDescriptor lock_fd;  // released after the rename, or after the temporary file went
  int fd = CreateTemporary(calls, target, temp_path, lock_fd);
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
