#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include "platform/posix/desktop_entries.h"
#include "platform/posix/file_system_posix.h"
#include "platform/process.h"
#include "platform/text.h"

namespace tolvex::platform {

std::string ArgumentText(int argc, char** argv) {
  if (argc < 2) return {};
  return JoinWithSpaces(std::vector<std::string_view>(argv + 1, argv + argc));
}

std::string ProgramDirectory() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return ".";
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      break;
    }
    path.resize(path.size() * 2);  // the link may have been truncated
  }
  return posix::FolderOf(path);
}

std::string PathBesideProgram(std::string_view file_name) {
  std::string directory = ProgramDirectory();
  if (directory != "/") directory += '/';
  directory += file_name;
  return directory;
}

std::string UserConfigPath(std::string_view folder_name, std::string_view file_name) {
  const std::string folder = posix::ReadXdgEnvironment(EnvironmentVariable).config_home;
  if (folder.empty()) return {};
  return folder + "/" + std::string(folder_name) + "/" + std::string(file_name);
}

bool PathExists(const std::string& path) { return posix::Exists(path); }

std::string UserDecimalSeparator() {
  // Ask the user's locale (LC_ALL, LC_NUMERIC, LANG) without switching the process to it.
  const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return ".";
  std::string separator = nl_langinfo_l(RADIXCHAR, user);
  freelocale(user);
  return separator.empty() ? "." : separator;
}

}  // namespace tolvex::platform
