// The gateway's side of the UI module (tolvex_ui.so beside the program): loading it only when
// a window or a message box is to be shown, graphical messages, and the option dialog.
// Nothing here links a window toolkit; the module does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "dialog/frm_option.h"
#include "dialog/option_view.h"
#include "dialog/ui_module_abi.h"
#include "platform/message.h"

namespace tolvex {

inline constexpr std::string_view kUiModuleFileName = "tolvex_ui.so";

// Whether the environment names a display at all (DISPLAY, WAYLAND_DISPLAY, or a Qt platform
// chosen with QT_QPA_PLATFORM). Without one the module is never loaded.
bool DisplayNamed();

// A loaded UI module. It stays mapped until the process ends: a toolkit cannot be unloaded
// safely, and the process ends right after the dialog or the message anyway.
class UiModule {
 public:
  // Loads the module at `path`; null when it is missing, cannot be loaded, or speaks another
  // version of the boundary.
  static std::unique_ptr<UiModule> Load(const std::string& path);
  ~UiModule();
  UiModule(const UiModule&) = delete;
  UiModule& operator=(const UiModule&) = delete;

  // A modal critical box; false when the toolkit could not start.
  bool ShowError(std::string_view text, std::string_view title) const;

  // Shows the option window, with the logic that `make_logic` builds over the window's view,
  // and returns once the window has closed. False when no window could be shown; then the
  // logic saw no event.
  using LogicFactory = std::function<std::unique_ptr<OptionEvents>(OptionView&)>;
  bool RunOptionDialog(const LogicFactory& make_logic) const;

 private:
  explicit UiModule(const TolvexUiModule& entry) : entry_(entry) {}
  const TolvexUiModule& entry_;
};

// Loads the module on first use, and only when a display is named.
class UiLoader {
 public:
  explicit UiLoader(std::string module_path) : module_path_(std::move(module_path)) {}
  UiModule* Get();

 private:
  std::string module_path_;
  bool tried_ = false;
  std::unique_ptr<UiModule> module_;
};

// Every message goes to `text_sink` (standard error) first, then, where the module can show
// one, into a message box.
class GraphicalMessageSink final : public platform::MessageSink {
 public:
  GraphicalMessageSink(platform::MessageSink& text_sink, UiLoader& ui)
      : text_sink_(text_sink), ui_(ui) {}
  void ShowError(std::string_view text, std::string_view title) override;

 private:
  platform::MessageSink& text_sink_;
  UiLoader& ui_;
};

// The `option` request: runs FrmOption in the module's window and returns the run's exit
// status; without a display or module it says so on standard error and returns kExitMessage.
int ShowOptionDialog(UiLoader& ui, FrmOptionServices services);

}  // namespace tolvex
