// Loading the UI module (tolvex_ui.so beside the program) with dlopen(), only when a window or
// a message box is to be shown. Nothing here links a window toolkit; the module does.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "dialog/ui_module_abi.h"

namespace tolvex {

inline constexpr std::string_view kUiModuleFileName = "tolvex_ui.so";

// A loaded UI module. It stays mapped until the process ends: a toolkit cannot be unloaded
// safely, and the process ends right after the dialog or the message anyway.
class UiModule {
 public:
  // Loads the module at `path`; null when it is missing, cannot be loaded, or speaks another
  // version of the boundary. Then `failure` says why, ready to follow a message's colon: the
  // loader's own text quoted (it names the path), or "the module is of another version".
  static std::unique_ptr<UiModule> Load(const std::string& path, std::string& failure);
  ~UiModule();
  UiModule(const UiModule&) = delete;
  UiModule& operator=(const UiModule&) = delete;

  // A modal critical box; false when the toolkit could not start.
  bool ShowError(std::string_view text, std::string_view title) const;

  // Runs the option window, sending its events to `handler`: 0 once it has closed, or a
  // TolvexUiFailure when no window could be shown (then no event was sent).
  int RunOptionDialog(TolvexUiEventHandler handler, void* context) const;

  // Runs the place card, sending its events to `handler`; false when no window could be shown
  // (then no event was sent).
  bool RunPlaceCard(TolvexUiCardHandler handler, void* context) const;

  // True when what the module copied would be lost with the process (see ServeClipboard).
  bool ClipboardNeedsOwner() const;
  // Serves the clipboard until another program takes it over; returns at once when nothing
  // needs it.
  void ServeClipboard() const;

 private:
  explicit UiModule(const TolvexUiModule& entry) : entry_(entry) {}
  const TolvexUiModule& entry_;
};

// Loads the module on first use, and only when a display is named.
class UiLoader {
 public:
  explicit UiLoader(std::string module_path) : module_path_(std::move(module_path)) {}
  // Null when no display is named or the module could not be loaded.
  UiModule* Get();
  // Why the module could not be loaded (see UiModule::Load); empty when it loaded or was not
  // tried.
  const std::string& failure() const { return failure_; }
  // Ends the module's toolkit, if it was loaded; it hands the clipboard to a clipboard manager
  // where one runs.
  void ShutDown() { module_.reset(); }

 private:
  std::string module_path_;
  bool tried_ = false;
  std::unique_ptr<UiModule> module_;
  std::string failure_;
};

}  // namespace tolvex
