// What each window reports to its logic, declared once: one line an event, in the order of the
// UI module's C enums (dialog/ui_module_abi.h), which number them from 0. From these lists come
// the logic's events interfaces (OptionEvents, MapEditorEvents, PlaceCardEvents), the C enums,
// the Qt module's bridges, the Linux program's dispatch of the module's events and the views'
// wiring of buttons to events. Adding an event is one line here, its handling in the logic and
// in the views whatever raises it (a button listed here needs nothing more).
// Plain preprocessor text, so that the C boundary's header can expand it as well.
//
//   X(handler, NAME, button): handler is the member of the events interface, NAME the C enum's
//   name after its prefix, button the control (dialog/option_layout.h, dialog/maps_layout.h,
//   dialog/map_editor_layout.h, dialog/place_card_layout.h) whose click alone raises it, 0 for
//   none. The place card's list has a column more, what its events carry, before the button.
#pragma once

// The option window (OptionEvents, TOLVEX_UI_*).
#define TOLVEX_OPTION_EVENTS(X)                                                                    \
  X(OnLoad, LOAD, 0) /* the window exists and is about to be shown for the first time */           \
  X(OnPick, PICK, 0) /* an entry of the list of `GISoptions` was picked */                         \
  X(OnOk, OK, option_layout::kOkButton)             /* `cmdOK` */                                  \
  X(OnCancel, CANCEL, option_layout::kCancelButton) /* `cmdCancel` or Esc */                       \
  X(OnHelp, HELP, 0)                                /* `mnuHelp` */                                \
  X(OnUnload, UNLOAD, 0) /* the window has closed, whatever closed it */                           \
  /* The Maps tab's buttons and check box; map_row of Read() says which option they act on. */     \
  X(OnNewMap, NEW_MAP, maps_layout::kNewButton)                   /* "&New…" */                  \
  X(OnEditMap, EDIT_MAP, maps_layout::kEditButton)                /* or a double-click on a row */ \
  X(OnDuplicateMap, DUPLICATE_MAP, maps_layout::kDuplicateButton) /* "D&uplicate" */               \
  X(OnDeleteMap, DELETE_MAP, maps_layout::kDeleteButton)          /* "&Delete" */                  \
  X(OnCatalogue, CATALOGUE, maps_layout::kCatalogueButton)        /* "From &catalogue…" */       \
  X(OnAskChange, ASK_CHANGE, maps_layout::kAskBox) /* "Ask which map to use for each &link" */

// The map editor (MapEditorEvents, TOLVEX_UI_EDITOR_*).
#define TOLVEX_EDITOR_EVENTS(X)                                                      \
  X(OnLoad, LOAD, 0)     /* the dialog exists and is about to be shown */            \
  X(OnChange, CHANGE, 0) /* a field was typed into or picked: the preview follows */ \
  X(OnTry, TRY, map_editor_layout::kTryButton) /* "&Try" */                          \
  X(OnOk, OK, map_editor_layout::kOkButton)                                          \
  X(OnCancel, CANCEL, map_editor_layout::kCancelButton) /* Cancel or Esc */          \
  X(OnUnload, UNLOAD, 0)                                /* the dialog has closed */

// The place card (PlaceCardEvents, TOLVEX_UI_CARD_*): X(handler, NAME, param, button). Its
// third column says what the event carries: NONE, or ITEM, the index of a copy item (into
// PlaceCardForm::copy_labels), which the copy button's menu raises (a button alone raises only
// an event that carries NONE).
#define TOLVEX_CARD_EVENTS(X)                                                                  \
  X(OnLoad, LOAD, NONE, 0)                              /* before the card is first shown */   \
  X(OnOpen, OPEN, NONE, place_card_layout::kOpenButton) /* Enter, a double-click or "&Open" */ \
  X(OnCopy, COPY, ITEM, 0)                              /* a copy item */                      \
  X(OnCopyCoordinates, COPY_COORDINATES, NONE, 0)       /* Ctrl+C */                           \
  X(OnCopyMapLink, COPY_MAP_LINK, NONE, 0) /* Ctrl+Shift+C: the selected map's line */         \
  X(OnCancel, CANCEL, NONE, place_card_layout::kCancelButton) /* Esc or the close button */    \
  X(OnUnload, UNLOAD, NONE, 0)                                /* the window has closed */      \
  X(OnPlaceChange, PLACE_CHANGE, NONE, 0)                     /* the Place box's text changed */

// By a card event's third column: what its handler takes (PARAM), is passed (ARG) and what the
// C boundary's `item` carries (ITEM: 0 when nothing).
#define TOLVEX_CARD_EVENT_PARAM_NONE
#define TOLVEX_CARD_EVENT_PARAM_ITEM std::size_t item
#define TOLVEX_CARD_EVENT_ARG_NONE
#define TOLVEX_CARD_EVENT_ARG_ITEM item
#define TOLVEX_CARD_EVENT_ITEM_NONE 0
#define TOLVEX_CARD_EVENT_ITEM_ITEM item
