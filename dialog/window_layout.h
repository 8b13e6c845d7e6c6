// What every window of the program is built from: the option window and its Maps tab, the place
// card, the map editor and the catalogue chooser. Each is described once: its controls in one
// table with their kind, caption, place and size in twips (1/1440 inch; 15 twips a pixel at
// 96 dpi), tab index, font and the name a screen reader reads. The Qt view and the Win32 view
// each build every window from these tables with one builder; what a kind becomes (a widget
// class, a window class and styles) is theirs to say. One font face and one set of font roles,
// so that every window of the program looks alike. Free of any toolkit's headers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::layout {

inline constexpr int kTwipsPerInch = 1440;

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
  // The option window's own kinds, as its first page has always shown them:
  kTabStrip,    // the tabs over the pages; its caption is the first tab's
  kComboBox,    // a text field the user types into, with a drop-down list of entries
  kPlainLabel,  // one line of text shown as it is (no mnemonic), centred on its line
  kShownText,   // text shown, wrapping, without a scroll bar
  kPicture,     // the program's fixed picture
};

// Whether Tab stops at a control of this kind.
constexpr bool TakesFocus(Kind kind) {
  return kind != Kind::kPanel && kind != Kind::kLabel && kind != Kind::kPlainLabel &&
         kind != Kind::kPicture;
}

// Whether the control shows text on several lines: a Win32 edit control shows a line break
// only as CR LF.
constexpr bool IsMultiLine(Kind kind) {
  return kind == Kind::kMultiLineEditBox || kind == Kind::kReadOnlyMultiLine ||
         kind == Kind::kShownText;
}

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
  int default_button;  // Enter clicks it, wherever the focus is but a button; 0: none
  int cancel_button;   // Esc clicks it
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

// How much of a plain label's width its caption may use: up to where a box on its line begins
// (a table may let a label reach under the box to its right), else the whole.
inline int CaptionRoom(std::span<const Control> controls, const Control& label) {
  int room = label.rect.width;
  for (const Control& other : controls) {
    const bool box = other.kind == Kind::kReadOnlyBox || other.kind == Kind::kComboBox;
    const bool same_line = other.rect.top < label.rect.top + label.rect.height &&
                           label.rect.top < other.rect.top + other.rect.height;
    if (box && other.parent == label.parent && same_line && other.rect.left > label.rect.left &&
        other.rect.left < label.rect.left + room) {
      room = other.rect.left - label.rect.left;
    }
  }
  return room;
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

// A button whose click alone raises an event of `Events` (dialog/window_events.h lists them);
// the views wire their clicks from each window's table of these (kButtonEvents).
template <class Events>
struct ButtonEvent {
  int button;  // 0: the event has no button of its own
  void (Events::*handler)();
};

// Raises on `events` the event whose button is `id`; false when `id` is no button of `table`.
template <class Events>
bool RaiseClick(std::span<const ButtonEvent<Events>> table, int id, Events& events) {
  for (const ButtonEvent<Events>& click : table) {
    if (click.button != 0 && click.button == id) {
      (events.*click.handler)();
      return true;
    }
  }
  return false;
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
