// The windows' form fields, declared once: one line a field, in the order in which the UI
// module's C structs (dialog/ui_module_abi.h) carry them. From these lists come the forms'
// members (OptionForm, PlaceCardForm), the C structs, both sides' conversions between them
// (dialog/ui_module_form.h) and the tables of the boxes that show the texts (kFormTexts).
// Plain preprocessor text, so that the C boundary's header can expand it as well.
#pragma once

// The option form's texts (OptionForm in dialog/option_view.h, TolvexUiForm): X(field, control),
// `control` the id in dialog/option_layout.h of the control that shows it. The form's one list,
// the ids of the maps, is the drop-down list of the application box, whose text field is
// `selected`.
#define TOLVEX_OPTION_FORM_TEXTS(X)                                       \
  X(selected, kApplicationBox)  /* the application box's text field */    \
  X(command, kCommandBox)       /* the shown option's command template */ \
  X(datum, kDatumBox)           /* "tokyo" or "wgs84" */                  \
  X(area, kAreaBox)             /* the shown option's area */             \
  X(version_line, kVersionLine) /* the program's name and version */      \
  X(copyright_notice, kCopyrightLine)

// The map editor's texts (MapEditorForm in dialog/map_editor.h, TolvexUiEditorForm):
// X(field, member), `field` the C struct's member and `member` the form's.
#define TOLVEX_EDITOR_FORM_TEXTS(X)            \
  X(id, option.id)                             \
  X(area, option.area)                         \
  X(datum, option.datum)                       \
  X(zoom, option.zoom)                         \
  X(command_template, option.command_template) \
  X(preview, preview) /* the command line for the place */

// The place card (PlaceCardForm in dialog/place_card.h, TolvexUiCardForm). Its texts:
// X(field, control), `control` the id in dialog/place_card_layout.h of the box that shows it.
#define TOLVEX_CARD_FORM_TEXTS(X)                                                                 \
  X(place, kPlaceBox)             /* the text the place is read from */                           \
  X(place_message, kPlaceMessage) /* why it names no place ("" when it names one, or is empty) */ \
  X(coordinates, kCoordinatesBox) /* the place's formats, "" without a place */                   \
  X(dms, kDmsBox)                                                                                 \
  X(geocode, kGeocodeBox)                                                                         \
  X(zoom, kZoomBox) /* the link's zoom, "" when it gave none */

// Its yes-or-no fields: X(field, initial).
#define TOLVEX_CARD_FORM_FLAGS(X)                                                    \
  X(can_open, true) /* Open and the copy items: only while the text names a place */ \
  X(keep_open, false)                                                                \
  X(always, false)

// Its lists of texts: X(field).
#define TOLVEX_CARD_FORM_LISTS(X)              \
  X(ids)         /* the maps, in file order */ \
  X(areas)       /* one per id */              \
  X(copy_labels) /* the copy items' labels, in the order of kCopyItems */
