// One run of the gateway: classify the argument text, then either hand a location to the
// active option's application, open the option dialog, or answer with an error message.
//
//   argument text -> ClassifyArgument -> LoadActiveOption -> ExpandCommandTemplate
//                 -> LaunchCommand (shell)
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "gateway/message_text.h"
#include "gateway/option_store.h"
#include "gateway/request.h"
#include "platform/message.h"
#include "platform/shell.h"
#include "platform/start_traces.h"
#include "platform/xml_document.h"

namespace tolvex {

// Exit statuses of a run.
inline constexpr int kExitHandedOver = 0;  // handed to the shell, or the dialog ran
inline constexpr int kExitMessage = 1;     // an error message was shown
inline constexpr int kExitNotStarted = 2;  // the shell could start nothing at all

// Everything a run needs from outside, passed in so that runs can be tested with fakes.
struct GatewayServices {
  platform::MessageSink* messages = nullptr;
  platform::Shell* shell = nullptr;
  std::function<std::unique_ptr<platform::XmlDocument>()> create_document;
  std::string option_file_path;
  std::string decimal_separator = ".";
  std::optional<std::string> windir;  // the `windir` environment variable
  // Shows the option dialog and returns the run's exit status once it is closed.
  std::function<int()> show_option_dialog;
  // Shows the place card for a location when the option file asks at each link, and returns
  // the run's exit status once it closes; nullopt when no card can be shown (no display
  // answers): the request then runs as if the file did not ask.
  std::function<std::optional<int>(const Location& location)> choose_map;
  // The traces of earlier starts (gateway/start_chain_check.h); none: every start is taken as the
  // first.
  std::shared_ptr<platform::StartChain> start_chain;
};

int RunGateway(std::string_view argument_text, const GatewayServices& services);

// The command line that `location` opens: the active option of the option file at `path`,
// loaded into `document` (fresh, used for this load only), expanded for the location.
struct ExpandedCommand {
  OptionLoadError error = OptionLoadError::kNone;
  std::string command_line;  // set when error is kNone
};
ExpandedCommand ExpandActiveOption(const Location& location, platform::XmlDocument& document,
                                   const std::string& path, std::string_view decimal_separator);

// The scheme of a command line that is a link ("tolvex" for " TolVex:35,139"), in lower case;
// empty when the line is none. The line is percent-decoded once and may begin with blanks and a
// double quote, so that no spelling of a link slips past.
std::string LinkSchemeOf(std::string_view command_line);

// True when handing `command_line` to the shell would start this program again: it is a link of
// this program's own scheme, or of one whose registered handler is this program.
bool WouldStartThisProgram(std::string_view command_line, platform::Shell& shell);
// The refusal of a command that starts this program again. `handles_its_scheme`: this program
// is the handler of the command's scheme, which the message then names as the reason (as
// WouldStartThisProgram found it); false where the command comes back some other way.
std::string SelfStartMessage(std::string_view command_line, bool handles_its_scheme = true);

// Hands a command line to the shell, working directory `windir` ("" when unset).
platform::ShellOutcome LaunchCommand(platform::Shell& shell, std::string_view command_line,
                                     const std::optional<std::string>& windir);

// Opens `option`'s command for `location` exactly as a request with that option active does:
// expands it, refuses a command that would start this program again, hands it to the shell and
// says what went wrong through services.messages. Returns the run's exit status.
int OpenLocation(const Location& location, const CommandOption& option,
                 const GatewayServices& services);

// Opens manual.htm from the program directory; the result is not acted on.
void OpenManual(platform::Shell& shell, const std::string& manual_path);

}  // namespace tolvex
