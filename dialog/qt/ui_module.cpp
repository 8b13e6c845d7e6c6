// tolvex_ui.so: the Qt side of the C boundary in dialog/ui_module_abi.h. The gateway loads it
// only to show the option window or a message box, so that location requests never pay for
// starting Qt.
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/qt/option_window.h"
#include "dialog/ui_module_abi.h"

namespace tolvex::qt {
namespace {

std::string_view View(TolvexUiText text) { return {text.data, text.size}; }
TolvexUiText Text(std::string_view text) { return {text.data(), text.size()}; }

// Qt ends the process when its platform plugin cannot start, so the plugins that the
// environment will pick are checked for first. Only a Wayland-only session can lack one
// (qt6-wayland is a separate package); an X display has the xcb plugin of Qt's base package.
bool PlatformPluginPresent() {
  if (std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr) return true;
  const QString platforms = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/";
  return QFileInfo::exists(platforms + "libqwayland-generic.so") ||
         QFileInfo::exists(platforms + "libqwayland-egl.so");
}

int argc_for_qt = 1;
char program_name[] = "tolvexgateway";
char* argv_for_qt[] = {program_name, nullptr};
std::unique_ptr<QApplication> application;

QApplication* EnsureApplication() {
  if (application == nullptr && PlatformPluginPresent()) {
    application = std::make_unique<QApplication>(argc_for_qt, argv_for_qt);
    // The option window's own unload ends its loop; a message box closing must not.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));
  }
  return application.get();
}

OptionWindow* WindowOf(TolvexUiWindow* window) { return reinterpret_cast<OptionWindow*>(window); }

void SetText(TolvexUiWindow* window, int field, TolvexUiText text) {
  OptionView& view = *WindowOf(window);
  switch (field) {
    case TOLVEX_UI_VERSION_LINE:
      return view.SetVersionLine(View(text));
    case TOLVEX_UI_COPYRIGHT_NOTICE:
      return view.SetCopyrightNotice(View(text));
    case TOLVEX_UI_SELECTED_TEXT:
      return view.SetSelectedText(View(text));
    case TOLVEX_UI_COMMAND_TEMPLATE:
      return view.SetCommandTemplate(View(text));
    case TOLVEX_UI_DATUM:
      return view.SetDatum(View(text));
    case TOLVEX_UI_AREA:
      return view.SetArea(View(text));
    default:
      return;
  }
}

void SetOptionIds(TolvexUiWindow* window, const TolvexUiText* ids, size_t count) {
  std::vector<std::string> list;
  list.reserve(count);
  for (size_t i = 0; i < count; ++i) list.emplace_back(View(ids[i]));
  WindowOf(window)->SetOptionIds(list);
}

void GetSelectedText(TolvexUiWindow* window, void (*receive)(void*, TolvexUiText), void* context) {
  const std::string text = WindowOf(window)->SelectedText();
  receive(context, Text(text));
}

void ShowErrorOver(TolvexUiWindow* window, TolvexUiText text, TolvexUiText title) {
  WindowOf(window)->ShowError(View(text), View(title));
}

void CloseWindow(TolvexUiWindow* window) { WindowOf(window)->Close(); }

constexpr TolvexUiWindowOps kWindowOps = {SetText, SetOptionIds, GetSelectedText, ShowErrorOver,
                                          CloseWindow};

// Hands the window's events to the gateway's handler across the C boundary.
class EventBridge final : public OptionEvents {
 public:
  EventBridge(TolvexUiEventHandler handler, void* context, OptionWindow& window)
      : handler_(handler), context_(context), window_(window) {}
  void OnLoad() override { Send(TOLVEX_UI_LOAD); }
  void OnPick() override { Send(TOLVEX_UI_PICK); }
  void OnOk() override { Send(TOLVEX_UI_OK); }
  void OnCancel() override { Send(TOLVEX_UI_CANCEL); }
  void OnHelp() override { Send(TOLVEX_UI_HELP); }
  void OnUnload() override { Send(TOLVEX_UI_UNLOAD); }

 private:
  void Send(int event) {
    handler_(context_, event, reinterpret_cast<TolvexUiWindow*>(&window_), &kWindowOps);
  }
  TolvexUiEventHandler handler_;
  void* context_;
  OptionWindow& window_;
};

int ShowError(TolvexUiText text, TolvexUiText title) {
  if (EnsureApplication() == nullptr) return 1;
  ShowCriticalMessage(nullptr, View(text), View(title));
  return 0;
}

int RunOptionDialog(TolvexUiEventHandler handler, void* context) {
  if (EnsureApplication() == nullptr) return 1;
  QEventLoop loop;
  OptionWindow window;
  EventBridge events(handler, context, window);
  window.on_unloaded = [&loop] { loop.quit(); };
  window.Open(events);
  if (!window.unloaded()) loop.exec();
  return 0;
}

void ShutDown() { application.reset(); }

constexpr TolvexUiModule kModule = {TOLVEX_UI_ABI_VERSION, ShowError, RunOptionDialog, ShutDown};

}  // namespace
}  // namespace tolvex::qt

extern "C" __attribute__((visibility("default"))) const TolvexUiModule* tolvex_ui_module(void) {
  return &tolvex::qt::kModule;
}
