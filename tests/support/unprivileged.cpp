#include "tests/support/unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tolvex::test {

int RunUnprivileged(const std::function<int()>& body) {
  constexpr id_t kNobody = 65534;
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(255);
    ::_exit(body() & 0xff);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tolvex::test
