// Facts about the running process that the gateway needs: its argument text, where the
// program lives, the user's decimal separator, and environment variables.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex::platform {

// The whole argument portion of the command line as one text. POSIX joins argv[1..] with
// single spaces; Windows takes what GetCommandLineW() holds after the program's own name.
std::string ArgumentText(int argc, char** argv);

// The folder that holds the program's executable, without a trailing separator. Empty when
// Windows cannot tell; POSIX falls back to ".".
std::string ProgramDirectory();

// The program directory, this platform's separator ("/" or "\"), and `file_name`; empty when
// the program directory is. An empty path opens nothing: the option file then fails to load
// with the usual message, and nothing is ever written there.
std::string PathBesideProgram(std::string_view file_name);

// `file_name` in the folder `folder_name` of the place where this system keeps each user's
// settings: `$XDG_CONFIG_HOME` (by default `~/.config`) on POSIX, `%APPDATA%` on Windows. Empty
// when the system names no such place (no home folder).
std::string UserConfigPath(std::string_view folder_name, std::string_view file_name);

// True when `path` names something that a reader reaches, links followed (a reader's question,
// where FileExists in file_lock.h asks a writer's).
bool PathExists(const std::string& path);

// The decimal separator of the user's locale ("." or "," in practice; may be any text).
std::string UserDecimalSeparator();

// The value of an environment variable, or nullopt when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

// The value of an environment variable that is set and not empty: an empty value names no
// display, no folder and no choice, as if the variable were not set.
inline std::optional<std::string> NonEmptyEnvironmentVariable(const char* name) {
  auto value = EnvironmentVariable(name);
  if (value && value->empty()) value.reset();
  return value;
}

}  // namespace tolvex::platform
