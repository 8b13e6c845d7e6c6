// The Win32 view of FrmOption: a FormWindow (dialog/win32/form_window_win32.h) built from the
// form's table (dialog/option_layout.h) with its menu bar. Its tab strip has two pages: "Option"
// (the table's controls) and "Maps" (dialog/maps_layout.h), whose editor and catalogue chooser open
// modally over it (dialog/win32/map_editor_win32.h). It only shows what the logic sets and reports
// the user's actions; FrmOption decides everything.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/option_view.h"
#include "dialog/win32/form_window_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::win32 {

class OptionWindow final : public FormWindow, public OptionView {
 public:
  explicit OptionWindow(HINSTANCE instance);
  ~OptionWindow() override;
  OptionWindow(const OptionWindow&) = delete;
  OptionWindow& operator=(const OptionWindow&) = delete;

  // Creates the window, lets `events` fill it (OnLoad) while it is still hidden, shows it
  // centred on the screen and runs its messages until it is destroyed (OnUnload).
  // Returns 0, or 1 when the window could not be created.
  int Run(OptionEvents& events);

  void Show(const OptionForm& form) override;
  OptionForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;
  void RunMapEditor(
      const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) override;
  std::optional<std::size_t> ChooseItem(std::string_view title,
                                        const std::vector<CatalogueRow>& rows) override;

 private:
  void ControlsCreated() override;
  // Keys the dialog manager would get wrong for this window: Tab follows the tab indices across
  // the pages' panels and the window; Ctrl+Tab switches the pages; Enter presses only a focused
  // button (there is no default button, so Enter in the combo box must not press OK and save).
  bool PreTranslate(const MSG& message) override;
  // Tab: every control in tab order, the first page's, then the Maps page's; Tab stops at the
  // shown page's stops.
  void MoveFocus(bool backwards) override;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;
  // Shows the tab strip's page `page` (0 "Option", 1 "Maps") and hides the other.
  void ShowPage(int page);
  void DrawPicture(const DRAWITEMSTRUCT& item) const;

  OptionEvents* events_ = nullptr;
  std::vector<std::string> areas_;               // OptionForm::areas as last shown
  platform::win32::GdiObject<HBITMAP> picture_;  // premultiplied alpha, for AlphaBlend
};

}  // namespace tolvex::win32
