// The Win32 view of FrmPlaceCard: a top-level window built from the card's table
// (dialog/place_card_layout.h) with the option window's fonts, DPI handling and keys. It shows
// what the logic sets, reports what the user did and puts copied text on the clipboard;
// FrmPlaceCard decides everything.
#pragma once

#include <windows.h>

#include <string_view>

#include "dialog/place_card.h"
#include "dialog/win32/form_window_win32.h"

namespace tolvex::win32 {

class PlaceCardWindow final : public FormWindow, public PlaceCardView {
 public:
  explicit PlaceCardWindow(HINSTANCE instance);
  ~PlaceCardWindow() override;

  // Creates the window, lets `events` fill it (OnLoad) while it is still hidden, shows it with
  // the map list focused and runs its messages until it is destroyed (OnUnload).
  // Returns 0, or 1 when the window could not be created.
  int Run(PlaceCardEvents& events);

  void Show(const PlaceCardForm& form) override;
  PlaceCardForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void CopyText(std::string_view text) override;
  std::string ClipboardText() const override;
  void Close() override;

 private:
  bool PreTranslate(const MSG& message) override;
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;
  void DropCopyMenu();

  PlaceCardEvents* events_ = nullptr;
  PlaceCardForm form_;    // as last shown
  bool showing_ = false;  // Show writes the Place box: not the user's change
};

}  // namespace tolvex::win32
