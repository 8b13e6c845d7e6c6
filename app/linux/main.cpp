// tolvexgateway: the handler of TolVex: links on Linux.
#include <string>
#include <string_view>
#include <vector>

#include "app/linux/card_process.h"
#include "app/linux/graphical_message_sink.h"
#include "app/linux/option_dialog.h"
#include "app/linux/ui_module_loader.h"
#include "gateway/gateway.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "services/system_services.h"
#include "services/window_services.h"

namespace {

// "open [TEXT]" asks for the place card by hand; any other argument is a link.
constexpr std::string_view kOpenCommand = "open";

}  // namespace

int main(int argc, char** argv) {
  using namespace tolvex;
  const auto text_messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();
  // The UI module (Qt) is loaded only for a window or a message box.
  UiLoader ui(platform::PathBesideProgram(kUiModuleFileName));
  GraphicalMessageSink messages(*text_messages, ui);

  GatewayServices services = SystemGatewayServices(messages, *shell);
  services.show_option_dialog = [&] {
    return ShowOptionDialog(ui, SystemOptionServices(services));
  };
  const std::string argument = platform::ArgumentText(argc, argv);
  services.choose_map = [&](const Location& location) {
    // The card's Place box holds the link.
    return ChooseMapOnCard(ui, SystemPlaceCardServices(services, location, argument));
  };
  if (argc >= 2 && argv[1] == kOpenCommand) {
    const std::string text = JoinWithSpaces(std::vector<std::string_view>(argv + 2, argv + argc));
    if (const auto status =
            ChooseMapOnCard(ui, SystemPlaceCardServices(services, std::nullopt, text))) {
      return *status;
    }
    platform::WriteToStandardError(kProgramTitle, "the place card needs a display");
    return 1;
  }
  return RunGateway(argument, services);
}
