#include "app/linux/ui_client.h"

#include <dlfcn.h>

#include <cstdlib>

#include "dialog/ui_module_form.h"
#include "gateway/gateway.h"
#include "platform/message.h"

namespace tolvex {
namespace {

using platform::WriteToStandardError;

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// The OptionView that FrmOption talks to: each call crosses into the module's window. The
// window and its operations are bound afresh for every event.
class ModuleView final : public OptionView {
 public:
  void Bind(TolvexUiWindow* window, const TolvexUiWindowOps* ops) {
    window_ = window;
    ops_ = ops;
  }

  void Show(const OptionForm& form) override { ops_->show(window_, UiFormView(form).get()); }

  OptionForm Read() const override {
    OptionForm form;
    ops_->read(
        window_,
        [](void* context, const TolvexUiForm* received) {
          *static_cast<OptionForm*>(context) = OptionFormOf(*received);
        },
        &form);
    return form;
  }

  void ShowError(std::string_view text, std::string_view title) override {
    WriteToStandardError(kProgramTitle, text);
    ops_->show_error(window_, UiText(text), UiText(title));
  }

  void Close() override { ops_->close(window_); }

 private:
  TolvexUiWindow* window_ = nullptr;
  const TolvexUiWindowOps* ops_ = nullptr;
};

struct DialogRun {
  ModuleView view;
  std::unique_ptr<OptionEvents> logic;
};

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
    default:
      return;
  }
}

}  // namespace

bool DisplayNamed() {
  return Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("QT_QPA_PLATFORM");
}

std::unique_ptr<UiModule> UiModule::Load(const std::string& path) {
  // RTLD_LOCAL keeps the toolkit's symbols out of the program's namespace.
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  const auto entry =
      reinterpret_cast<TolvexUiModuleEntry>(::dlsym(handle, TOLVEX_UI_MODULE_SYMBOL));
  const TolvexUiModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr || module->abi_version != TOLVEX_UI_ABI_VERSION) {
    ::dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<UiModule>(new UiModule(*module));
}

UiModule::~UiModule() { entry_.shut_down(); }

bool UiModule::ShowError(std::string_view text, std::string_view title) const {
  return entry_.show_error(UiText(text), UiText(title)) == 0;
}

bool UiModule::RunOptionDialog(const LogicFactory& make_logic) const {
  DialogRun run;
  run.logic = make_logic(run.view);
  return entry_.run_option_dialog(HandleEvent, &run) == 0;
}

UiModule* UiLoader::Get() {
  if (!tried_) {
    tried_ = true;
    if (DisplayNamed()) module_ = UiModule::Load(module_path_);
  }
  return module_.get();
}

void GraphicalMessageSink::ShowError(std::string_view text, std::string_view title) {
  text_sink_.ShowError(text, title);
  if (UiModule* module = ui_.Get()) module->ShowError(text, title);
}

int ShowOptionDialog(UiLoader& ui, FrmOptionServices services) {
  UiModule* module = ui.Get();
  const bool shown = module != nullptr && module->RunOptionDialog([&](OptionView& view) {
    return std::make_unique<FrmOption>(view, std::move(services));
  });
  if (!shown) {
    WriteToStandardError(kProgramTitle, "no display is available for the option dialog");
    return kExitMessage;
  }
  return kExitHandedOver;
}

}  // namespace tolvex
