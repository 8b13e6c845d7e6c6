#include "app/linux/ui_module_loader.h"

#include <dlfcn.h>

#include "app/linux/display_named.h"
#include "dialog/ui_module_form.h"
#include "gateway/message_text.h"

namespace tolvex {
namespace {

// The loader's text for the last failure, quoted as every message quotes a path.
std::string LoaderFailure() {
  const char* error = ::dlerror();
  if (error == nullptr) return "the module cannot be loaded";
  return QuotedMessage("", error);
}

}  // namespace

std::unique_ptr<UiModule> UiModule::Load(const std::string& path, std::string& failure) {
  // RTLD_LOCAL keeps the toolkit's symbols out of the program's namespace.
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    failure = LoaderFailure();
    return nullptr;
  }
  const auto entry =
      reinterpret_cast<TolvexUiModuleEntry>(::dlsym(handle, TOLVEX_UI_MODULE_SYMBOL));
  if (entry == nullptr) {
    failure = LoaderFailure();
    ::dlclose(handle);
    return nullptr;
  }
  const TolvexUiModule* module = entry();
  if (module == nullptr || module->abi_version != TOLVEX_UI_ABI_VERSION) {
    failure = "the module is of another version";
    ::dlclose(handle);
    return nullptr;
  }
  return std::unique_ptr<UiModule>(new UiModule(*module));
}

UiModule::~UiModule() { entry_.shut_down(); }

bool UiModule::ShowError(std::string_view text, std::string_view title) const {
  return entry_.show_error(UiText(text), UiText(title)) == 0;
}

int UiModule::RunOptionDialog(TolvexUiEventHandler handler, void* context) const {
  return entry_.run_option_dialog(handler, context);
}

bool UiModule::RunPlaceCard(TolvexUiCardHandler handler, void* context) const {
  return entry_.run_place_card(handler, context) == 0;
}

bool UiModule::ClipboardNeedsOwner() const { return entry_.clipboard_needs_owner() != 0; }

void UiModule::ServeClipboard() const { entry_.serve_clipboard(); }

UiModule* UiLoader::Get() {
  if (!tried_) {
    tried_ = true;
    if (DisplayNamed()) module_ = UiModule::Load(module_path_, failure_);
  }
  return module_.get();
}

}  // namespace tolvex
