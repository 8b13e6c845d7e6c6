// The option form's texts, described once: X(field, control) for each, in the order in which
// the UI module's C struct carries them. `field` is the member of OptionForm
// (dialog/option_view.h) and of TolvexUiForm (dialog/ui_module_abi.h); `control` the id in
// dialog/option_layout.h of the control that shows it. The form's one list, the ids of the
// options, is the drop-down list of GISoptions, whose text field is `selected`.
// Plain preprocessor text, so that the C boundary's header can expand it as well.
#pragma once

#define TOLVEX_OPTION_FORM_TEXTS(X)                                     \
  X(selected, kGISoptions)    /* the text field of GISoptions */        \
  X(command, kOscommand)      /* the shown option's command template */ \
  X(datum, kDatum)            /* "tokyo" or "wgs84" */                  \
  X(area, kGISareas)          /* the shown option's area */             \
  X(version_line, kCopyright) /* the program's name and version */      \
  X(copyright_notice, kCopyright2)
