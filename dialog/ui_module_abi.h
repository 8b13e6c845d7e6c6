// The C boundary between the gateway and its UI module (tolvex_ui.so). The gateway never links
// a window toolkit: it loads the module with dlopen() only when it has a window or a message
// box to show, and talks to it through these plain structs and functions alone, so that
// neither side depends on the other's C++ types or runtime (the gateway links its C++ runtime
// statically, the module uses the toolkit's shared one).
//
//   gateway: FrmOption <-> OptionView/OptionEvents adapters <-> this ABI <-> module: Qt window
#pragma once

#include <cstddef>

#include "dialog/option_form_fields.h"

extern "C" {

// Raised whenever anything below changes; the gateway refuses a module of another version.
#define TOLVEX_UI_ABI_VERSION 3u

// The module's only exported symbol: a function returning its TolvexUiModule.
#define TOLVEX_UI_MODULE_SYMBOL "tolvex_ui_module"

// UTF-8 text, not necessarily terminated.
struct TolvexUiText {
  const char* data;
  size_t size;
};

// Everything the option window shows (OptionForm in dialog/option_view.h): the list of
// GISoptions, then one text for each of dialog/option_form_fields.h, in its order. The texts
// belong to whoever passes the struct and live until the call that carries it returns.
struct TolvexUiForm {
  const TolvexUiText* ids;
  size_t id_count;
#define TOLVEX_UI_FORM_TEXT(field, control) TolvexUiText field;
  TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
};

// What the option window reports.
enum TolvexUiEvent {
  TOLVEX_UI_LOAD = 0,    // the window exists and is about to be shown
  TOLVEX_UI_PICK = 1,    // an entry of the list of GISoptions was picked
  TOLVEX_UI_OK = 2,      // cmdOK
  TOLVEX_UI_CANCEL = 3,  // cmdCancel or Esc
  TOLVEX_UI_HELP = 4,    // mnuHelp
  TOLVEX_UI_UNLOAD = 5   // the window has closed
};

// The module's option window, opaque to the gateway.
struct TolvexUiWindow;

// What the gateway may do to the window while it handles an event.
struct TolvexUiWindowOps {
  // Puts the form into the window's controls.
  void (*show)(TolvexUiWindow* window, const TolvexUiForm* form);
  // Calls receive(context, form) once with what the window's controls hold.
  void (*read)(TolvexUiWindow* window, void (*receive)(void*, const TolvexUiForm*), void* context);
  // A modal error box over the window; returns when dismissed.
  void (*show_error)(TolvexUiWindow* window, TolvexUiText text, TolvexUiText title);
  // Closes the window; TOLVEX_UI_UNLOAD follows.
  void (*close)(TolvexUiWindow* window);
};

// Why show_error or run_option_dialog could show nothing.
enum TolvexUiFailure {
  TOLVEX_UI_NO_DISPLAY = 1,         // no display answers
  TOLVEX_UI_NO_WAYLAND_PLUGIN = 2,  // a Wayland display answers, Qt's Wayland plugin is missing,
                                    // and no X display answers
};

using TolvexUiEventHandler = void (*)(void* context, int event, TolvexUiWindow* window,
                                      const TolvexUiWindowOps* ops);

struct TolvexUiModule {
  unsigned abi_version;
  // A modal critical box with one OK button; 0 once dismissed, nonzero when the toolkit could
  // not start (no display that answers).
  int (*show_error)(TolvexUiText text, TolvexUiText title);
  // Creates the option window, sends TOLVEX_UI_LOAD, shows it centred and returns once it has
  // closed and TOLVEX_UI_UNLOAD was sent: 0, or a TolvexUiFailure when no window could be
  // shown (then no event was sent).
  int (*run_option_dialog)(TolvexUiEventHandler handler, void* context);
  // Ends the toolkit; called once before the program exits.
  void (*shut_down)();
};

using TolvexUiModuleEntry = const TolvexUiModule* (*)();

}  // extern "C"
