// What every window of the program is on Windows (the option window, the place card, the map
// editor, the list chooser): a top-level window built from layout tables' controls, laid out in
// twips for the window's DPI in the fonts of the table's roles ("MS UI Gothic"), with the
// program's icon, the dialog manager's keys (IsDialogMessageW: Tab in creation order, Enter,
// Esc, access keys) and a message loop of its own, modeless or modal over an owner. Also the
// helpers the windows share: twips to pixels, fonts, texts in and out of controls and the
// clipboard.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialog/window_layout.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::win32 {

using layout::FontRole;

// `twips` in pixels at `dpi`.
int Scaled(int twips, UINT dpi);

// The font of `role` at `dpi` ("MS UI Gothic", Shift-JIS set, regular weight).
platform::win32::GdiObject<HFONT> CreateUiFont(FontRole role, UINT dpi);

std::wstring WindowTextOf(HWND window);
// Sets the text only when it differs (a change would move the caret and notify the window).
void SetText(HWND window, std::wstring_view text);

bool IsClass(HWND window, const wchar_t* name);

// The entries of a combo box's list, in order.
std::vector<std::wstring> ComboEntries(HWND combo);

// An edit control shows a line break only as CR LF; option files hold LF alone.
std::wstring WithCrLf(std::wstring_view text);
std::wstring WithoutCrLf(std::wstring_view text);

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// Puts `text` on the clipboard as CF_UNICODETEXT. The data itself is handed over (not
// rendered on request), so it stays on the clipboard after this program has ended.
bool CopyToClipboard(HWND owner, std::string_view text);

// Centres `window` over `owner`, or on the screen it opens on when `owner` is null, keeping
// it on that screen.
void Centre(HWND window, HWND owner);

// What a control kind of the layout tables is in Win32: window class, styles.
struct WindowKind {
  const wchar_t* class_name;
  DWORD style;
  DWORD ex_style;
};
WindowKind KindOf(layout::Kind kind);

// The panels of the option window's pages: they hand what their controls report to the window.
inline constexpr wchar_t kPanelClass[] = L"TolvexGatewayPanel";
bool RegisterPanelClass(HINSTANCE instance);

// A list view's columns as the table gives them, widths at `dpi`.
void SetColumns(HWND list, std::span<const layout::Column> columns, UINT dpi);
// Replaces the rows when they differ; each row holds one text per column.
void SetRows(HWND list, const std::vector<std::vector<std::string>>& rows);
// The selected row, -1 for none; Select also gives the row the focus mark and scrolls to it.
int SelectedRow(HWND list);
void SelectRow(HWND list, int row);

// A window built from a layout table (dialog/window_layout.h).
class FormWindow {
 public:
  explicit FormWindow(HINSTANCE instance);
  virtual ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

 protected:
  // Creates the hidden window, owned by `owner` (may be null), with its controls in the order
  // of their tab indices (the dialog manager's Tab order, and a label just before the control
  // it names, which is where screen readers look for a control's name), sized for its DPI and
  // centred. `lists` names the list views' columns; `pages` are tables of further controls
  // (a tab strip's other pages), created after the form's; `menu` is the window's menu bar,
  // the window's once it was created. False when it could not be created.
  bool Create(const wchar_t* class_name, const layout::Window& form, HWND owner,
              std::vector<std::pair<int, std::span<const layout::Column>>> lists = {},
              std::vector<std::span<const layout::Control>> pages = {}, HMENU menu = nullptr);

  // Shows the window, gives the table's first focus (or `first_focus`, when not 0) the focus
  // and runs the messages until the window is destroyed. With an owner the window is modal:
  // the owner takes no input until then.
  void RunMessages(int first_focus = 0);

  // Destroys the window; a modal window first gives its owner back its input.
  void Destroy();

  HWND Control(int id) const;
  // Whether a combo box of the window has its list dropped down (it then takes its own keys).
  bool ListDroppedDown() const;

  // Called once the controls exist, before they are laid out for the DPI.
  virtual void ControlsCreated() {}
  // Moves the focus to the next (or previous) tab stop, as Tab does; the default goes by
  // GetNextDlgTabItem.
  virtual void MoveFocus(bool backwards);

  // Keys this window takes before the dialog manager; true when handled. The default: Tab
  // and Shift+Tab move through the tab stops (out of multi-line boxes too), Esc clicks the
  // cancel button, Enter clicks a focused push button or else the default button (a box that
  // takes new lines keeps its Enter).
  virtual bool PreTranslate(const MSG& message);
  // The window's messages besides layout, colours and DPI; the default is DefWindowProcW.
  virtual LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND owner_ = nullptr;
  const layout::Window* form_ = nullptr;
  // The form's controls, then each page's.
  std::vector<std::span<const layout::Control>> tables_;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void ApplyDpi(UINT dpi);

  DWORD style_ = 0;
  std::vector<std::pair<int, std::span<const layout::Column>>> lists_;
  HWND last_focus_ = nullptr;  // given back when the window is activated again
  platform::win32::GdiObject<HFONT> text_font_;
  platform::win32::GdiObject<HFONT> tab_font_;
  platform::win32::GdiObject<HFONT> button_font_;
  platform::win32::IconHandle big_icon_;
  platform::win32::IconHandle small_icon_;
};

// The closed combo box `combo` as high as `height`: its selection field's height is the one
// thing that can be set, and how it maps to the whole box differs between systems.
void FitComboHeight(HWND combo, int height);

}  // namespace tolvex::win32
