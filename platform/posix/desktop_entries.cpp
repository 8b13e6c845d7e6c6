#include "platform/posix/desktop_entries.h"

#include "platform/text.h"

namespace tolvex::platform::posix {
namespace {

// `text` cut at every `separator`, blanks trimmed, empty pieces dropped.
std::vector<std::string> Pieces(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  while (!text.empty()) {
    const std::size_t end = text.find(separator);
    const std::string_view piece = Trim(text.substr(0, end), kBlanks);
    if (!piece.empty()) pieces.emplace_back(piece);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return pieces;
}

// The absolute folders of a colon-separated list, or of `fallback` when it names none.
std::vector<std::string> AbsoluteFolders(const std::optional<std::string>& list,
                                         std::string_view fallback) {
  std::vector<std::string> folders;
  for (std::string& folder : Pieces(list.value_or(std::string()), ':')) {
    if (folder.starts_with('/')) folders.push_back(std::move(folder));
  }
  if (folders.empty() && !fallback.empty()) return AbsoluteFolders(std::string(fallback), {});
  return folders;
}

// The value of `key` in `group` of a desktop entry or a list of defaults (blanks around "="
// allowed, the first occurrence counting), or nullopt.
std::optional<std::string_view> ValueOf(std::string_view file, std::string_view group,
                                        std::string_view key) {
  bool in_group = false;
  while (!file.empty()) {
    const std::size_t end = file.find('\n');
    const std::string_view line = Trim(file.substr(0, end), kXmlWhiteSpace);
    file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    if (line.starts_with('[')) {
      in_group = line.size() == group.size() + 2 && line.substr(1, group.size()) == group &&
                 line.back() == ']';
      continue;
    }
    const std::size_t equals = line.find('=');
    if (in_group && equals != std::string_view::npos &&
        Trim(line.substr(0, equals), kBlanks) == key) {
      return Trim(line.substr(equals + 1), kBlanks);
    }
  }
  return std::nullopt;
}

// A string value with its general escapes undone: \s \n \t \r \\. Any other backslash stays,
// for the Exec rules to read.
std::string UnescapeString(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char next = i + 1 < value.size() ? value[i + 1] : '\0';
    const char* escaped = value[i] != '\\' ? nullptr
                          : next == 's'    ? " "
                          : next == 'n'    ? "\n"
                          : next == 't'    ? "\t"
                          : next == 'r'    ? "\r"
                          : next == '\\'   ? "\\"
                                           : nullptr;
    if (escaped != nullptr) {
      text += escaped;
      ++i;
    } else {
      text += value[i];
    }
  }
  return text;
}

// The file that `program` names: itself when it holds a "/", else the first of PATH's folders
// that holds it; nullopt when it cannot be run.
std::optional<std::string> FindProgram(const std::string& program,
                                       const XdgEnvironment& environment,
                                       const DesktopFiles& files) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) {
    if (files.IsExecutable(program)) return program;
    return std::nullopt;
  }
  for (const std::string& folder : environment.path) {
    std::string candidate = folder;
    candidate.append("/").append(program);
    if (files.IsExecutable(candidate)) return candidate;
  }
  return std::nullopt;
}

// The program that `command` runs: "env" with NAME=VALUE words runs the word after them.
std::string RunProgram(const std::vector<std::string>& command) {
  const std::string& first = command.front();
  if (first != "env" && !first.ends_with("/env")) return first;
  for (std::size_t i = 1; i < command.size(); ++i) {
    if (command[i].find('=') == std::string::npos) return command[i];
  }
  return first;
}

// The paths at which desktop id `id` may stand below `folder`: the id itself, then with each
// "-" in turn standing for a subfolder. Ids with many dashes try their first eight only.
void CandidatePaths(const std::string& folder, std::string_view id, int dashes_left,
                    std::vector<std::string>& paths) {
  paths.push_back(folder + std::string(id));
  if (dashes_left == 0) return;
  for (std::size_t dash = id.find('-'); dash != std::string_view::npos && dashes_left > 0;
       dash = id.find('-', dash + 1), --dashes_left) {
    if (dash == 0) continue;
    CandidatePaths(folder + std::string(id.substr(0, dash)) + "/", id.substr(dash + 1),
                   dashes_left - 1, paths);
  }
}

// The installed handler that desktop id `id` names, or nullopt.
std::optional<SchemeHandler> InstalledEntry(const std::string& id, std::string_view link,
                                            const XdgEnvironment& environment,
                                            const DesktopFiles& files) {
  // An id is a file name ending in .desktop; it never leaves the applications folders.
  if (!id.ends_with(".desktop") || id.find('/') != std::string::npos || id.starts_with('.')) {
    return std::nullopt;
  }
  std::vector<std::string> data_folders{environment.data_home};
  data_folders.insert(data_folders.end(), environment.data_dirs.begin(),
                      environment.data_dirs.end());
  for (const std::string& data_folder : data_folders) {
    if (data_folder.empty()) continue;
    std::vector<std::string> paths;
    CandidatePaths(data_folder + "/applications/", id, 8, paths);
    for (const std::string& path : paths) {
      const auto entry = files.Read(path);
      if (!entry) continue;
      // The first entry found is the id's, even when it hides the id or is unusable.
      constexpr std::string_view kGroup = "Desktop Entry";
      const auto value = [&](std::string_view key) {
        return UnescapeString(ValueOf(*entry, kGroup, key).value_or(std::string_view()));
      };
      if (value("Type") != "Application" || value("Hidden") == "true") return std::nullopt;
      const std::string try_exec = value("TryExec");
      if (!try_exec.empty() && !FindProgram(try_exec, environment, files)) return std::nullopt;
      const auto exec = ValueOf(*entry, kGroup, "Exec");
      if (!exec) return std::nullopt;
      auto command = ExecWords(*exec, {std::string(link), value("Name"), value("Icon"), path});
      if (!command) return std::nullopt;
      auto program = FindProgram(RunProgram(*command), environment, files);
      if (!program) return std::nullopt;
      return SchemeHandler{id, path, std::move(*command), std::move(*program)};
    }
  }
  return std::nullopt;
}

}  // namespace

XdgEnvironment ReadXdgEnvironment(
    const std::function<std::optional<std::string>(const char*)>& variable) {
  XdgEnvironment environment;
  const auto home = variable("HOME");
  const bool has_home = home && home->starts_with('/');
  const auto folder = [&](const char* name, std::string_view below_home) {
    const auto value = variable(name);
    if (value && value->starts_with('/')) return *value;
    return has_home ? *home + std::string(below_home) : std::string();
  };
  environment.config_home = folder("XDG_CONFIG_HOME", "/.config");
  environment.data_home = folder("XDG_DATA_HOME", "/.local/share");
  environment.config_dirs = AbsoluteFolders(variable("XDG_CONFIG_DIRS"), "/etc/xdg");
  environment.data_dirs = AbsoluteFolders(variable("XDG_DATA_DIRS"), "/usr/local/share:/usr/share");
  for (std::string& desktop : Pieces(variable("XDG_CURRENT_DESKTOP").value_or(""), ':')) {
    for (char& c : desktop) c = AsciiLower(c);
    environment.desktops.push_back(std::move(desktop));
  }
  environment.menu_prefix = variable("XDG_MENU_PREFIX").value_or("");
  environment.path = AbsoluteFolders(variable("PATH"), "/usr/local/bin:/usr/bin:/bin");
  return environment;
}

std::optional<std::vector<std::string>> ExecWords(std::string_view exec, const ExecFields& fields) {
  const std::string text = UnescapeString(exec);
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;     // something, if only "", was written for this word
  bool kept_empty = false;  // the word was quoted, so an empty one stays
  bool quoted = false;
  const auto end_word = [&] {
    if (!word.empty() || kept_empty) words.push_back(std::move(word));
    word.clear();
    in_word = kept_empty = false;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && (next == '"' || next == '`' || next == '$' || next == '\\')) {
        word += next;
        ++i;
      } else {
        word += c;  // field codes inside quotes are no field codes
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) end_word();
    } else if (c == '"') {
      quoted = in_word = kept_empty = true;
    } else if (c == '%') {
      in_word = true;
      ++i;
      switch (next) {
        case '%':
          word += '%';
          break;
        case 'u':
        case 'U':
          word += fields.link;
          break;
        case 'c':
          word += fields.name;
          break;
        case 'k':
          word += fields.entry_path;
          break;
        case 'i':
          // Two words of their own, and none without an icon.
          if (!word.empty()) end_word();
          if (!fields.icon.empty()) {
            words.emplace_back("--icon");
            words.push_back(fields.icon);
          }
          break;
        case 'f':
        case 'F':
        case 'd':
        case 'D':
        case 'n':
        case 'N':
        case 'v':
        case 'm':
          break;
        default:
          return std::nullopt;  // an unknown code makes the whole line invalid
      }
    } else {
      in_word = true;
      word += c;
    }
  }
  if (quoted) return std::nullopt;
  if (in_word) end_word();
  if (words.empty() || words.front().empty()) return std::nullopt;
  return words;
}

std::optional<SchemeHandler> FindSchemeHandler(std::string_view scheme, std::string_view link,
                                               const XdgEnvironment& environment,
                                               const DesktopFiles& files) {
  const std::string mime_type = "x-scheme-handler/" + std::string(scheme);
  // The ids that one list names for the type, in its order; the first installed one wins.
  const auto handler_of_list = [&](const std::string& path, std::string_view group) {
    std::optional<SchemeHandler> handler;
    const auto list = files.Read(path);
    if (!list) return handler;
    const auto ids = ValueOf(*list, group, mime_type);
    for (const std::string& id : Pieces(ids.value_or(std::string_view()), ';')) {
      if ((handler = InstalledEntry(id, link, environment, files))) break;
    }
    return handler;
  };

  std::vector<std::string> list_folders{environment.config_home};
  list_folders.insert(list_folders.end(), environment.config_dirs.begin(),
                      environment.config_dirs.end());
  std::vector<std::string> data_folders{environment.data_home};
  data_folders.insert(data_folders.end(), environment.data_dirs.begin(),
                      environment.data_dirs.end());
  for (const std::string& data_folder : data_folders) {
    list_folders.push_back(data_folder.empty() ? data_folder : data_folder + "/applications");
  }
  for (const std::string& folder : list_folders) {
    if (folder.empty()) continue;
    for (const std::string& desktop : environment.desktops) {
      std::string list = folder;
      list.append("/").append(desktop).append("-mimeapps.list");
      if (auto handler = handler_of_list(list, "Default Applications")) {
        return handler;
      }
    }
    if (auto handler = handler_of_list(folder + "/mimeapps.list", "Default Applications")) {
      return handler;
    }
  }
  // Then the older lists of defaults, and the index of what the installed entries offer.
  std::vector<std::string> prefixes{""};
  if (!environment.menu_prefix.empty()) prefixes.insert(prefixes.begin(), environment.menu_prefix);
  for (const std::string& data_folder : data_folders) {
    if (data_folder.empty()) continue;
    for (const std::string& prefix : prefixes) {
      std::string base = data_folder;
      base.append("/applications/").append(prefix);
      if (auto handler = handler_of_list(base + "defaults.list", "Default Applications")) {
        return handler;
      }
      if (auto handler = handler_of_list(base + "mimeinfo.cache", "MIME Cache")) {
        return handler;
      }
    }
  }
  return std::nullopt;
}

}  // namespace tolvex::platform::posix
