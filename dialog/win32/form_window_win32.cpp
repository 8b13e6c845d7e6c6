#include "dialog/win32/form_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win32/text_win32.h"
#include "resources/windows/resource_ids.h"

namespace tolvex::win32 {

using platform::win32::GdiObject;
using platform::win32::IconHandle;
using platform::win32::Utf16FromUtf8;
using platform::win32::Utf8FromUtf16;

int Scaled(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), layout::kTwipsPerInch);
}

// Negative height: the character height, not the cell height, as a point size means.
GdiObject<HFONT> CreateUiFont(FontRole role, UINT dpi) {
  const auto points_x100 = static_cast<int>(std::lround(layout::FontPoints(role) * 100));
  return GdiObject<HFONT>(CreateFontW(
      -MulDiv(points_x100, static_cast<int>(dpi), 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
      SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, Utf16FromUtf8(layout::kFontFace).c_str()));
}

std::wstring WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::vector<std::wstring> ComboEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring entry(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const auto got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                  reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    entries.push_back(std::move(entry));
  }
  return entries;
}

void SetText(HWND window, std::wstring_view text) {
  if (WindowTextOf(window) != text) SetWindowTextW(window, std::wstring(text).c_str());
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t actual[64] = {};
  GetClassNameW(window, actual, 64);
  return lstrcmpiW(actual, name) == 0;
}

std::wstring WithCrLf(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

std::wstring WithoutCrLf(std::wstring_view text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' || i + 1 == text.size() || text[i + 1] != L'\n') out += text[i];
  }
  return out;
}

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (GetClassInfoExW(instance, name, &window_class)) return true;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = name;
  return RegisterClassExW(&window_class) != 0;
}

bool CopyToClipboard(HWND owner, std::string_view text) {
  const std::wstring wide = Utf16FromUtf8(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  if (void* target = GlobalLock(memory); target != nullptr) {
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory);
  }
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
    opened = OpenClipboard(owner) != FALSE;
    if (!opened) Sleep(20);
  }
  if (!opened) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // On success the system owns the memory; on failure it is still this program's.
  const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!set) GlobalFree(memory);
  return set;
}

void Centre(HWND window, HWND owner) {
  RECT frame{};
  GetWindowRect(window, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : window, MONITOR_DEFAULTTOPRIMARY),
                  &monitor);
  RECT around = monitor.rcMonitor;
  if (owner != nullptr) GetWindowRect(owner, &around);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const RECT& screen = monitor.rcWork;
  int left = around.left + (around.right - around.left - width) / 2;
  int top = around.top + (around.bottom - around.top - height) / 2;
  if (owner != nullptr) {
    left = std::clamp<int>(left, screen.left, std::max<int>(screen.left, screen.right - width));
    top = std::clamp<int>(top, screen.top, std::max<int>(screen.top, screen.bottom - height));
  }
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowKind KindOf(layout::Kind kind) {
  using layout::Kind;
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  constexpr DWORD kStop = kChild | WS_TABSTOP;
  switch (kind) {
    case Kind::kPanel:
      return {kPanelClass, kChild | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case Kind::kButton:
    case Kind::kMenuButton:
      return {WC_BUTTONW, kStop | BS_PUSHBUTTON, 0};
    case Kind::kLabel:
      return {WC_STATICW, kChild | SS_LEFT, 0};
    case Kind::kEditBox:
      return {WC_EDITW, kStop | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kMultiLineEditBox:
      return {WC_EDITW, kStop | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
              WS_EX_CLIENTEDGE};
    case Kind::kReadOnlyBox:
      return {WC_EDITW, kStop | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kReadOnlyMultiLine:
      return {WC_EDITW, kStop | WS_VSCROLL | ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case Kind::kDropDownList:
      return {WC_COMBOBOXW, kStop | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case Kind::kListView:
      return {WC_LISTVIEWW,
              kStop | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
              WS_EX_CLIENTEDGE};
    case Kind::kCheckBox:
      return {WC_BUTTONW, kStop | BS_AUTOCHECKBOX, 0};
    case Kind::kTabStrip:
      return {WC_TABCONTROLW, kStop, 0};
    case Kind::kComboBox:
      return {WC_COMBOBOXW, kStop | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case Kind::kPlainLabel:
      return {WC_STATICW, kChild | SS_LEFT | SS_NOPREFIX, 0};
    case Kind::kShownText:
      return {WC_EDITW, kStop | ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case Kind::kPicture:
      return {WC_STATICW, kChild | SS_OWNERDRAW, 0};
  }
  return {WC_STATICW, kChild, 0};
}

namespace {

// The panel holds the controls of a page; what they report goes to the window.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(panel), message, wparam, lparam);
    default:
      return DefWindowProcW(panel, message, wparam, lparam);
  }
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
  return RegisterWindowClass(instance, kPanelClass, PanelProc);
}

void SetColumns(HWND list, std::span<const layout::Column> columns, UINT dpi) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const auto present = static_cast<std::size_t>(SendMessageW(
      reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring caption = Utf16FromUtf8(columns[i].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = Scaled(columns[i].width, dpi);
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, i < present ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW, i,
                 reinterpret_cast<LPARAM>(&column));
  }
}

namespace {

std::wstring ItemText(HWND list, int row, int column) {
  std::wstring text(1024, L'\0');
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&item));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
  return text;
}

}  // namespace

void SetRows(HWND list, const std::vector<std::vector<std::string>>& rows) {
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  bool same = count == static_cast<int>(rows.size());
  for (int row = 0; same && row < count; ++row) {
    const auto& texts = rows[static_cast<std::size_t>(row)];
    for (std::size_t column = 0; same && column < texts.size(); ++column) {
      same = ItemText(list, row, static_cast<int>(column)) == Utf16FromUtf8(texts[column]);
    }
  }
  if (same) return;
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < rows[row].size(); ++column) {
      std::wstring text = Utf16FromUtf8(rows[row][column]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(column);
      item.pszText = text.data();
      SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
}

int SelectedRow(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
  if (SelectedRow(list) == row) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (row < 0) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

namespace {

// A push button, not a check box.
bool IsPushButton(HWND control) {
  if (control == nullptr || !IsClass(control, WC_BUTTONW)) return false;
  const auto type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

void FitComboHeight(HWND combo, int height) {
  // Corrected from the height last asked for: a system may report another field height than
  // the one it was given, and correcting from that would undo each correction.
  auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const int error = height - (closed.bottom - closed.top);
    if (error == 0 || field + error <= 0) return;
    field += error;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

namespace {

// Moves the focus to the next (or previous) tab stop of `window` and selects a box's text, as
// the dialog manager does.
void FocusNextTabStop(HWND window, bool backwards) {
  HWND focus = GetFocus();
  if (focus != nullptr && !IsChild(window, focus)) focus = nullptr;
  const HWND next = GetNextDlgTabItem(window, focus, backwards ? TRUE : FALSE);
  if (next == nullptr) return;
  SetFocus(next);
  if (IsClass(next, WC_EDITW)) SendMessageW(next, EM_SETSEL, 0, -1);
}

}  // namespace

void FormWindow::MoveFocus(bool backwards) { FocusNextTabStop(window_, backwards); }

FormWindow::FormWindow(HINSTANCE instance) : instance_(instance) {}

FormWindow::~FormWindow() {
  // A derived window destroys itself first; this only catches a window that never ran.
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (owner_ != nullptr) EnableWindow(owner_, TRUE);
    DestroyWindow(window_);
  }
}

bool FormWindow::Create(const wchar_t* class_name, const layout::Window& form, HWND owner,
                        std::vector<std::pair<int, std::span<const layout::Column>>> lists,
                        std::vector<std::span<const layout::Control>> pages, HMENU menu) {
  INITCOMMONCONTROLSEX common{sizeof common,
                              ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&common);
  if (!RegisterWindowClass(instance_, class_name, WindowProc) || !RegisterPanelClass(instance_)) {
    return false;
  }
  form_ = &form;
  owner_ = owner;
  lists_ = std::move(lists);
  tables_ = {form.controls};
  tables_.insert(tables_.end(), pages.begin(), pages.end());
  style_ = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
           (owner == nullptr ? WS_MINIMIZEBOX : 0);
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT | (owner != nullptr ? WS_EX_DLGMODALFRAME : 0),
                            class_name, Utf16FromUtf8(form.caption).c_str(), style_, CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, owner, menu, instance_, nullptr);
  if (window_ == nullptr) return false;
  // Until this is set the window procedure leaves every message to DefWindowProcW.
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  for (const std::span<const layout::Control> table : tables_) {
    for (const layout::Control* control : layout::ByTabIndex(table)) {
      const HWND parent = control->parent == layout::kWindow ? window_ : Control(control->parent);
      const WindowKind kind = KindOf(control->kind);
      // A tab strip's caption is its first tab's, not its window text.
      const std::wstring text = control->kind == layout::Kind::kTabStrip
                                    ? std::wstring()
                                    : Utf16FromUtf8(control->caption);
      CreateWindowExW(kind.ex_style, kind.class_name, text.c_str(), kind.style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), instance_,
                      nullptr);
    }
  }
  ControlsCreated();
  ApplyDpi(GetDpiForWindow(window_));
  Centre(window_, owner_);
  return true;
}

void FormWindow::ApplyDpi(UINT dpi) {
  // The window's icons at the sizes the system uses for this DPI; not LR_SHARED, which hands
  // back the first size loaded for every later request.
  auto load = [&](int metric) {
    const int size = GetSystemMetricsForDpi(metric, dpi);
    return IconHandle(static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(TOLVEX_IDI_PROGRAM), IMAGE_ICON, size, size, 0)));
  };
  IconHandle big = load(SM_CXICON);
  IconHandle small = load(SM_CXSMICON);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));

  GdiObject<HFONT> text_font = CreateUiFont(FontRole::kText, dpi);
  GdiObject<HFONT> tab_font = CreateUiFont(FontRole::kTab, dpi);
  GdiObject<HFONT> button_font = CreateUiFont(FontRole::kButton, dpi);
  for (const std::span<const layout::Control> table : tables_) {
    for (const layout::Control& entry : table) {
      const HWND control = Control(entry.id);
      const HFONT font = entry.font == FontRole::kText     ? text_font.Get()
                         : entry.font == FontRole::kTab    ? tab_font.Get()
                         : entry.font == FontRole::kButton ? button_font.Get()
                                                           : nullptr;
      if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      // A combo box's window height includes its drop-down list, which shows this many entries
      // (and a text field's list one more) before it scrolls.
      const int listed = entry.kind == layout::Kind::kDropDownList ? 8
                         : entry.kind == layout::Kind::kComboBox   ? 9
                                                                   : 1;
      MoveWindow(control, Scaled(entry.rect.left, dpi), Scaled(entry.rect.top, dpi),
                 Scaled(entry.rect.width, dpi), Scaled(entry.rect.height, dpi) * listed, TRUE);
      if (listed > 1) FitComboHeight(control, Scaled(entry.rect.height, dpi));
    }
  }
  for (const auto& [id, columns] : lists_) SetColumns(Control(id), columns, dpi);
  // The old fonts and icons go only now that nothing uses them any more.
  text_font_ = std::move(text_font);
  tab_font_ = std::move(tab_font);
  button_font_ = std::move(button_font);
  big_icon_ = std::move(big);
  small_icon_ = std::move(small);

  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  const bool menu = GetMenu(window_) != nullptr;
  const int client_height = Scaled(form_->client_height, dpi);
  RECT frame{0, 0, Scaled(form_->client_width, dpi), client_height};
  AdjustWindowRectExForDpi(&frame, style_, menu ? TRUE : FALSE, ex_style, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!menu) return;
  // The menu bar may wrap or change height with the DPI: fix the client size once more.
  RECT client{};
  GetClientRect(window_, &client);
  if (const int missing = client_height - client.bottom; missing != 0) {
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void FormWindow::RunMessages(int first_focus) {
  if (window_ == nullptr) return;
  if (owner_ != nullptr) EnableWindow(owner_, FALSE);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  if (const HWND focus = Control(first_focus != 0 ? first_focus : form_->initial_focus);
      focus != nullptr) {
    SetFocus(focus);
    if (IsClass(focus, WC_EDITW)) SendMessageW(focus, EM_SETSEL, 0, -1);
  }
  MSG message;
  while (window_ != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the loop further out that waits for WM_QUIT needs it too.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      Destroy();
      break;
    }
    if (PreTranslate(message)) continue;
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void FormWindow::Destroy() {
  if (window_ == nullptr) return;
  // Before the window goes: the system then activates the owner rather than another program.
  if (owner_ != nullptr) EnableWindow(owner_, TRUE);
  DestroyWindow(window_);
}

HWND FormWindow::Control(int id) const {
  if (window_ == nullptr) return nullptr;
  if (const HWND direct = GetDlgItem(window_, id); direct != nullptr) return direct;
  for (const std::span<const layout::Control> table : tables_) {
    for (const layout::Control& control : table) {
      if (control.kind != layout::Kind::kPanel) continue;
      if (const HWND nested = GetDlgItem(GetDlgItem(window_, control.id), id); nested != nullptr) {
        return nested;
      }
    }
  }
  return nullptr;
}

bool FormWindow::ListDroppedDown() const {
  for (const std::span<const layout::Control> table : tables_) {
    for (const layout::Control& control : table) {
      const bool combo =
          control.kind == layout::Kind::kDropDownList || control.kind == layout::Kind::kComboBox;
      if (combo && SendMessageW(Control(control.id), CB_GETDROPPEDSTATE, 0, 0) != 0) return true;
    }
  }
  return false;
}

bool FormWindow::PreTranslate(const MSG& message) {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  const HWND focus = GetFocus();
  if (ListDroppedDown()) return false;
  const auto click = [&](int id) {
    if (const HWND button = Control(id); button != nullptr && IsWindowEnabled(button)) {
      SendMessageW(button, BM_CLICK, 0, 0);
    }
  };
  switch (message.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      FocusNextTabStop(window_, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_ESCAPE:
      click(form_->cancel_button);
      return true;
    case VK_RETURN: {
      if (focus != nullptr && IsClass(focus, WC_EDITW)) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(focus, GWL_STYLE));
        if ((style & ES_WANTRETURN) != 0 && (style & ES_READONLY) == 0) return false;
      }
      if (IsPushButton(focus)) {
        SendMessageW(focus, BM_CLICK, 0, 0);
      } else {
        click(form_->default_button);
      }
      return true;
    }
    default:
      return false;
  }
}

LRESULT FormWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        self->last_focus_ = GetFocus();
      } else if (self->last_focus_ != nullptr && IsChild(window, self->last_focus_)) {
        SetFocus(self->last_focus_);
        return 0;
      }
      break;
    case WM_NEXTDLGCTL:
      // Sent by the dialog manager when a label's access key was pressed (only dialog boxes
      // answer it by themselves): lparam set, the focus goes to the control wparam; else to
      // the next tab stop, or the previous one when wparam is not 0.
      if (LOWORD(lparam) != 0) {
        const auto target = reinterpret_cast<HWND>(wparam);
        if (target != nullptr && IsChild(window, target)) SetFocus(target);
      } else {
        self->MoveFocus(wparam != 0);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      // Read-only boxes keep the white of text boxes; labels the window's colour.
      if (IsClass(reinterpret_cast<HWND>(lparam), WC_EDITW)) {
        const auto dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_DPICHANGED: {
      self->ApplyDpi(HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_NCDESTROY: {
      const LRESULT result = self->Handle(message, wparam, lparam);
      self->window_ = nullptr;
      return result;
    }
    default:
      break;
  }
  return self->Handle(message, wparam, lparam);
}

}  // namespace tolvex::win32
