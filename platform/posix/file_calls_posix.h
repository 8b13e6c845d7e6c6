// The system calls that ReplaceFileContents makes, one virtual function each, so that tests
// can make any one of them fail (a full disk half way through a write, an I/O error on fsync)
// and check that the original file survives.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvex::platform::posix {

class FileCalls {
 public:
  virtual ~FileCalls() = default;

  // Each returns what the system call of the same name returns and sets errno as it does.
  virtual int Stat(const char* path, struct stat* info);
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Fchown(int fd, uid_t owner, gid_t group);
  virtual int Fstat(int fd, struct stat* info);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
};

// The real system calls.
FileCalls& SystemFileCalls();

// platform::ReplaceFileContents through `calls`. A symbolic link is followed: the file it
// names gets the new contents and the link stays.
bool ReplaceFileContents(FileCalls& calls, const std::string& path, std::string_view bytes);

}  // namespace tolvex::platform::posix
