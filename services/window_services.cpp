#include "services/window_services.h"

#include <utility>

#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "platform/process.h"
#include "services/system_services.h"

namespace tolvex {

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
                                             std::optional<Location> location,
                                             std::string place_text) {
  FrmPlaceCardServices card;
  card.location = std::move(location);
  card.place_text = std::move(place_text);
  card.gateway = &services;
  card.create_document = services.create_document;
  card.save = SystemOptionSaveServices(services.option_file_path);
  return card;
}

}  // namespace tolvex
