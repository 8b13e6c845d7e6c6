// The Linux stand-in for the Windows shell's "open": URLs, files and folders go to xdg-open;
// anything else is a program and its arguments. Nothing ever passes through /bin/sh, so no
// character of the text can start a second command.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/message.h"
#include "platform/shell.h"

extern char** environ;

namespace tolvex::platform {
namespace {

bool IsSchemeCharacter(char c, bool first) {
  const bool alpha = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (first) return alpha;
  return alpha || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// "scheme:" with a scheme of two or more characters; one letter would be a drive name.
bool StartsWithUriScheme(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeCharacter(text[i], i == 0)) return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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
  ShellResult Open(std::string_view file, const std::optional<std::string>& directory) override {
    const std::string text(file);
    std::vector<std::string> words;
    if (StartsWithUriScheme(text) || Exists(text)) {
      words = {"xdg-open", text};
    } else {
      words = SplitWords(text);
    }
    if (words.empty()) {
      WriteToStandardError("nothing to open: the command line is empty");
      return ShellResult::kNothingStarted;
    }
    const int error = Spawn(words, directory);
    if (error != 0) {
      WriteToStandardError("cannot start \"" + QuoteForMessage(words[0]) + "\" to open \"" +
                           QuoteForMessage(text) + "\": " + std::strerror(error));
      return ShellResult::kNothingStarted;
    }
    return ShellResult::kHandedOver;
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
    if (directory && IsDirectory(*directory)) {
      posix_spawn_file_actions_addchdir_np(&actions, directory->c_str());
    }
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return error;
  }
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<PosixShell>(); }

}  // namespace tolvex::platform
