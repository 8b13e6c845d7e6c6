// Runs a piece of a test in a child process without root's right to write anywhere, so that
// tests of read-only files and folders mean the same when the suite runs as root (as CI does).
#pragma once

#include <functional>

namespace tolvex::test {

// Forks, gives up root for the user and group "nobody" (65534) when running as root, runs
// `body` and returns its result as the child's exit status: 0 to 255, or -1 when the child
// did not exit normally, and 255 when it could not give up root. The child never returns
// into the test framework.
int RunUnprivileged(const std::function<int()>& body);

}  // namespace tolvex::test
