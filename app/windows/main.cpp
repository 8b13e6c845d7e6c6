// TolvexGateway.exe: the handler of TolVex: links on Windows.
#include <windows.h>

#include "app/system_services.h"
#include "dialog/frm_option.h"
#include "dialog/win32/option_window_win32.h"
#include "gateway/gateway.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/win32/com_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tolvex;
  // The shell's handlers and MSXML are COM objects; this thread is their apartment.
  const platform::win32::ComApartment apartment;
  const auto messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();

  GatewayServices services = SystemGatewayServices(*messages, *shell);
  services.show_option_dialog = [&] {
    OptionWindow window(instance);
    FrmOption logic(window, SystemOptionServices(services));
    return window.Run(logic);
  };
  return RunGateway(platform::ArgumentText(0, nullptr), services);
}
