#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/file_lock.h"
#include "platform/posix/file_system_posix.h"

namespace tolvex::platform {
namespace {

class FlockLock final : public FileLock {
 public:
  explicit FlockLock(posix::FileDescriptor fd) : fd_(std::move(fd)) {}

 private:
  posix::FileDescriptor fd_;  // closing it lets go of the lock
};

std::string LockPathOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".lock";
}

}  // namespace

HeldLock LockForChange(const std::string& path, std::chrono::milliseconds wait) {
  if (!posix::MakeFolders(posix::FolderOf(path))) return {};
  // Never through a symbolic link: the lock file is ours, beside the file.
  posix::FileDescriptor fd(::open(LockPathOf(path).c_str(),
                                  O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
  if (!fd) return {};
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
      return {LockResult::kLocked, std::make_unique<FlockLock>(std::move(fd))};
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return {};
    if (std::chrono::steady_clock::now() >= deadline) return {LockResult::kBusy, nullptr};
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  // By the mode bits of the class this user is in: root may write anything, but a file its
  // owner marked read-only is meant to stay as it is.
  const uid_t user = ::geteuid();
  if (info.st_uid == user) return (info.st_mode & S_IWUSR) == 0;
  if (info.st_gid == ::getegid()) return (info.st_mode & S_IWGRP) == 0;
  gid_t groups[256];
  const int count = ::getgroups(256, groups);
  for (int i = 0; i < count; ++i) {
    if (groups[i] == info.st_gid) return (info.st_mode & S_IWGRP) == 0;
  }
  return (info.st_mode & (user == 0 ? (S_IWUSR | S_IWGRP | S_IWOTH) : S_IWOTH)) == 0;
}

}  // namespace tolvex::platform
