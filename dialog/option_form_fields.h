// The option form's texts, described once: X(field, control) for each, in the order in which
// the UI module's C struct carries them. `field` is the member of OptionForm
// (dialog/option_view.h) and of TolvexUiForm (dialog/ui_module_abi.h); `control` the id in
// dialog/option_layout.h of the control that shows it. The form's one list, the ids of the
// options, is the drop-down list of the application box, whose text field is `selected`.
// Plain preprocessor text, so that the C boundary's header can expand it as well.
#pragma once

#define TOLVEX_OPTION_FORM_TEXTS(X)                                       \
  X(selected, kApplicationBox)  /* the application box's text field */    \
  X(command, kCommandBox)       /* the shown option's command template */ \
  X(datum, kDatumBox)           /* "tokyo" or "wgs84" */                  \
  X(area, kAreaBox)             /* the shown option's area */             \
  X(version_line, kVersionLine) /* the program's name and version */      \
  X(copyright_notice, kCopyrightLine)
