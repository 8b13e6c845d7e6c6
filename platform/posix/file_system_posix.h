// What the POSIX backends ask of the file system: a descriptor owner, the real path of a file,
// the folder of a path, and small files read whole.
#pragma once

#include <unistd.h>

#include <optional>
#include <string>
#include <utility>

namespace tolvex::platform::posix {

// Owns one file descriptor from open, pipe or socket and closes it once, on every path.
// Where a failing close must count (a file just written), the caller closes by hand instead.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.fd_, -1));
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes the descriptor held so far and takes `fd`.
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// The absolute path that `path` finally names, links followed; nullopt when it names nothing.
std::optional<std::string> RealPath(const std::string& path);

// The folder part of a POSIX path, without a trailing "/": "/" for a file in the root, "."
// for a bare name.
std::string FolderOf(const std::string& path);

// True when `path` names something that exists (a folder, when asked for one).
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);

// Creates `folder` and its missing parents, each for the owner only; true when it is a folder.
bool MakeFolders(const std::string& folder);

// True when `path` names a file this process may run.
bool IsExecutable(const std::string& path);

// The bytes of the regular file at `path` when it holds at most `max_bytes` (a desktop entry,
// a list of defaults), or nullopt when it cannot be read or is larger.
std::optional<std::string> SmallFileContents(const std::string& path, long max_bytes = 1L << 20);

}  // namespace tolvex::platform::posix
