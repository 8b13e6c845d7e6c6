#include "app/system_services.h"

#include "gateway/option_save.h"
#include "gateway/option_save_system.h"

#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "platform/file_replace.h"
#include "platform/process.h"
#include "platform/start_chain.h"
#include "platform/xml_document.h"

namespace tolvex {

GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell) {
  GatewayServices services;
  services.messages = &messages;
  services.shell = &shell;
  services.create_document = [] { return platform::CreateXmlDocument(); };
  services.option_file_path = platform::OptionFilePath(kOptionFileName);
  services.decimal_separator = platform::UserDecimalSeparator();
  services.windir = platform::EnvironmentVariable("windir");
  services.start_chain = platform::CreateSystemStartChain();
  return services;
}

FrmOptionServices SystemOptionServices(const GatewayServices& services) {
  FrmOptionServices dialog;
  dialog.create_document = services.create_document;
  dialog.shell = services.shell;
  dialog.manual_path = platform::PathBesideProgram(kManualFileName);
  dialog.save = SystemOptionSaveServices(services.option_file_path);
  dialog.catalogue_path = platform::PathBesideProgram(kCatalogueFileName);
  dialog.decimal_separator = services.decimal_separator;
  dialog.windir = services.windir;
  return dialog;
}

FrmPlaceCardServices SystemPlaceCardServices(const GatewayServices& services,
                                             const Location& location) {
  FrmPlaceCardServices card;
  card.location = location;
  card.gateway = &services;
  card.create_document = services.create_document;
  card.save = SystemOptionSaveServices(services.option_file_path);
  return card;
}

}  // namespace tolvex
