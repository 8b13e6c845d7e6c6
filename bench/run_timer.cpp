// Times whole runs of programs: starts each command N times in turn (interleaved, so that
// both see the same machine load), waits for it, and prints the median wall time and the
// largest resident set size of each.
//
//   run_timer N -- PROGRAM ARGS... [-- PROGRAM ARGS...]...
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Command {
  std::vector<std::string> words;
  std::vector<double> microseconds;
  long max_rss_kib = 0;
};

bool RunOnce(Command& command) {
  std::vector<char*> argv;
  for (auto& w : command.words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) < 0) return false;
  const auto end = std::chrono::steady_clock::now();
  command.microseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  command.max_rss_kib = std::max(command.max_rss_kib, usage.ru_maxrss);
  return WIFEXITED(status);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: run_timer N -- PROGRAM ARGS... [-- PROGRAM ARGS...]...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  std::vector<Command> commands;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      commands.emplace_back();
    } else if (!commands.empty()) {
      commands.back().words.emplace_back(argv[i]);
    }
  }
  for (int run = 0; run < runs; ++run) {
    for (auto& command : commands) {
      if (!RunOnce(command)) {
        std::fprintf(stderr, "run_timer: cannot run %s\n", command.words[0].c_str());
        return 1;
      }
    }
  }
  for (const auto& command : commands) {
    std::printf("%.1f %ld %s\n", Median(command.microseconds), command.max_rss_kib,
                command.words[0].c_str());
  }
  return 0;
}
