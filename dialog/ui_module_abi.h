// The C boundary between the gateway and its UI module (tolvex_ui.so). The gateway never links
// a window toolkit: it loads the module with dlopen() only when it has a window or a message
// box to show, and talks to it through these plain structs and functions alone, so that
// neither side depends on the other's C++ types or runtime (the gateway links its C++ runtime
// statically, the module uses the toolkit's shared one).
//
//   gateway: FrmOption    <-> OptionView/OptionEvents adapters       <-> this ABI <-> Qt window
//            FrmMapEditor <-> MapEditorView/MapEditorEvents adapters <-> this ABI <-> Qt window
//            FrmPlaceCard <-> PlaceCardView/PlaceCardEvents adapters <-> this ABI <-> Qt window
#pragma once

#include <cstddef>

#include "dialog/form_fields.h"
#include "dialog/window_events.h"

extern "C" {

// Raised whenever anything below changes; the gateway refuses a module of another version.
// 6: the event enums are expanded from dialog/window_events.h (same names and values).
// 7: choose_item takes TolvexUiCatalogueRows (id and area) instead of tab-joined texts, and
//    TolvexUiCardForm carries the fields of dialog/form_fields.h by kind (texts, yes-or-no
//    fields, lists each with its own count, then the selected map).
#define TOLVEX_UI_ABI_VERSION 7u

// The module's only exported symbol: a function returning its TolvexUiModule.
#define TOLVEX_UI_MODULE_SYMBOL "tolvex_ui_module"

// UTF-8 text, not necessarily terminated.
struct TolvexUiText {
  const char* data;
  size_t size;
};

// Everything the option window shows (OptionForm in dialog/option_view.h): the list of
// GISoptions, the Maps tab's list (an area for each id), its picked row and check box, then one
// text for each of TOLVEX_OPTION_FORM_TEXTS (dialog/form_fields.h), in its order. The texts belong
// to whoever passes the struct and live until the call that carries it returns.
struct TolvexUiForm {
  const TolvexUiText* ids;
  size_t id_count;
  const TolvexUiText* areas;
  size_t area_count;
  int map_row;  // -1: no row picked
  int ask;      // nonzero: "Ask which map to use for each &link" is checked
#define TOLVEX_UI_FORM_TEXT(field, control) TolvexUiText field;
  TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
};

// What the option window reports: TOLVEX_UI_LOAD, _PICK, ... as dialog/window_events.h lists.
enum TolvexUiEvent {
#define TOLVEX_UI_EVENT(handler, name, button) TOLVEX_UI_##name,
  TOLVEX_OPTION_EVENTS(TOLVEX_UI_EVENT)
#undef TOLVEX_UI_EVENT
};

// The map editor (MapEditorForm in dialog/map_editor.h): the map's fields and the preview,
// one text for each of TOLVEX_EDITOR_FORM_TEXTS (dialog/form_fields.h), in its order.
struct TolvexUiEditorForm {
#define TOLVEX_UI_EDITOR_TEXT(field, member) TolvexUiText field;
  TOLVEX_EDITOR_FORM_TEXTS(TOLVEX_UI_EDITOR_TEXT)
#undef TOLVEX_UI_EDITOR_TEXT
};

// What the map editor reports: TOLVEX_UI_EDITOR_LOAD, ... as dialog/window_events.h lists.
enum TolvexUiEditorEvent {
#define TOLVEX_UI_EDITOR_EVENT(handler, name, button) TOLVEX_UI_EDITOR_##name,
  TOLVEX_EDITOR_EVENTS(TOLVEX_UI_EDITOR_EVENT)
#undef TOLVEX_UI_EDITOR_EVENT
};

// The module's map editor dialog, opaque to the gateway.
struct TolvexUiEditor;

struct TolvexUiEditorOps {
  void (*show)(TolvexUiEditor* editor, const TolvexUiEditorForm* form);
  void (*read)(TolvexUiEditor* editor, void (*receive)(void*, const TolvexUiEditorForm*),
               void* context);
  void (*show_error)(TolvexUiEditor* editor, TolvexUiText text, TolvexUiText title);
  // Closes the dialog; TOLVEX_UI_EDITOR_UNLOAD follows.
  void (*close)(TolvexUiEditor* editor);
};

using TolvexUiEditorHandler = void (*)(void* context, int event, TolvexUiEditor* editor,
                                       const TolvexUiEditorOps* ops);

// The place card (PlaceCardForm in dialog/place_card.h): the fields of dialog/form_fields.h in
// its order, the texts (the Place box, its message, the place's formats), the yes-or-no fields
// (nonzero: yes), the lists (the maps, their areas, the copy items' labels), each with its count;
// then the selected map's index.
struct TolvexUiCardForm {
#define TOLVEX_UI_CARD_TEXT(field, control) TolvexUiText field;
  TOLVEX_CARD_FORM_TEXTS(TOLVEX_UI_CARD_TEXT)
#undef TOLVEX_UI_CARD_TEXT
#define TOLVEX_UI_CARD_FLAG(field, initial) int field;
  TOLVEX_CARD_FORM_FLAGS(TOLVEX_UI_CARD_FLAG)
#undef TOLVEX_UI_CARD_FLAG
#define TOLVEX_UI_CARD_LIST(field) \
  const TolvexUiText* field;       \
  size_t field##_count;
  TOLVEX_CARD_FORM_LISTS(TOLVEX_UI_CARD_LIST)
#undef TOLVEX_UI_CARD_LIST
  size_t selected;
};

// What the place card reports: TOLVEX_UI_CARD_LOAD, ... as dialog/window_events.h lists; an
// event whose third column there is ITEM carries the copy item's index.
enum TolvexUiCardEvent {
#define TOLVEX_UI_CARD_EVENT(handler, name, param, button) TOLVEX_UI_CARD_##name,
  TOLVEX_CARD_EVENTS(TOLVEX_UI_CARD_EVENT)
#undef TOLVEX_UI_CARD_EVENT
};

// The module's place card window, opaque to the gateway.
struct TolvexUiCard;

struct TolvexUiCardOps {
  void (*show)(TolvexUiCard* card, const TolvexUiCardForm* form);
  void (*read)(TolvexUiCard* card, void (*receive)(void*, const TolvexUiCardForm*), void* context);
  void (*show_error)(TolvexUiCard* card, TolvexUiText text, TolvexUiText title);
  // Puts the text on the clipboard.
  void (*copy_text)(TolvexUiCard* card, TolvexUiText text);
  // Closes the card; TOLVEX_UI_CARD_UNLOAD follows.
  void (*close)(TolvexUiCard* card);
  // Hands the clipboard's text to `receive` ("" when it holds none).
  void (*clipboard_text)(TolvexUiCard* card, void (*receive)(void*, TolvexUiText), void* context);
};

using TolvexUiCardHandler = void (*)(void* context, int event, size_t item, TolvexUiCard* card,
                                     const TolvexUiCardOps* ops);

// A row of the catalogue chooser (CatalogueRow in dialog/option_view.h).
struct TolvexUiCatalogueRow {
  TolvexUiText id;
  TolvexUiText area;
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
  // Creates the map editor modal over the window, sends TOLVEX_UI_EDITOR_LOAD, shows it and
  // returns once it has closed and TOLVEX_UI_EDITOR_UNLOAD was sent.
  void (*run_map_editor)(TolvexUiWindow* window, TolvexUiEditorHandler handler, void* context);
  // A modal list over the window to pick one of `rows` from; the index picked, or -1 when
  // cancelled.
  ptrdiff_t (*choose_item)(TolvexUiWindow* window, TolvexUiText title,
                           const TolvexUiCatalogueRow* rows, size_t row_count);
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
  // Creates the place card, sends TOLVEX_UI_CARD_LOAD, shows it centred and returns once it has
  // closed and TOLVEX_UI_CARD_UNLOAD was sent: 0, or nonzero when no window could be shown
  // (then no event was sent).
  int (*run_place_card)(TolvexUiCardHandler handler, void* context);
  // Nonzero when text this module put on the clipboard would be lost with the process: it still
  // owns the clipboard on an X11 display where no clipboard manager takes copies over.
  int (*clipboard_needs_owner)();
  // Keeps serving the clipboard until another program takes it over or the display goes;
  // returns at once when clipboard_needs_owner() is 0.
  void (*serve_clipboard)();
  // Ends the toolkit; called once before the program exits.
  void (*shut_down)();
};

using TolvexUiModuleEntry = const TolvexUiModule* (*)();

}  // extern "C"
