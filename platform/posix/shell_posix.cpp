// The Linux stand-in for the Windows shell's "open": URLs, files and folders go to xdg-open;
// anything else is a program and its arguments. A scheme's handler is the one xdg-open would
// pick (xdg-mime and the desktop entries on XDG_DATA_HOME and XDG_DATA_DIRS). Nothing ever passes
// through /bin/sh, so no character of the text can start a second command.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/file_system_posix.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/text.h"

extern char** environ;

namespace tolvex::platform {
namespace {

// The folders in which desktop entries are looked up, most important first.
std::vector<std::string> ApplicationFolders() {
  std::vector<std::string> folders;
  const auto data_home = EnvironmentVariable("XDG_DATA_HOME");
  const auto home = NonEmptyEnvironmentVariable("HOME");
  if (data_home && data_home->starts_with('/')) {
    folders.push_back(*data_home + "/applications/");
  } else if (home) {
    folders.push_back(*home + "/.local/share/applications/");
  }
  const std::string data_dirs =
      NonEmptyEnvironmentVariable("XDG_DATA_DIRS").value_or("/usr/local/share:/usr/share");
  std::string_view dirs = data_dirs;
  while (!dirs.empty()) {
    const std::size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    if (!dir.empty() && dir.front() == '/') folders.push_back(std::string(dir) + "/applications/");
    dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
  }
  return folders;
}

// The program of an Exec= value: its first word, unquoted as desktop entries quote it.
std::string FirstExecWord(std::string_view exec) {
  std::string word;
  exec = Trim(exec, kXmlWhiteSpace);
  if (exec.empty() || exec.front() != '"') return std::string(exec.substr(0, exec.find(' ')));
  for (std::size_t i = 1; i < exec.size() && exec[i] != '"'; ++i) {
    if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
    word += exec[i];
  }
  return word;
}

// The program that the desktop entry `desktop_id` starts, found as xdg-open finds the entry:
// the first folder of ApplicationFolders that holds it. A name without "/" is looked up on PATH.
std::optional<std::string> ProgramOfDesktopEntry(std::string_view desktop_id) {
  for (const std::string& folder : ApplicationFolders()) {
    const auto entry = posix::SmallFileContents(folder + std::string(desktop_id));
    if (!entry) continue;
    bool in_main_group = false;
    for (std::string_view rest = *entry; !rest.empty();) {
      const std::size_t end = rest.find('\n');
      const std::string_view line = rest.substr(0, end);
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
      if (line.starts_with('[')) in_main_group = Trim(line, kXmlWhiteSpace) == "[Desktop Entry]";
      if (!in_main_group || !line.starts_with("Exec=")) continue;
      const std::string program = FirstExecWord(line.substr(5));
      if (program.empty()) return std::nullopt;
      if (program.find('/') != std::string::npos) return program;
      const std::string path = EnvironmentVariable("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
      std::string_view dirs = path;
      while (!dirs.empty()) {
        const std::size_t colon = dirs.find(':');
        const std::string candidate = std::string(dirs.substr(0, colon)) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
      }
      return std::nullopt;
    }
    return std::nullopt;  // the first entry found is the one that counts
  }
  return std::nullopt;
}

// Blanks separate words; double quotes group blanks into a word and are dropped.
std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

class PosixShell final : public Shell {
 public:
  ShellOutcome Open(std::string_view file, const std::optional<std::string>& directory) override {
    const std::string text(file);
    std::vector<std::string> words;
    if (!UriSchemeOf(text).empty() || posix::Exists(text)) {
      words = {"xdg-open", text};
    } else {
      words = SplitWords(text);
    }
    if (words.empty()) return {ShellResult::kNothingStarted, {}, "the command line is empty"};
    if (const int error = Spawn(words, directory); error != 0) {
      return {ShellResult::kNothingStarted, words[0], std::strerror(error)};
    }
    return ShellResult::kHandedOver;
  }

  bool SchemeOpensThisProgram(std::string_view scheme) override {
    // The handler as xdg-open finds it; gio and the desktops read the same mimeapps.list files.
    const auto answer = StandardOutputOf(
        {"xdg-mime", "query", "default", "x-scheme-handler/" + std::string(scheme)});
    if (!answer) return false;
    const std::string_view desktop_id = Trim(*answer, kXmlWhiteSpace);
    if (!desktop_id.ends_with(".desktop") || desktop_id.find('/') != std::string_view::npos) {
      return false;
    }
    const auto program = ProgramOfDesktopEntry(desktop_id);
    if (!program) return false;
    const auto handler = posix::RealPath(*program);
    const auto self = posix::RealPath("/proc/self/exe");
    return handler && self && *handler == *self;
  }

 private:
  // Starts the program in a session of its own so that it runs on after the gateway ends.
  // Returns 0 or the errno of the failure.
  static int Spawn(std::vector<std::string>& words, const std::optional<std::string>& directory) {
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (directory && posix::IsFolder(*directory)) {
      posix_spawn_file_actions_addchdir_np(&actions, directory->c_str());
    }
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error;
  }

  // What `words` prints on standard output (at most 64 KiB), or nullopt when it cannot be
  // started or does not exit with 0. Standard input and error are /dev/null.
  static std::optional<std::string> StandardOutputOf(std::vector<std::string> words) {
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::string output;
    if (error == 0) {
      char buffer[4096];
      for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || output.size() > 65536) break;
        output.append(buffer, static_cast<std::size_t>(n));
      }
    }
    close(pipe_ends[0]);
    if (error != 0) return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
  }
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<PosixShell>(); }

}  // namespace tolvex::platform
