// TolvexGateway.exe: the handler of TolVex: links on Windows.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "dialog/frm_option.h"
#include "dialog/place_card.h"
#include "dialog/win32/option_window_win32.h"
#include "dialog/win32/place_card_win32.h"
#include "gateway/gateway.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/win32/com_win32.h"
#include "platform/win32/shell_win32.h"
#include "services/system_services.h"
#include "services/window_services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tolvex;
  // The shell's handlers and MSXML are COM objects; this thread is their apartment.
  const platform::win32::ComApartment apartment;
  const auto messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();

  GatewayServices services = SystemGatewayServices(*messages, *shell);
  // The dialog opens only manual.htm beside the program, whose folder may be named outside the
  // ANSI code page: it takes the shell that hands paths over in UTF-16.
  const auto document_shell = platform::win32::CreateDocumentShell();
  services.show_option_dialog = [&] {
    win32::OptionWindow window(instance);
    FrmOptionServices dialog = SystemOptionServices(services);
    dialog.shell = document_shell.get();
    dialog.launch_shell = shell.get();  // "&Try" opens a command line as a request does
    FrmOption logic(window, std::move(dialog));
    return window.Run(logic);
  };
  // The option file asks at each link: the place card lets the user choose the map. Windows
  // always has a desktop to show it on; only a window that cannot be created lets the request
  // run as if the file did not ask.
  const std::string argument = platform::ArgumentText(0, nullptr);
  // The card's Place box holds the link, or the text given to "open".
  const auto run_card = [&](std::optional<Location> location,
                            std::string text) -> std::optional<int> {
    win32::PlaceCardWindow window(instance);
    FrmPlaceCard logic(window,
                       SystemPlaceCardServices(services, std::move(location), std::move(text)));
    if (window.Run(logic) != 0) return std::nullopt;
    return logic.exit_status();
  };
  services.choose_map = [&](const Location& location) { return run_card(location, argument); };
  // "open [TEXT]" asks for the place card by hand; any other argument is a link.
  constexpr std::string_view kOpenCommand = "open";
  if (argument == kOpenCommand || argument.starts_with("open ")) {
    const std::string text = argument.substr(std::min(argument.size(), kOpenCommand.size() + 1));
    if (const auto status = run_card(std::nullopt, text)) return *status;
    return 1;  // no window could be created: nothing was opened
  }
  return RunGateway(argument, services);
}
