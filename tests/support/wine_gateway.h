// A copy of TolvexGateway.exe in a folder of its own (its program directory, where it finds
// its option file), run under Wine by tolvex_driver with exact command lines.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/wine.h"

namespace tolvex::test {

// An option file with one option "Map" (area "World") holding `template_text` (already
// XML-escaped) and the `datum` attribute.
std::string OneOptionFile(const std::string& template_text, const std::string& datum = "wgs84");

class WineGateway {
 public:
  explicit WineGateway(const std::string& name);

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path option_file() const { return folder_ / "tolvexgwoption.xml"; }
  // The program as a Windows path, and in double quotes.
  std::string Program() const;
  std::string QuotedProgram() const { return "\"" + Program() + "\""; }

  void WriteOptions(const std::string& bytes) const { WriteFile(option_file(), bytes); }
  std::string Options() const { return ReadFile(option_file()); }

  // Runs the driver: `mode` "run" or "dialog", the full command line, and dialog actions.
  // Returns the driver's lines.
  std::vector<std::string> Drive(const std::string& mode, const std::string& command_line,
                                 const std::vector<std::string>& actions = {},
                                 const std::vector<std::string>& env = {}) const;

  // What the test scheme's recorder saw, one line per start: working folder, tab, command line.
  std::vector<std::string> Recorded() const;
  // The recorder's command line for a URL handed to the shell.
  static std::string RecorderLine(const std::string& directory, const std::string& url);

 private:
  std::filesystem::path folder_;
};

}  // namespace tolvex::test
