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

  virtual void SetVersionLine(std::string_view text) = 0;      // `copyright`
  virtual void SetCopyrightNotice(std::string_view text) = 0;  // `copyright2`
  virtual void SetOptionIds(const std::vector<std::string>& ids) = 0;  // list of `GISoptions`
  virtual void SetSelectedText(std::string_view text) = 0;     // text field of `GISoptions`
  virtual std::string SelectedText() const = 0;
  virtual void SetCommandTemplate(std::string_view text) = 0;  // `oscommand`
  virtual void SetDatum(std::string_view text) = 0;            // `datum`
  virtual void SetArea(std::string_view text) = 0;             // `GISareas`

  // A modal error box (stop icon, one OK button); returns when dismissed.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;

  // Closes the window; the toolkit then reports the unload.
  virtual void Close() = 0;
};

}  // namespace tolvex
