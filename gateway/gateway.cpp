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

int RunGateway(std::string_view argument_text, const GatewayServices& services) {
  Request request = ClassifyArgument(argument_text, services.decimal_separator);
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
  {
    // The document lives for the load only; nothing holds the file afterwards.
    const auto document = services.create_document();
    active = LoadActiveOption(*document, services.option_file_path);
  }
  if (active.error != OptionLoadError::kNone) {
    services.messages->ShowError(OptionLoadMessage(active.error), kProgramTitle);
    return kExitMessage;
  }
  RequestState& state = request.state;
  state.command_template = std::move(active.command_template);
  state.datum_name = std::move(active.datum_name);
  const std::string command_line = ExpandCommandTemplate(state, services.decimal_separator);
  const auto result = LaunchCommand(*services.shell, command_line, services.windir);
  return result == platform::ShellResult::kHandedOver ? kExitHandedOver : kExitNotStarted;
}

}  // namespace tolvex
