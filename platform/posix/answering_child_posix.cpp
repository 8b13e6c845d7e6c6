#include "platform/posix/answering_child_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tolvex::platform::posix {

void AnswerPipe::Answer(int answer) {
  if (!end_) return;
  // Fewer bytes than PIPE_BUF: written whole or not at all.
  while (::write(end_.get(), &answer, sizeof answer) < 0 && errno == EINTR) {
  }
  end_.Reset();
}

std::optional<AnsweringChild> AnsweringChild::Start(const std::function<int(AnswerPipe&)>& run) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  FileDescriptor read_end(ends[0]);
  FileDescriptor write_end(ends[1]);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    read_end.Reset();
    AnswerPipe pipe(std::move(write_end));
    ::_exit(run(pipe));
  }
  write_end.Reset();
  return AnsweringChild(child, std::move(read_end));
}

std::optional<int> AnsweringChild::ReadAnswer() {
  int answer = 0;
  ssize_t got;
  while ((got = ::read(answers_.get(), &answer, sizeof answer)) < 0 && errno == EINTR) {
  }
  answers_.Reset();
  if (got != static_cast<ssize_t>(sizeof answer)) return std::nullopt;
  return answer;
}

int AnsweringChild::WaitForExit(int if_killed) const {
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : if_killed;
}

void LetGoOfTheCaller() {
  std::fflush(nullptr);
  const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null >= 0) {
    for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
    ::close(null);
  }
  ::setsid();
}

void ReapChildrenFromNowOn() {
  ::signal(SIGCHLD, SIG_IGN);
  while (::waitpid(-1, nullptr, WNOHANG) > 0) {
  }
}

}  // namespace tolvex::platform::posix
