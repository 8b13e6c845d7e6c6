// The option window's form, described once for every toolkit: each control's name, kind,
// caption, place and size in twips (1/1440 inch; 15 twips a pixel at 96 dpi), tab index and
// font. The Qt view and the Win32 view both build the window from this table; what a kind
// becomes (a widget class, a window class and styles) is each view's own business.
// Free of any toolkit's headers, so that every view and test can read it.
#pragma once

#include <algorithm>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

#include "dialog/option_form_fields.h"
#include "dialog/option_view.h"

namespace tolvex::option_form {

// Control ids (the Win32 view's; the Qt view goes by the form name in the table below). OK and
// Cancel carry the dialog manager's IDOK and IDCANCEL: IsDialogMessageW turns Esc into a click of
// the control whose id is IDCANCEL.
inline constexpr int kOkButton = 1;      // IDOK
inline constexpr int kCancelButton = 2;  // IDCANCEL
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
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kClientWidth = 8130;  // twips
inline constexpr int kClientHeight = 5880;
inline constexpr int kPicturePixels = 96;  // the picture's side

enum class ControlKind {
  kTabStrip,      // one tab, captioned with the control's caption, never switched
  kPanel,         // holds the controls whose parent it is
  kButton,        // push button
  kLabel,         // one line of text
  kComboBox,      // editable text field with a drop-down list
  kMultiLineBox,  // read-only text box, wrapping
  kReadOnlyBox,   // read-only text box, one line
  kImage,         // the fixed picture
};

// Whether Tab stops at a control of this kind.
constexpr bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::kTabStrip || kind == ControlKind::kButton ||
         kind == ControlKind::kComboBox || kind == ControlKind::kMultiLineBox ||
         kind == ControlKind::kReadOnlyBox;
}

inline constexpr std::string_view kFontFace = "MS UI Gothic";  // Japanese (Shift-JIS) set

enum class FontRole { kNone, kText, kTab, kButton };

// Points of each role's font, regular weight; kNone keeps the toolkit's default.
constexpr double FontPoints(FontRole role) {
  switch (role) {
    case FontRole::kText:
      return 12.0;
    case FontRole::kTab:
      return 9.75;
    case FontRole::kButton:
      return 9.0;
    case FontRole::kNone:
      break;
  }
  return 0.0;
}

struct TwipsRect {
  int left, top, width, height;  // relative to the parent's client area
};

struct Control {
  int id;
  const char* name;
  ControlKind kind;
  int parent;           // kOptionPanel, or 0 for the window itself
  const char* caption;  // fixed text; "" where the logic sets the text or there is none
  TwipsRect rect;
  int tab_index;  // -1: none
  FontRole font;
};

inline constexpr int kWindow = 0;

// The controls in the order a parent is listed before its children. One row a line, so that
// the table reads as the form: where each control sits and what it shows.
// clang-format off
inline constexpr Control kControls[] = {
    // id               form name     kind                        parent        caption                   left   top  width height tab font
    {kOptionTab,        "tbsOptions", ControlKind::kTabStrip,     kWindow,      "Option",                 { 120,  120, 7815, 5205},  0, FontRole::kTab},
    {kOptionPanel,      "picOptions", ControlKind::kPanel,        kWindow,      "",                       { 240,  720, 7575, 4545},  1, FontRole::kNone},
    {kCancelButton,     "cmdCancel",  ControlKind::kButton,       kWindow,      "Cancel",                 {6840, 5400, 1095,  375},  2, FontRole::kButton},
    {kOkButton,         "cmdOK",      ControlKind::kButton,       kWindow,      "OK",                     {5640, 5400, 1095,  375},  3, FontRole::kButton},
    {kApplicationLabel, "LabelList",  ControlKind::kLabel,        kOptionPanel, "Select GIS Application", { 240,  360, 3975,  255},  5, FontRole::kText},
    {kApplicationBox,   "GISoptions", ControlKind::kComboBox,     kOptionPanel, "",                       { 240,  600, 7215,  360},  4, FontRole::kText},
    {kCommandLabel,     "Label3",     ControlKind::kLabel,        kOptionPanel, "URL/File",               { 240, 1440, 4215,  255},  7, FontRole::kText},
    {kCommandBox,       "oscommand",  ControlKind::kMultiLineBox, kOptionPanel, "",                       { 240, 1680, 7215, 1095},  6, FontRole::kText},
    {kPicture,          "Image1",     ControlKind::kImage,        kOptionPanel, "",                       { 240, 3120, 1440, 1440}, -1, FontRole::kNone},
    {kVersionLine,      "copyright",  ControlKind::kLabel,        kOptionPanel, "",                       {1800, 3960, 5775,  255},  8, FontRole::kText},
    {kCopyrightLine,    "copyright2", ControlKind::kLabel,        kOptionPanel, "",                       {1800, 4200, 5775,  255}, 10, FontRole::kText},
    {kAreaLabel,        "Label2",     ControlKind::kLabel,        kOptionPanel, "Valid Area",             {3600, 2955, 1215,  255}, 13, FontRole::kText},
    {kAreaBox,          "GISareas",   ControlKind::kReadOnlyBox,  kOptionPanel, "",                       {4680, 2880,  975,  375}, 12, FontRole::kText},
    {kDatumLabel,       "Label1",     ControlKind::kLabel,        kOptionPanel, "Datum",                  {5880, 2955,  735,  255},  9, FontRole::kText},
    {kDatumBox,         "datum",      ControlKind::kReadOnlyBox,  kOptionPanel, "",                       {6600, 2910,  855,  360}, 11, FontRole::kText},
};
// clang-format on

// The controls by tab index, those without one last (in table order).
inline std::vector<const Control*> ByTabIndex() {
  std::vector<const Control*> order;
  for (const Control& control : kControls) order.push_back(&control);
  const auto key = [](const Control* control) {
    return control->tab_index < 0 ? std::numeric_limits<int>::max() : control->tab_index;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const Control* a, const Control* b) { return key(a) < key(b); });
  return order;
}

// The controls where Tab stops, in tab index order.
inline std::vector<const Control*> TabStops() {
  std::vector<const Control*> stops;
  for (const Control* control : ByTabIndex()) {
    if (TakesFocus(control->kind)) stops.push_back(control);
  }
  return stops;
}

// How much of a label's width its caption may use: up to where a box on its line begins (the
// table lets "Valid Area" and "Datum" reach under the boxes to their right), else the whole.
inline int CaptionRoom(const Control& label) {
  int room = label.rect.width;
  for (const Control& other : kControls) {
    const bool box =
        other.kind == ControlKind::kReadOnlyBox || other.kind == ControlKind::kComboBox;
    const bool same_line = other.rect.top < label.rect.top + label.rect.height &&
                           label.rect.top < other.rect.top + other.rect.height;
    if (box && other.parent == label.parent && same_line && other.rect.left > label.rect.left &&
        other.rect.left < label.rect.left + room) {
      room = other.rect.left - label.rect.left;
    }
  }
  return room;
}

inline const Control& ControlById(int id) {
  return *std::find_if(std::begin(kControls), std::end(kControls),
                       [id](const Control& control) { return control.id == id; });
}

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

// The control whose drop-down list holds OptionForm::ids.
inline constexpr int kIdList = kApplicationBox;

}  // namespace tolvex::option_form
