// What the option dialog's logic (FrmOption) needs from a window toolkit. The Qt view and the
// Win32 view implement it; tests use a fake. The logic never reaches into widgets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

class OptionView {
 public:
  virtual ~OptionView() = default;

  virtual void SetVersionLine(std::string_view text) = 0;              // `copyright`
  virtual void SetCopyrightNotice(std::string_view text) = 0;          // `copyright2`
  virtual void SetOptionIds(const std::vector<std::string>& ids) = 0;  // list of `GISoptions`
  virtual void SetSelectedText(std::string_view text) = 0;             // text field of `GISoptions`
  virtual std::string SelectedText() const = 0;
  virtual void SetCommandTemplate(std::string_view text) = 0;  // `oscommand`
  virtual void SetDatum(std::string_view text) = 0;            // `datum`
  virtual void SetArea(std::string_view text) = 0;             // `GISareas`

  // A modal error box (stop icon, one OK button); returns when dismissed.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;

  // Closes the window; the toolkit then reports the unload.
  virtual void Close() = 0;
};

// What the window reports to the logic, one event at a time on the window's thread.
class OptionEvents {
 public:
  virtual ~OptionEvents() = default;

  virtual void OnLoad() = 0;    // the window exists and is about to be shown for the first time
  virtual void OnPick() = 0;    // an entry of the list of `GISoptions` was picked
  virtual void OnOk() = 0;      // `cmdOK`
  virtual void OnCancel() = 0;  // `cmdCancel` or Esc
  virtual void OnHelp() = 0;    // `mnuHelp`
  virtual void OnUnload() = 0;  // the window has closed, whatever closed it
};

}  // namespace tolvex
