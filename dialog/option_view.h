// What the option dialog's logic (FrmOption) needs from a window toolkit. The Qt view and the
// Win32 view implement it; tests use a fake. The logic never reaches into widgets: it hands the
// view everything the form shows in one call and reads it back in one call, the way a dialog
// copies a struct into its controls and reads them on OK.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/form_fields.h"
#include "dialog/map_editor.h"
#include "dialog/window_events.h"

namespace tolvex {

// What the option window shows, control by control: the list of `GISoptions`, then the texts
// of TOLVEX_OPTION_FORM_TEXTS (dialog/form_fields.h).
struct OptionForm {
  std::vector<std::string> ids;
  // The Maps tab: each map's area (one per id), the row picked in its list (-1: none) and
  // the check box "Ask which map to use for each &link".
  std::vector<std::string> areas;
  int map_row = -1;
  bool ask = false;
#define TOLVEX_FORM_TEXT(field, control) std::string field;
  TOLVEX_OPTION_FORM_TEXTS(TOLVEX_FORM_TEXT)
#undef TOLVEX_FORM_TEXT
  bool operator==(const OptionForm&) const = default;
};

// A row of the catalogue chooser (OptionView::ChooseItem): a map's id and area, shown in its
// two columns.
struct CatalogueRow {
  std::string id;
  std::string area;
  bool operator==(const CatalogueRow&) const = default;
};

class OptionView {
 public:
  virtual ~OptionView() = default;

  // Puts `form` into the controls. Controls that already show their text are left alone, so
  // that showing the form again disturbs neither the list nor the cursor.
  virtual void Show(const OptionForm& form) = 0;
  // What the controls hold now. Only the text field of `GISoptions` takes the user's typing.
  virtual OptionForm Read() const = 0;

  // A modal error box (stop icon, one OK button); returns when dismissed.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;

  // Closes the window; the toolkit then reports the unload.
  virtual void Close() = 0;

  // Shows the map editor modally over the window: creates its window, hands it to `make_logic`
  // for the logic that takes its events, and returns once it has closed.
  virtual void RunMapEditor(
      const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) = 0;
  // A modal list to pick one of `rows` from ("From catalogue…"); nullopt when cancelled.
  virtual std::optional<std::size_t> ChooseItem(std::string_view title,
                                                const std::vector<CatalogueRow>& rows) = 0;
};

// What the window reports to the logic, one event at a time on the window's thread.
class OptionEvents {
 public:
  virtual ~OptionEvents() = default;

  // One handler an event of dialog/window_events.h.
#define TOLVEX_OPTION_EVENT(handler, name, button) virtual void handler() = 0;
  TOLVEX_OPTION_EVENTS(TOLVEX_OPTION_EVENT)
#undef TOLVEX_OPTION_EVENT
};

}  // namespace tolvex
