// TolvexGateway.exe: the handler of TolVex: links on Windows.
#include <windows.h>

#include <optional>
#include <utility>

#include "app/system_services.h"
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
    OptionWindow window(instance);
    FrmOptionServices dialog = SystemOptionServices(services);
    dialog.shell = document_shell.get();
    dialog.launch_shell = shell.get();  // "&Try" opens a command line as a request does
    FrmOption logic(window, std::move(dialog));
    return window.Run(logic);
  };
  // The option file asks at each link: the place card lets the user choose the map. Windows
  // always has a desktop to show it on; only a window that cannot be created lets the request
  // run as if the file did not ask.
  services.choose_map = [&](const Location& location) -> std::optional<int> {
    PlaceCardWindow window(instance);
    FrmPlaceCardServices card;
    card.location = location;
    card.gateway = &services;
    card.create_document = services.create_document;
    card.save = SystemOptionSaveServices(services.option_file_path);
    FrmPlaceCard logic(window, std::move(card));
    if (window.Run(logic) != 0) return std::nullopt;
    return logic.exit_status();
  };
  return RunGateway(platform::ArgumentText(0, nullptr), services);
}
