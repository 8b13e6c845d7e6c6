// A child process that answers its parent with one number and may then run on: the parent
// waits for that answer, not for the child's end (the place card's process, which serves the
// clipboard after the caller has its exit status).
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <utility>

#include "platform/posix/file_system_posix.h"

namespace tolvex::platform::posix {

// The child's end of the pipe to its parent.
class AnswerPipe {
 public:
  explicit AnswerPipe(FileDescriptor end) : end_(std::move(end)) {}

  // Sends `answer` and closes the pipe; a later call sends nothing.
  void Answer(int answer);

 private:
  FileDescriptor end_;
};

class AnsweringChild {
 public:
  // Forks this process, its standard streams flushed first. The child runs `run` with its end
  // of the pipe and ends with _exit of what `run` returns, never returning into the caller's
  // code. nullopt when no pipe or no process could be made.
  static std::optional<AnsweringChild> Start(const std::function<int(AnswerPipe&)>& run);

  // Waits for the child's answer; nullopt when the child ended without one.
  std::optional<int> ReadAnswer();

  // Waits for the child to end: its exit status, or `if_killed` when a signal ended it.
  int WaitForExit(int if_killed) const;

 private:
  AnsweringChild(pid_t pid, FileDescriptor answers) : pid_(pid), answers_(std::move(answers)) {}

  pid_t pid_;
  FileDescriptor answers_;
};

// For a child that runs on after answering: its standard streams, flushed, go to /dev/null and
// it leaves the caller's session, so that a caller reading the streams to their end, or a
// terminal closing, does not wait on it.
void LetGoOfTheCaller();

// The children that this process has started are never left zombies, those that ended already
// nor those that end from now on.
void ReapChildrenFromNowOn();

}  // namespace tolvex::platform::posix
