// The Win32 view of FrmOption: a top-level window (not a dialog resource) built from the form's
// table (dialog/option_layout.h), laid out in twips for the window's DPI, with its own message
// loop. Its tab strip has two pages: "Option" (the table's controls) and "Maps"
// (dialog/maps_layout.h), whose editor and catalogue chooser open modally over it
// (dialog/win32/map_editor_win32.h). It only shows what the logic sets and reports the user's
// actions; FrmOption decides everything.
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
#include "platform/win32/unique_handle_win32.h"

namespace tolvex {

class OptionWindow final : public OptionView {
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
                                        const std::vector<std::string>& items) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  bool Create();
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void LoadIcons(UINT dpi);
  bool PreTranslate(const MSG& message);
  void MoveFocus(bool backwards);
  // Shows the tab strip's page `page` (0 "Option", 1 "Maps") and hides the other.
  void ShowPage(int page);
  void DrawPicture(const DRAWITEMSTRUCT& item) const;
  HWND Control(int id) const;
  void SetControlText(int id, const std::wstring& text);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND last_focus_ = nullptr;  // given back when the window is activated again
  OptionEvents* events_ = nullptr;
  std::vector<std::string> areas_;  // OptionForm::areas as last shown
  UINT dpi_ = 96;
  platform::win32::GdiObject<HFONT> text_font_;  // labels, boxes, combo box
  platform::win32::GdiObject<HFONT> tab_font_;
  platform::win32::GdiObject<HFONT> button_font_;
  platform::win32::GdiObject<HBITMAP> picture_;  // premultiplied alpha, for AlphaBlend
  // Members go after the destructor's body has destroyed the window that shows them.
  platform::win32::IconHandle big_icon_;
  platform::win32::IconHandle small_icon_;
};

}  // namespace tolvex
