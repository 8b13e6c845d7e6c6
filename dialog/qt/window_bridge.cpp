#include "dialog/qt/window_bridge.h"

#include "dialog/ui_module_form.h"

namespace tolvex::qt {
namespace {

OptionWindow* WindowOf(TolvexUiWindow* window) { return reinterpret_cast<OptionWindow*>(window); }

void ShowForm(TolvexUiWindow* window, const TolvexUiForm* form) {
  WindowOf(window)->Show(OptionFormOf(*form));
}

void ReadForm(TolvexUiWindow* window, void (*receive)(void*, const TolvexUiForm*), void* context) {
  const OptionForm form = WindowOf(window)->Read();
  receive(context, UiFormView(form).get());
}

void ShowErrorOver(TolvexUiWindow* window, TolvexUiText text, TolvexUiText title) {
  WindowOf(window)->ShowError(UiView(text), UiView(title));
}

void CloseWindow(TolvexUiWindow* window) { WindowOf(window)->Close(); }

}  // namespace

constexpr TolvexUiWindowOps kWindowOps = {ShowForm, ReadForm, ShowErrorOver, CloseWindow};

void EventBridge::Send(int event) {
  handler_(context_, event, reinterpret_cast<TolvexUiWindow*>(&window_), &kWindowOps);
}

}  // namespace tolvex::qt
