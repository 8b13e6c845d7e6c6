// What the windows added beside the option window are built from: the place card, the option
// window's Maps tab, the map editor and the catalogue chooser. Each is described once, as the
// option window is in dialog/option_layout.h: its controls in one table with their kind,
// caption, place and size in twips, tab index, font and the name a screen reader reads. The Qt
// view and the Win32 view both build from these tables; what a kind becomes is theirs to say.
// The units, the font face and the font roles are the option window's, so that every window of
// the program looks alike. Free of any toolkit's headers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/option_layout.h"

namespace tolvex::layout {

using option_form::FontPoints;
using option_form::FontRole;
using option_form::kFontFace;
using option_form::kTwipsPerInch;
using option_form::TwipsRect;

inline constexpr int kWindow = 0;  // a control's parent when it is the window itself
// The dialog manager's IDOK and IDCANCEL: Enter clicks the first, Esc the second.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

enum class Kind {
  kPanel,              // holds the controls whose parent it is
  kButton,             // push button
  kMenuButton,         // push button that drops a menu down (the card's copy items)
  kLabel,              // one line of text; its mnemonic moves the focus to the next tab stop
  kEditBox,            // one line the user types into
  kMultiLineEditBox,   // text the user types into, wrapping, Tab leaves it
  kReadOnlyBox,        // one line shown, selectable for copying
  kReadOnlyMultiLine,  // text shown, wrapping, selectable for copying
  kDropDownList,       // a pick among fixed entries, nothing typed
  kListView,           // rows of columns (see Column), one row selected, typing jumps to a row
  kCheckBox,           // check box with its caption beside it
};

// Whether Tab stops at a control of this kind.
constexpr bool TakesFocus(Kind kind) { return kind != Kind::kPanel && kind != Kind::kLabel; }

struct Control {
  int id;            // the Win32 view's control id; unique among all windows' tables
  const char* name;  // the Qt view's object name
  Kind kind;
  int parent;           // a panel's id, or kWindow
  const char* caption;  // fixed text with its "&" mnemonic; "" where the logic sets it
  TwipsRect rect;       // relative to the parent's client area
  int tab_index;        // -1: none; a label's comes just before its control's
  FontRole font;
  const char* accessible_name;  // what a screen reader reads for the control
};

// A column of a list view: its header and width in twips.
struct Column {
  const char* caption;
  int width;
};

// A window of its own: its caption, client size and controls, and which controls Enter, Esc
// and the first focus go to.
struct Window {
  std::string_view caption;
  int client_width;  // twips
  int client_height;
  std::span<const Control> controls;  // a parent is listed before its children
  int default_button;                 // Enter clicks it, wherever the focus is but a button
  int cancel_button;                  // Esc clicks it
  int initial_focus;
};

// The controls by tab index, those without one last (in table order).
inline std::vector<const Control*> ByTabIndex(std::span<const Control> controls) {
  std::vector<const Control*> order;
  for (const Control& control : controls) order.push_back(&control);
  const auto key = [](const Control* control) {
    return control->tab_index < 0 ? std::numeric_limits<int>::max() : control->tab_index;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const Control* a, const Control* b) { return key(a) < key(b); });
  return order;
}

// The controls where Tab stops, in tab index order.
inline std::vector<const Control*> TabStops(std::span<const Control> controls) {
  std::vector<const Control*> stops;
  for (const Control* control : ByTabIndex(controls)) {
    if (TakesFocus(control->kind)) stops.push_back(control);
  }
  return stops;
}

// The control whose id is `id`; nullptr when the table has none.
inline const Control* FindControl(std::span<const Control> controls, int id) {
  const auto found = std::find_if(controls.begin(), controls.end(),
                                  [id](const Control& control) { return control.id == id; });
  return found != controls.end() ? &*found : nullptr;
}

// A caption as it shows: "&&" is one "&", a lone "&" only marks the mnemonic.
inline std::string ShownCaption(std::string_view caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// The letter after a caption's lone "&", lower-cased; 0 when it has none.
inline char Mnemonic(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') {
      const char letter = caption[i + 1];
      return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
    }
    ++i;
  }
  return 0;
}

}  // namespace tolvex::layout
