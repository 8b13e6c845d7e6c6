// The Win32 views of the option window's two modal helpers, built from their tables with the
// option window's fonts, DPI handling and keys: the map editor (dialog/map_editor_layout.h;
// FrmMapEditor decides everything) and the list chooser of "From catalogue…"
// (dialog/maps_layout.h). Each disables its owner while it is open.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/map_editor.h"
#include "dialog/option_view.h"
#include "dialog/win32/form_window_win32.h"

namespace tolvex::win32 {

class MapEditorWindow final : public FormWindow, public MapEditorView {
 public:
  explicit MapEditorWindow(HINSTANCE instance);
  ~MapEditorWindow() override;

  // Creates the window over `owner`, lets `events` fill it (OnLoad), shows it and runs its
  // messages until it is destroyed (OnUnload).
  void Run(HWND owner, MapEditorEvents& events);

  void Show(const MapEditorForm& form) override;
  MapEditorForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;

 private:
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  MapEditorEvents* events_ = nullptr;
  MapEditorForm form_;    // as last shown
  bool showing_ = false;  // the changes Show makes are not the user's
};

class ItemChooserWindow final : public FormWindow {
 public:
  explicit ItemChooserWindow(HINSTANCE instance);
  ~ItemChooserWindow() override;

  // Shows `rows` over `owner` until the user picks one (OK, Enter or a double-click) or none
  // (Cancel, Esc, the close button).
  std::optional<std::size_t> Run(HWND owner, std::string_view title,
                                 const std::vector<CatalogueRow>& rows);

 private:
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam) override;

  std::optional<std::size_t> chosen_;
};

}  // namespace tolvex::win32
