#include "platform/posix/file_system_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tolvex::platform::posix {

std::optional<std::string> RealPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return std::nullopt;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolders(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = FolderOf(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), S_IRWXU) == 0 || errno == EEXIST;
}

bool IsExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> SmallFileContents(const std::string& path, long max_bytes) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) return std::nullopt;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > max_bytes) {
    return std::nullopt;
  }
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = ::read(file.get(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

}  // namespace tolvex::platform::posix
