#include "gateway/gateway.h"

#include "gateway/command_template.h"
#include "gateway/message_text.h"
#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "gateway/request.h"
#include "gateway/start_chain_check.h"
#include "platform/text.h"

namespace tolvex {
namespace {

// Schemes that only browsers and mail programs handle: asking the system for their handler
// would slow down the common request for nothing.
bool IsWebScheme(std::string_view scheme) {
  return scheme == "http" || scheme == "https" || scheme == "file" || scheme == "ftp" ||
         scheme == "mailto";
}

// "TolVex": the scheme of this program's own links, letter case ignored.
constexpr std::string_view kOwnLinkScheme = kLinkPrefix.substr(0, kLinkPrefix.size() - 1);

std::string NotStartedMessage(const platform::ShellOutcome& outcome, std::string_view command) {
  if (outcome.program.empty()) return "nothing to open: " + outcome.reason;
  return QuotedMessage("cannot start ", outcome.program) + QuotedMessage(" to open ", command) +
         ": " + outcome.reason;
}

}  // namespace

std::string LinkSchemeOf(std::string_view command_line) {
  const std::string decoded = PercentDecode(command_line);
  std::string_view text = Trim(decoded, kBlanks);
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  std::string scheme(UriSchemeOf(text));
  for (char& c : scheme) c = AsciiLower(c);
  return scheme;
}

bool WouldStartThisProgram(std::string_view command_line, platform::Shell& shell) {
  const std::string scheme = LinkSchemeOf(command_line);
  if (scheme.empty() || IsWebScheme(scheme)) return false;
  return EqualsIgnoringAsciiCase(scheme, kOwnLinkScheme) || shell.SchemeOpensThisProgram(scheme);
}

std::string SelfStartMessage(std::string_view command_line, bool handles_its_scheme) {
  std::string message =
      QuotedMessage("The active option's command would start TolvexGateway again: ", command_line);
  // Another scheme came back because the user made this program its handler (geo: links,
  // typically): the option that hands such links on cannot be the active one then.
  const std::string scheme = LinkSchemeOf(command_line);
  if (handles_its_scheme && !scheme.empty() && !EqualsIgnoringAsciiCase(scheme, kOwnLinkScheme)) {
    message += " (TolvexGateway handles " + QuoteForMessage(scheme) + ": links)";
  }
  return message;
}

platform::ShellOutcome LaunchCommand(platform::Shell& shell, std::string_view command_line,
                                     const std::optional<std::string>& windir) {
  return shell.Open(command_line, windir.value_or(std::string()));
}

void OpenManual(platform::Shell& shell, const std::string& manual_path) {
  shell.Open(manual_path, std::nullopt);
}

ExpandedCommand ExpandActiveOption(const Location& location, platform::XmlDocument& document,
                                   const std::string& path, std::string_view decimal_separator) {
  const ActiveOption active = LoadActiveOption(document, path);
  if (active.error != OptionLoadError::kNone) return {active.error, {}};
  return {OptionLoadError::kNone,
          ExpandCommandTemplate(location, active.option, decimal_separator)};
}

int OpenLocation(const Location& location, const CommandOption& option,
                 const GatewayServices& services) {
  const std::string command_line =
      ExpandCommandTemplate(location, option, services.decimal_separator);
  // The link would come back here, and from here go out again: a chain without end.
  if (WouldStartThisProgram(command_line, *services.shell)) {
    services.messages->ShowError(SelfStartMessage(command_line, true), kProgramTitle);
    return kExitMessage;
  }
  // A command that hands the link back through another program (xdg-open, a shell, a batch
  // file) is seen only by its effect: the same location starting again and again.
  if (services.start_chain != nullptr) {
    const bool may_come_back = !IsWebScheme(LinkSchemeOf(command_line));
    const ChainVerdict chain =
        CheckStartChain(*services.start_chain, location.geocode, may_come_back);
    if (chain.refuse) {
      // Seen only by its effect: this program is not the handler of the command's scheme (it
      // would have been refused above), so the message names no scheme as handled here.
      if (chain.say_so) {
        services.messages->ShowError(SelfStartMessage(command_line, false), kProgramTitle);
      }
      return kExitMessage;
    }
  }
  const auto outcome = LaunchCommand(*services.shell, command_line, services.windir);
  if (outcome.result == platform::ShellResult::kHandedOver) return kExitHandedOver;
  // Where the system shows no error of its own, the user who clicked a link must still learn
  // that nothing opened.
  if (!outcome.reason.empty()) {
    services.messages->ShowError(NotStartedMessage(outcome, command_line), kProgramTitle);
  }
  return kExitNotStarted;
}

int RunGateway(std::string_view argument_text, const GatewayServices& services) {
  const Request request = ClassifyArgument(argument_text, services.decimal_separator);
  switch (request.kind) {
    case RequestKind::kInvalidData:
      services.messages->ShowError(InvalidDataMessage(request.text), kProgramTitle);
      return kExitMessage;
    case RequestKind::kInvalidLocation:
      services.messages->ShowError(InvalidLocationMessage(request.text), kProgramTitle);
      return kExitMessage;
    case RequestKind::kOptionDialog:
      return services.show_option_dialog();
    case RequestKind::kLocation:
      break;
  }

  ActiveOption active;
  bool ask = false;
  {
    // The document lives for the load only; nothing holds the file afterwards. The choice to
    // ask is read from the same load, and only where a card could be shown.
    const auto document = services.create_document();
    active = LoadActiveOption(*document, services.option_file_path);
    ask = active.error == OptionLoadError::kNone && services.choose_map && AsksEachLink(*document);
  }
  if (active.error != OptionLoadError::kNone) {
    services.messages->ShowError(OptionLoadMessage(active.error), kProgramTitle);
    return kExitMessage;
  }
  if (ask) {
    // No display answering: the request goes on as if the file did not ask.
    if (const std::optional<int> status = services.choose_map(request.location)) return *status;
  }
  return OpenLocation(request.location, active.option, services);
}

}  // namespace tolvex
