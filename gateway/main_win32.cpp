// TolvexGateway.exe: the handler of TolVex: links on Windows.
#include <windows.h>

#include "dialog/frm_option.h"
#include "dialog/win32/option_window_win32.h"
#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "platform/file_replace.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/win32/com_win32.h"
#include "platform/xml_document.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tolvex;
  // The shell's handlers and MSXML are COM objects; this thread is their apartment.
  const platform::win32::ComApartment apartment;
  const auto messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();

  GatewayServices services;
  services.messages = messages.get();
  services.shell = shell.get();
  services.create_document = [] { return platform::CreateXmlDocument(); };
  services.option_file_path = platform::PathBesideProgram(kOptionFileName);
  services.decimal_separator = platform::UserDecimalSeparator();
  services.windir = platform::EnvironmentVariable("windir");
  services.show_option_dialog = [&] {
    FrmOptionServices dialog;
    dialog.create_document = services.create_document;
    dialog.shell = shell.get();
    dialog.option_file_path = services.option_file_path;
    dialog.manual_path = platform::PathBesideProgram(kManualFileName);
    dialog.replace_file = [](const std::string& path, std::string_view bytes) {
      return platform::ReplaceFileContents(path, bytes);
    };
    OptionWindow window(instance);
    FrmOption logic(window, std::move(dialog));
    return window.Run(logic);
  };
  return RunGateway(platform::ArgumentText(0, nullptr), services);
}
