#include "gateway/gateway.h"

#include "gateway/command_template.h"
#include "gateway/option_store.h"
#include "gateway/request.h"

namespace tolvex {

platform::ShellResult LaunchCommand(platform::Shell& shell, std::string_view command_line,
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

  ExpandedCommand command;
  {
    // The document lives for the load only; nothing holds the file afterwards.
    const auto document = services.create_document();
    command = ExpandActiveOption(request.location, *document, services.option_file_path,
                                 services.decimal_separator);
  }
  if (command.error != OptionLoadError::kNone) {
    services.messages->ShowError(OptionLoadMessage(command.error), kProgramTitle);
    return kExitMessage;
  }
  const auto result = LaunchCommand(*services.shell, command.command_line, services.windir);
  return result == platform::ShellResult::kHandedOver ? kExitHandedOver : kExitNotStarted;
}

}  // namespace tolvex
