// tolvexgateway: the handler of TolVex: links on Linux.
#include <iostream>

#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "platform/message.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/xml_document.h"

int main(int argc, char** argv) {
  using namespace tolvex;
  const auto messages = platform::CreateSystemMessageSink();
  const auto shell = platform::CreateSystemShell();

  GatewayServices services;
  services.messages = messages.get();
  services.shell = shell.get();
  services.create_document = [] { return platform::CreateXmlDocument(); };
  services.option_file_path = platform::PathBesideProgram(kOptionFileName);
  services.decimal_separator = platform::UserDecimalSeparator();
  services.windir = platform::EnvironmentVariable("windir");
  services.show_option_dialog = [] {
    std::cerr << kProgramTitle << ": the option dialog is not available in this build" << std::endl;
    return kExitMessage;
  };
  return RunGateway(platform::ArgumentText(argc, argv), services);
}
