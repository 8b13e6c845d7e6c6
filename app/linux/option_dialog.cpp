#include "app/linux/option_dialog.h"

#include <memory>
#include <string>
#include <utility>

#include "app/linux/module_option_view.h"
#include "gateway/gateway.h"
#include "gateway/message_text.h"
#include "platform/message.h"

namespace tolvex {
namespace {

struct DialogRun {
  ModuleOptionView view;
  std::unique_ptr<OptionEvents> logic;
};

// The module's events, handed to the logic over a view bound to the window that sent them.
void HandleEvent(void* context, int event, TolvexUiWindow* window, const TolvexUiWindowOps* ops) {
  auto& run = *static_cast<DialogRun*>(context);
  run.view.Bind(window, ops);
  OptionEvents& logic = *run.logic;
  switch (event) {
    case TOLVEX_UI_LOAD:
      return logic.OnLoad();
    case TOLVEX_UI_PICK:
      return logic.OnPick();
    case TOLVEX_UI_OK:
      return logic.OnOk();
    case TOLVEX_UI_CANCEL:
      return logic.OnCancel();
    case TOLVEX_UI_HELP:
      return logic.OnHelp();
    case TOLVEX_UI_UNLOAD:
      return logic.OnUnload();
    case TOLVEX_UI_NEW_MAP:
      return logic.OnNewMap();
    case TOLVEX_UI_EDIT_MAP:
      return logic.OnEditMap();
    case TOLVEX_UI_DUPLICATE_MAP:
      return logic.OnDuplicateMap();
    case TOLVEX_UI_DELETE_MAP:
      return logic.OnDeleteMap();
    case TOLVEX_UI_CATALOGUE:
      return logic.OnCatalogue();
    case TOLVEX_UI_ASK_CHANGE:
      return logic.OnAskChange();
    default:
      return;
  }
}

}  // namespace

int ShowOptionDialog(UiLoader& ui, FrmOptionServices services) {
  UiModule* module = ui.Get();
  if (module == nullptr && !ui.failure().empty()) {
    // A display is named but the window cannot come: the reason is the module, not the display.
    platform::WriteToStandardError(kProgramTitle,
                                   "the option window cannot be shown: " + ui.failure());
    return kExitMessage;
  }
  DialogRun run;
  run.logic = std::make_unique<FrmOption>(run.view, std::move(services));
  const int failure =
      module == nullptr ? TOLVEX_UI_NO_DISPLAY : module->RunOptionDialog(HandleEvent, &run);
  if (failure == TOLVEX_UI_NO_WAYLAND_PLUGIN) {
    platform::WriteToStandardError(kProgramTitle,
                                   "the option window cannot be shown: Qt's Wayland plugin is not "
                                   "installed (qt6-wayland)");
    return kExitMessage;
  }
  if (failure != 0) {
    platform::WriteToStandardError(kProgramTitle, "no display is available for the option dialog");
    return kExitMessage;
  }
  return kExitHandedOver;
}

}  // namespace tolvex
