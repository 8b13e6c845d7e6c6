// Which program a link's scheme starts on a freedesktop system, found as xdg-open finds it:
//
//   scheme -> "x-scheme-handler/<scheme>" -> the mimeapps.list files, in xdg-mime's order
//     -> the first desktop id there that is installed -> its desktop entry -> its Exec line
//     -> the words it starts -> the program, found on PATH
//
// Pure: the environment comes in as values and every file is read through DesktopFiles, so
// that tests hand in a table of files and nothing here starts a process or touches the disk.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::platform::posix {

// The folders of the XDG Base Directory rules and the current desktop, from the environment.
// A relative folder is ignored, as those rules say; the defaults stand in for unset ones.
struct XdgEnvironment {
  std::string config_home;  // XDG_CONFIG_HOME, else $HOME/.config; empty without either
  std::vector<std::string> config_dirs;  // XDG_CONFIG_DIRS, else /etc/xdg
  std::string data_home;                 // XDG_DATA_HOME, else $HOME/.local/share
  std::vector<std::string> data_dirs;    // XDG_DATA_DIRS, else /usr/local/share:/usr/share
  std::vector<std::string> desktops;     // XDG_CURRENT_DESKTOP's names, lower case, in order
  std::string menu_prefix;               // XDG_MENU_PREFIX ("gnome-"), or empty
  std::vector<std::string> path;         // PATH's folders, else /usr/local/bin:/usr/bin:/bin
};

// `variable` answers an environment variable's value, nullopt when it is not set.
XdgEnvironment ReadXdgEnvironment(
    const std::function<std::optional<std::string>(const char*)>& variable);

// The seam to the file system.
class DesktopFiles {
 public:
  virtual ~DesktopFiles() = default;
  // The bytes of the regular file at `path`, or nullopt when there is none that can be read.
  virtual std::optional<std::string> Read(const std::string& path) const = 0;
  // True when `path` is a file that may be run.
  virtual bool IsExecutable(const std::string& path) const = 0;
};

// What a desktop entry's Exec field codes stand for when it opens `link`.
struct ExecFields {
  std::string link;        // %u and %U; empty: no argument, as a start without a link
  std::string name;        // %c, the entry's Name
  std::string icon;        // %i gives "--icon" and this when it is not empty
  std::string entry_path;  // %k, the entry's own file
};

// The words an Exec value starts, as freedesktop.org's desktop entry format writes them: the
// general escapes of a string value (\s \n \t \r \\) first, then words separated by blanks, a
// word in double quotes with \" \` \$ \\ inside, then the field codes outside quotes: %u and
// %U the link, %f and %F nothing (a link is no local file), %i %c %k as `fields` give them,
// %% a "%", the deprecated %d %D %n %N %v %m nothing; a word that only held codes that gave
// nothing goes. nullopt for an Exec that format calls invalid: an unknown field code,
// a quote left open, or no program.
std::optional<std::vector<std::string>> ExecWords(std::string_view exec, const ExecFields& fields);

// The desktop id's entry, once found.
struct SchemeHandler {
  std::string desktop_id;
  std::string entry_path;
  std::vector<std::string> command;  // ExecWords for ExecFields::link
  std::string program;               // the file that runs, found on PATH when named bare
};

// The handler that opens links of `scheme` (lower case, without the colon). The lists are
// read in xdg-mime's order: for each config folder (home first) and then each data folder's
// applications/, the desktop-specific "<desktop>-mimeapps.list" for each current desktop and
// then "mimeapps.list"; then each data folder's defaults.list and mimeinfo.cache (each also
// with XDG_MENU_PREFIX before it). The first desktop id of a list that is installed wins: its
// entry is the first found in the data folders (home first) under applications/, where "-"
// in the id may stand for a subfolder ("kde-okular.desktop" in applications/kde/okular.desktop),
// is of Type Application, not Hidden, its TryExec (when given) and its program found. An
// "env NAME=VALUE... PROGRAM" command runs PROGRAM. nullopt when no list names one.
std::optional<SchemeHandler> FindSchemeHandler(std::string_view scheme, std::string_view link,
                                               const XdgEnvironment& environment,
                                               const DesktopFiles& files);

}  // namespace tolvex::platform::posix
