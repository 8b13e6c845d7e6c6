// The Linux stand-in for the Windows shell's "open": URLs, files and folders go to xdg-open;
// anything else is a program and its arguments. A scheme's handler is the one xdg-open would
// pick (the mimeapps.list files and the desktop entries: desktop_entries.h). Nothing ever
// passes through /bin/sh, so no character of the text can start a second command.
#include <cstring>
#include <vector>

#include "platform/posix/desktop_entries.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/spawn_posix.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace tolvex::platform {
namespace {

class SystemDesktopFiles final : public posix::DesktopFiles {
 public:
  std::optional<std::string> Read(const std::string& path) const override {
    return posix::SmallFileContents(path);
  }
  bool IsExecutable(const std::string& path) const override { return posix::IsExecutable(path); }
};

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
    if (const int error = posix::SpawnDetached(words, directory); error != 0) {
      return {ShellResult::kNothingStarted, words[0], std::strerror(error)};
    }
    return ShellResult::kHandedOver;
  }

  bool SchemeOpensThisProgram(std::string_view scheme) override {
    // The handler as xdg-open finds it; gio and the desktops read the same lists and entries.
    const auto handler = posix::FindSchemeHandler(
        scheme, {}, posix::ReadXdgEnvironment(EnvironmentVariable), SystemDesktopFiles());
    if (!handler) return false;
    const auto program = posix::RealPath(handler->program);
    const auto self = posix::RealPath("/proc/self/exe");
    return program && self && *program == *self;
  }
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<PosixShell>(); }

}  // namespace tolvex::platform
