// Runs a built program with arguments and standard input, and captures what it wrote.
#pragma once

#include <string>
#include <vector>

namespace tolvex::test {

struct ProcessResult {
  int exit_status = -1;  // the exit code, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

struct ProcessOptions {
  std::string input;                 // written to the program's standard input
  std::vector<std::string> env_set;  // "NAME=value" entries added to the environment
  std::vector<std::string> env_unset;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

}  // namespace tolvex::test
