#include "tests/support/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tolvex::test {
namespace {

struct Pipe {
  int fds[2] = {-1, -1};
  // Close-on-exec, so that a program started at the same time from another thread does not
  // inherit this pipe and hold its end open (the reader would then wait for that program).
  Pipe() {
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  void CloseRead() {
    if (fds[0] >= 0) close(fds[0]);
    fds[0] = -1;
  }
  void CloseWrite() {
    if (fds[1] >= 0) close(fds[1]);
    fds[1] = -1;
  }
};

std::vector<std::string> BuildEnvironment(const ProcessOptions& options) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool drop = false;
    for (const auto& unset : options.env_unset) drop = drop || unset == name;
    for (const auto& set : options.env_set) drop = drop || set.substr(0, set.find('=')) == name;
    if (!drop) env.push_back(entry);
  }
  env.insert(env.end(), options.env_set.begin(), options.env_set.end());
  return env;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
  // A program that exits without reading its input must not kill the test with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  Pipe in, out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.fds[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out.fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.fds[1], 2);
  for (int fd : {in.fds[0], in.fds[1], out.fds[0], out.fds[1], err.fds[0], err.fds[1]}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }

  std::vector<std::string> argv_strings = {program};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_strings) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_strings = BuildEnvironment(options);
  std::vector<char*> envp;
  for (auto& e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
  in.CloseRead();
  out.CloseWrite();
  err.CloseWrite();

  ProcessResult result;
  std::size_t written = 0;
  if (options.input.empty()) in.CloseWrite();
  std::array<pollfd, 3> polls = {pollfd{out.fds[0], POLLIN, 0}, pollfd{err.fds[0], POLLIN, 0},
                                 pollfd{in.fds[1], POLLOUT, 0}};
  std::array<std::string*, 2> sinks = {&result.out, &result.err};
  while (polls[0].fd >= 0 || polls[1].fd >= 0) {
    polls[2].fd = in.fds[1];
    if (poll(polls.data(), polls.size(), -1) < 0 && errno != EINTR) break;
    for (std::size_t i = 0; i < 2; ++i) {
      if (polls[i].fd < 0 || polls[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(polls[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        polls[i].fd = -1;
      } else {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      }
    }
    if (in.fds[1] >= 0 && polls[2].revents != 0) {
      const ssize_t n =
          write(in.fds[1], options.input.data() + written, options.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n <= 0 || written == options.input.size()) in.CloseWrite();
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace tolvex::test
