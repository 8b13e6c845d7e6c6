// tolvexgateway: the handler of TolVex: links on Linux.
#include "dialog/posix/ui_client.h"
#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "platform/file_replace.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/xml_document.h"

int main(int argc, char** argv) {
  using namespace tolvex;
  const auto text_messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();
  // The UI module (Qt) is loaded only for the option dialog or a message box.
  UiLoader ui(platform::PathBesideProgram(kUiModuleFileName));
  GraphicalMessageSink messages(*text_messages, ui);

  GatewayServices services;
  services.messages = &messages;
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
    return ShowOptionDialog(ui, std::move(dialog));
  };
  return RunGateway(platform::ArgumentText(argc, argv), services);
}
