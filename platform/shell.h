// Asking the operating system to open a file, folder, URL or program, as a user's
// double-click would. One backend per OS.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tolvex::platform {

enum class ShellResult {
  kHandedOver,      // the request reached something that opens it
  kNothingStarted,  // no opener or program could be started at all
};

// What came of an Open. When nothing was started, what could not be started and why, for the
// caller's message: `program` is empty when the text named nothing at all.
struct ShellOutcome {
  // Implicit from a result alone: a success needs no more.
  ShellOutcome(ShellResult result_of_open, std::string failed_program = {},  // NOLINT
               std::string failure_reason = {})
      : result(result_of_open),
        program(std::move(failed_program)),
        reason(std::move(failure_reason)) {}

  ShellResult result;
  std::string program;
  std::string reason;
};

class Shell {
 public:
  virtual ~Shell() = default;

  // Opens `file` (a URL, a path, or a program followed by its arguments). `directory` is the
  // working directory for what is started: nullopt for none, an empty text for an empty one.
  virtual ShellOutcome Open(std::string_view file, const std::optional<std::string>& directory) = 0;

  // True when the handler that this system has registered for links of `scheme` (ASCII, lower
  // case, without the colon) is this very program, so that opening such a link would start it
  // again.
  virtual bool SchemeOpensThisProgram(std::string_view scheme) = 0;
};

std::unique_ptr<Shell> CreateSystemShell();

}  // namespace tolvex::platform
