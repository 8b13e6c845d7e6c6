// tolvexgateway: the handler of TolVex: links on Linux.
#include "app/linux/graphical_message_sink.h"
#include "app/linux/option_dialog.h"
#include "app/linux/place_card.h"
#include "app/linux/ui_module_loader.h"
#include "app/system_services.h"
#include "gateway/gateway.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"

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
  services.choose_map = [&](const Location& location) {
    return ChooseMapOnCard(ui, SystemPlaceCardServices(services, location));
  };
  return RunGateway(platform::ArgumentText(argc, argv), services);
}
