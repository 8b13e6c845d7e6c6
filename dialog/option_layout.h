// The option window's form, described in the vocabulary of every window (dialog/window_layout.h):
// each control's name, kind, caption, place and size in twips, tab index and font. The Qt view
// and the Win32 view both build the window from this table with the builder they build every
// window with.
// Free of any toolkit's headers, so that every view and test can read it.
#pragma once

#include <string>
#include <string_view>

#include "dialog/form_fields.h"
#include "dialog/maps_layout.h"
#include "dialog/option_view.h"
#include "dialog/window_layout.h"

namespace tolvex::option_layout {

using layout::Control;
using layout::FontRole;
using layout::Kind;
using layout::kWindow;

// Control ids (the Win32 view's; the Qt view goes by the form name in the table below). OK and
// Cancel carry the dialog manager's IDOK and IDCANCEL: IsDialogMessageW turns Esc into a click of
// the control whose id is IDCANCEL.
inline constexpr int kOkButton = layout::kIdOk;
inline constexpr int kCancelButton = layout::kIdCancel;
inline constexpr int kOptionTab = 1001;
inline constexpr int kOptionPanel = 1002;
inline constexpr int kApplicationBox = 1003;
inline constexpr int kApplicationLabel = 1004;
inline constexpr int kCommandLabel = 1005;
inline constexpr int kCommandBox = 1006;
inline constexpr int kPicture = 1007;
inline constexpr int kVersionLine = 1008;
inline constexpr int kCopyrightLine = 1009;
inline constexpr int kAreaLabel = 1010;
inline constexpr int kAreaBox = 1011;
inline constexpr int kDatumLabel = 1012;
inline constexpr int kDatumBox = 1013;
inline constexpr int kHelpMenu = 1100;

inline constexpr std::string_view kWindowCaption = "TolvexGateway   - Option -";
inline constexpr std::string_view kHelpCaption = "Help(&H)";  // kHelpMenu, straight on the menu bar
inline constexpr int kClientWidth = 8130;                     // twips
inline constexpr int kClientHeight = 5880;
inline constexpr int kPicturePixels = 96;  // the picture's side

// The controls in the order a parent is listed before its children. One row a line, so that
// the table reads as the form: where each control sits and what it shows. The labels name no
// control for a screen reader (they have no mnemonic), nor do the boxes get a name of their own.
// clang-format off
inline constexpr Control kControls[] = {
    // id               form name     kind               parent        caption                   left   top  width height tab font            screen reader's name
    {kOptionTab,        "tbsOptions", Kind::kTabStrip,   kWindow,      "Option",                 { 120,  120, 7815, 5205},  0, FontRole::kTab,    ""},
    {kOptionPanel,      "picOptions", Kind::kPanel,      kWindow,      "",                       { 240,  720, 7575, 4545},  1, FontRole::kNone,   ""},
    {kCancelButton,     "cmdCancel",  Kind::kButton,     kWindow,      "Cancel",                 {6840, 5400, 1095,  375},  2, FontRole::kButton, ""},
    {kOkButton,         "cmdOK",      Kind::kButton,     kWindow,      "OK",                     {5640, 5400, 1095,  375},  3, FontRole::kButton, ""},
    {kApplicationLabel, "LabelList",  Kind::kPlainLabel, kOptionPanel, "Select GIS Application", { 240,  360, 3975,  255},  5, FontRole::kText,   ""},
    {kApplicationBox,   "GISoptions", Kind::kComboBox,   kOptionPanel, "",                       { 240,  600, 7215,  360},  4, FontRole::kText,   ""},
    {kCommandLabel,     "Label3",     Kind::kPlainLabel, kOptionPanel, "URL/File",               { 240, 1440, 4215,  255},  7, FontRole::kText,   ""},
    {kCommandBox,       "oscommand",  Kind::kShownText,  kOptionPanel, "",                       { 240, 1680, 7215, 1095},  6, FontRole::kText,   ""},
    {kPicture,          "Image1",     Kind::kPicture,    kOptionPanel, "",                       { 240, 3120, 1440, 1440}, -1, FontRole::kNone,   ""},
    {kVersionLine,      "copyright",  Kind::kPlainLabel, kOptionPanel, "",                       {1800, 3960, 5775,  255},  8, FontRole::kText,   ""},
    {kCopyrightLine,    "copyright2", Kind::kPlainLabel, kOptionPanel, "",                       {1800, 4200, 5775,  255}, 10, FontRole::kText,   ""},
    {kAreaLabel,        "Label2",     Kind::kPlainLabel, kOptionPanel, "Valid Area",             {3600, 2955, 1215,  255}, 13, FontRole::kText,   ""},
    {kAreaBox,          "GISareas",   Kind::kReadOnlyBox,kOptionPanel, "",                       {4680, 2880,  975,  375}, 12, FontRole::kText,   ""},
    {kDatumLabel,       "Label1",     Kind::kPlainLabel, kOptionPanel, "Datum",                  {5880, 2955,  735,  255},  9, FontRole::kText,   ""},
    {kDatumBox,         "datum",      Kind::kReadOnlyBox,kOptionPanel, "",                       {6600, 2910,  855,  360}, 11, FontRole::kText,   ""},
};
// clang-format on

// No default button: Enter in the combo box must not press OK and save.
inline constexpr layout::Window kWindowLayout = {
    kWindowCaption, kClientWidth, kClientHeight, kControls, 0, kCancelButton, kOptionTab};

// Where the form's texts show: each text of OptionForm with the control that holds it. The
// views put them there and read them back through this table alone.
struct FormText {
  std::string OptionForm::*field;
  int control;
};

inline constexpr FormText kFormTexts[] = {
#define TOLVEX_FORM_TEXT(field, control) {&OptionForm::field, control},
    TOLVEX_OPTION_FORM_TEXTS(TOLVEX_FORM_TEXT)
#undef TOLVEX_FORM_TEXT
};

// The buttons (and the check box) whose click alone raises an event, as dialog/window_events.h
// lists them; both views wire their clicks from this table.
using ButtonEvent = layout::ButtonEvent<OptionEvents>;

inline constexpr ButtonEvent kButtonEvents[] = {
#define TOLVEX_OPTION_EVENT(handler, name, button) {button, &OptionEvents::handler},
    TOLVEX_OPTION_EVENTS(TOLVEX_OPTION_EVENT)
#undef TOLVEX_OPTION_EVENT
};

// The control whose drop-down list holds OptionForm::ids.
inline constexpr int kIdList = kApplicationBox;

}  // namespace tolvex::option_layout
