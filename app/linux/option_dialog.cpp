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
#define TOLVEX_OPTION_EVENT(handler, name, button) \
  case TOLVEX_UI_##name:                           \
    return logic.handler();
    TOLVEX_OPTION_EVENTS(TOLVEX_OPTION_EVENT)
#undef TOLVEX_OPTION_EVENT
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
