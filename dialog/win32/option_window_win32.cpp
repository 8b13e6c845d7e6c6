#include "dialog/win32/option_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dialog/maps_layout.h"
#include "dialog/option_layout.h"
#include "dialog/win32/form_window_win32.h"
#include "dialog/win32/map_editor_win32.h"
#include "platform/win32/message_win32.h"
#include "platform/win32/text_win32.h"
#include "resources/windows/resource_ids.h"

namespace tolvex {
namespace {

using namespace option_form;
using platform::win32::GdiObject;
using platform::win32::IconHandle;
using platform::win32::MemoryDc;
using platform::win32::MenuHandle;
using platform::win32::Utf16FromUtf8;
using platform::win32::Utf8FromUtf16;
using win32_form::CreateUiFont;
using win32_form::IsClass;
using win32_form::RegisterWindowClass;
using win32_form::Scaled;
using win32_form::WindowTextOf;
using win32_form::WithCrLf;
using win32_form::WithoutCrLf;

constexpr wchar_t kWindowClass[] = L"TolvexGatewayOption";
using win32_form::kPanelClass;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// What each kind of control of the form is in Win32.
struct WindowKind {
  const wchar_t* class_name;
  DWORD style;
  DWORD ex_style;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

WindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kTabStrip:
      return {WC_TABCONTROLW, kChild | WS_TABSTOP, 0};
    case ControlKind::kPanel:
      return {kPanelClass, kChild | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::kButton:
      return {WC_BUTTONW, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::kLabel:
      return {WC_STATICW, kChild | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::kComboBox:
      return {WC_COMBOBOXW, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0};
    case ControlKind::kMultiLineBox:
      return {WC_EDITW, kChild | WS_TABSTOP | ES_READONLY | ES_MULTILINE | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::kReadOnlyBox:
      return {WC_EDITW, kChild | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kImage:
      return {WC_STATICW, kChild | SS_OWNERDRAW, 0};
  }
  return {WC_STATICW, kChild, 0};
}

// The drop-down list shows this many entries before it scrolls.
constexpr int kListedEntries = 8;

// The texts of a multi-line box go through WithCrLf and WithoutCrLf.
bool IsMultiLine(int control) { return ControlById(control).kind == ControlKind::kMultiLineBox; }

// The picture with its colours multiplied by alpha, as AlphaBlend wants them.
HBITMAP LoadPicture(HINSTANCE instance) {
  auto bitmap = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(TOLVEX_IDB_PICTURE),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  DIBSECTION dib{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib ||
      dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmBits == nullptr) {
    return bitmap;
  }
  auto* pixels = static_cast<unsigned char*>(dib.dsBm.bmBits);
  const auto count = static_cast<std::size_t>(dib.dsBm.bmWidth) *
                     static_cast<std::size_t>(std::abs(dib.dsBm.bmHeight));
  bool has_alpha = false;
  for (std::size_t i = 0; i < count; ++i) has_alpha = has_alpha || pixels[i * 4 + 3] != 0;
  for (std::size_t i = 0; i < count; ++i) {
    unsigned char* pixel = pixels + i * 4;
    if (!has_alpha) {
      pixel[3] = 255;  // a picture without alpha is opaque
      continue;
    }
    for (int c = 0; c < 3; ++c) pixel[c] = static_cast<unsigned char>(pixel[c] * pixel[3] / 255);
  }
  return bitmap;
}

}  // namespace

OptionWindow::OptionWindow(HINSTANCE instance) : instance_(instance) {}

OptionWindow::~OptionWindow() {
  // The logic may be gone already: a window still open here unloads without telling it.
  events_ = nullptr;
  if (window_ != nullptr) DestroyWindow(window_);
}

int OptionWindow::Run(OptionEvents& events) {
  events_ = &events;
  if (!Create()) return 1;
  events.OnLoad();
  if (window_ == nullptr) return 0;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetFocus(Control(kOptionTab));

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

bool OptionWindow::Create() {
  INITCOMMONCONTROLSEX common{sizeof common,
                              ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&common);
  if (!RegisterWindowClass(instance_, kWindowClass, WindowProc) ||
      !win32_form::RegisterPanelClass(instance_)) {
    return false;
  }

  // The menu bar's single item has no submenu: a click on it is a command by itself.
  MenuHandle menu(CreateMenu());
  AppendMenuW(menu.Get(), MF_STRING, static_cast<UINT_PTR>(kHelpMenu),
              Utf16FromUtf8(kHelpCaption).c_str());
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass,
                            Utf16FromUtf8(kWindowCaption).c_str(), kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, 100, 100, nullptr, menu.Get(), instance_, nullptr);
  if (window_ == nullptr) return false;
  menu.Release();  // the window's now, destroyed with it
  // Until this is set the window procedure leaves every message to DefWindowProcW.
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  picture_ = GdiObject<HBITMAP>(LoadPicture(instance_));

  CreateControls();
  ApplyDpi(GetDpiForWindow(window_));

  // Centred on the screen the window opens on.
  RECT frame{};
  GetWindowRect(window_, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const RECT& screen = monitor.rcMonitor;
  SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
               screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void OptionWindow::CreateControls() {
  // In the order of the tab indices: the dialog manager's order of the controls is theirs.
  for (const option_form::Control* control : ByTabIndex()) {
    const HWND parent = control->parent == kWindow ? window_ : GetDlgItem(window_, control->parent);
    const WindowKind kind = KindOf(control->kind);
    // A tab strip's caption is its one tab's, not its window text.
    const std::wstring text =
        control->kind == ControlKind::kTabStrip ? std::wstring() : Utf16FromUtf8(control->caption);
    CreateWindowExW(kind.ex_style, kind.class_name, text.c_str(), kind.style, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), instance_, nullptr);
  }
  // The Maps tab's page: its panel over the tab strip's page in the first page's place,
  // hidden until its tab is picked.
  for (const layout::Control* control : layout::ByTabIndex(maps_form::kControls)) {
    const HWND parent = control->parent == layout::kWindow ? window_ : Control(control->parent);
    const win32_form::WindowKind kind = win32_form::KindOf(control->kind);
    const DWORD hidden = control->kind == layout::Kind::kPanel ? WS_VISIBLE : 0;
    CreateWindowExW(kind.ex_style, kind.class_name, Utf16FromUtf8(control->caption).c_str(),
                    kind.style & ~hidden, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), instance_, nullptr);
  }
  const std::string_view pages[] = {ControlById(kOptionTab).caption, maps_form::kTabCaption};
  for (std::size_t page = 0; page < std::size(pages); ++page) {
    std::wstring tab_text = Utf16FromUtf8(pages[page]);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = tab_text.data();
    SendMessageW(Control(kOptionTab), TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&tab));
  }
  // The tab strip lies beneath the panel that covers its page.
  SetWindowPos(Control(kOptionTab), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The window's icons at the sizes the system uses for this DPI (32 x 32 and 16 x 16 at 96).
void OptionWindow::LoadIcons(UINT dpi) {
  auto load = [&](int metric) {
    const int size = GetSystemMetricsForDpi(metric, dpi);
    // Not LR_SHARED, which hands back the first size loaded for every later request.
    return IconHandle(static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(TOLVEX_IDI_PROGRAM), IMAGE_ICON, size, size, 0)));
  };
  IconHandle big = load(SM_CXICON);
  IconHandle small = load(SM_CXSMICON);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  // The old icons go only now that the window no longer shows them.
  big_icon_ = std::move(big);
  small_icon_ = std::move(small);
}

void OptionWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  LoadIcons(dpi);
  GdiObject<HFONT> text_font = CreateUiFont(FontRole::kText, dpi);
  GdiObject<HFONT> tab_font = CreateUiFont(FontRole::kTab, dpi);
  GdiObject<HFONT> button_font = CreateUiFont(FontRole::kButton, dpi);
  for (const option_form::Control& entry : kControls) {
    const HWND control = Control(entry.id);
    const HFONT font = entry.font == FontRole::kText     ? text_font.Get()
                       : entry.font == FontRole::kTab    ? tab_font.Get()
                       : entry.font == FontRole::kButton ? button_font.Get()
                                                         : nullptr;
    if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const TwipsRect& rect = entry.rect;
    // A combo box's window height includes its drop-down list.
    const int height = entry.kind == ControlKind::kComboBox
                           ? Scaled(rect.height, dpi) * (kListedEntries + 1)
                           : Scaled(rect.height, dpi);
    MoveWindow(control, Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.width, dpi),
               height, TRUE);
  }
  for (const layout::Control& entry : maps_form::kControls) {
    const HWND control = Control(entry.id);
    const HFONT font = entry.font == FontRole::kText     ? text_font.Get()
                       : entry.font == FontRole::kButton ? button_font.Get()
                                                         : nullptr;
    if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    MoveWindow(control, Scaled(entry.rect.left, dpi), Scaled(entry.rect.top, dpi),
               Scaled(entry.rect.width, dpi), Scaled(entry.rect.height, dpi), TRUE);
  }
  win32_form::SetColumns(Control(maps_form::kMapList), maps_form::kMapColumns, dpi);
  // The old fonts go only now that no control uses them any more.
  text_font_ = std::move(text_font);
  tab_font_ = std::move(tab_font);
  button_font_ = std::move(button_font);
  // The closed combo box as high as the table says, like every other control.
  win32_form::FitComboHeight(Control(kApplicationBox),
                             Scaled(ControlById(kApplicationBox).rect.height, dpi));

  RECT frame{0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, WS_EX_CONTROLPARENT, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The menu bar may wrap or change height with the DPI: fix the client size once more.
  RECT client{};
  GetClientRect(window_, &client);
  const int missing = Scaled(kClientHeight, dpi) - client.bottom;
  if (missing != 0) {
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND OptionWindow::Control(int id) const {
  if (window_ == nullptr) return nullptr;
  if (const HWND direct = GetDlgItem(window_, id); direct != nullptr) return direct;
  const HWND first = GetDlgItem(GetDlgItem(window_, kOptionPanel), id);
  return first != nullptr ? first : GetDlgItem(GetDlgItem(window_, maps_form::kMapsPanel), id);
}

void OptionWindow::SetControlText(int id, const std::wstring& text) {
  const HWND control = Control(id);
  if (WindowTextOf(control) != text) SetWindowTextW(control, text.c_str());
}

void OptionWindow::Show(const OptionForm& form) {
  const HWND combo = Control(kIdList);
  std::vector<std::wstring> ids;
  ids.reserve(form.ids.size());
  for (const std::string& id : form.ids) ids.push_back(Utf16FromUtf8(id));
  if (win32_form::ComboEntries(combo) != ids) {
    // Resetting the list would also clear the text field, which is set on its own below.
    const std::wstring text = WindowTextOf(combo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& id : ids) {
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(id.c_str()));
    }
    SetWindowTextW(combo, text.c_str());
  }
  for (const FormText& text : kFormTexts) {
    const std::wstring shown = Utf16FromUtf8(form.*text.field);
    SetControlText(text.control, IsMultiLine(text.control) ? WithCrLf(shown) : shown);
  }
  areas_ = form.areas;
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < form.ids.size(); ++i) {
    rows.push_back({form.ids[i], i < form.areas.size() ? form.areas[i] : std::string()});
  }
  const HWND maps = Control(maps_form::kMapList);
  win32_form::SetRows(maps, rows);
  win32_form::SelectRow(maps, form.map_row);
  SendMessageW(Control(maps_form::kAskBox), BM_SETCHECK, form.ask ? BST_CHECKED : BST_UNCHECKED, 0);
}

OptionForm OptionWindow::Read() const {
  OptionForm form;
  for (const std::wstring& id : win32_form::ComboEntries(Control(kIdList))) {
    form.ids.push_back(Utf8FromUtf16(id));
  }
  for (const FormText& text : kFormTexts) {
    const std::wstring shown = WindowTextOf(Control(text.control));
    form.*text.field = Utf8FromUtf16(IsMultiLine(text.control) ? WithoutCrLf(shown) : shown);
  }
  form.areas = areas_;
  form.map_row = win32_form::SelectedRow(Control(maps_form::kMapList));
  form.ask = SendMessageW(Control(maps_form::kAskBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return form;
}

void OptionWindow::ShowError(std::string_view text, std::string_view title) {
  // Owned by the window once it is shown, so that the box stays in front of it; during the
  // load the window is still hidden and the box stands alone.
  const HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
  platform::win32::ShowErrorBox(owner, text, title);
}

void OptionWindow::Close() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void OptionWindow::RunMapEditor(
    const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) {
  MapEditorWindow editor(instance_);
  const std::unique_ptr<MapEditorEvents> logic = make_logic(editor);
  if (logic != nullptr) editor.Run(window_, *logic);
}

std::optional<std::size_t> OptionWindow::ChooseItem(std::string_view title,
                                                    const std::vector<std::string>& items) {
  ItemChooserWindow chooser(instance_);
  return chooser.Run(window_, title, items);
}

void OptionWindow::ShowPage(int page) {
  const HWND tabs = Control(kOptionTab);
  if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != page) {
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  const HWND shown = Control(page == 0 ? kOptionPanel : maps_form::kMapsPanel);
  const HWND hidden = Control(page == 0 ? maps_form::kMapsPanel : kOptionPanel);
  // The focus leaves a page that goes out of sight for the tab strip, as a click on a tab does.
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hidden, focus)) SetFocus(tabs);
  ShowWindow(hidden, SW_HIDE);
  ShowWindow(shown, SW_SHOW);
}

// Keys the dialog manager would get wrong for this window: Tab follows the tab indices across
// the panel and the window; Enter presses only a focused button (there is no default button,
// so Enter in the combo box must not press OK and save).
bool OptionWindow::PreTranslate(const MSG& message) {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    MoveFocus(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  // Ctrl+Tab and Ctrl+Shift+Tab switch the pages, as tab strips do.
  if (message.wParam == VK_TAB) {
    if (SendMessageW(Control(kApplicationBox), CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
    const auto current = static_cast<int>(SendMessageW(Control(kOptionTab), TCM_GETCURSEL, 0, 0));
    ShowPage((current + 1) % 2);  // two pages: forwards and backwards are the same
    return true;
  }
  if (message.wParam == VK_RETURN) {
    if (SendMessageW(Control(kApplicationBox), CB_GETDROPPEDSTATE, 0, 0) != 0) return false;
    const HWND focus = GetFocus();
    if (focus != nullptr && IsClass(focus, WC_BUTTONW)) SendMessageW(focus, BM_CLICK, 0, 0);
    // Enter on a map edits it, as a double-click does.
    if (focus != nullptr && focus == Control(maps_form::kMapList) && events_ != nullptr &&
        win32_form::SelectedRow(focus) >= 0) {
      events_->OnEditMap();
    }
    return true;
  }
  return false;
}

void OptionWindow::MoveFocus(bool backwards) {
  HWND focus = GetFocus();
  // The combo box's text field is a child of the combo box.
  if (focus != nullptr && GetParent(focus) == Control(kApplicationBox)) focus = GetParent(focus);
  // Every control in tab order, the first page's, then the Maps page's: Tab stops at the
  // shown page's stops. A focused label (its access key was pressed) counts as its place.
  std::vector<std::pair<int, bool>> order;  // id, whether Tab stops there
  for (const option_form::Control* control : ByTabIndex()) {
    order.emplace_back(control->id, option_form::TakesFocus(control->kind));
  }
  for (const layout::Control* control : layout::ByTabIndex(maps_form::kControls)) {
    order.emplace_back(control->id, layout::TakesFocus(control->kind));
  }
  const int count = static_cast<int>(order.size());
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (Control(order[static_cast<std::size_t>(i)].first) == focus) current = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int index = current < 0
                          ? (backwards ? count - step : step - 1)
                          : ((current + (backwards ? -step : step)) % count + count) % count;
    const auto& [id, stop] = order[static_cast<std::size_t>(index)];
    const HWND next = Control(id);
    if (stop && next != nullptr && IsWindowVisible(next) && IsWindowEnabled(next)) {
      SetFocus(next);
      if (IsClass(next, WC_EDITW)) SendMessageW(next, EM_SETSEL, 0, -1);
      return;
    }
  }
}

void OptionWindow::DrawPicture(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP bitmap{};
  if (!picture_.Get() || GetObjectW(picture_.Get(), sizeof bitmap, &bitmap) == 0) return;
  const MemoryDc memory(CreateCompatibleDC(item.hDC));
  const HGDIOBJ old = SelectObject(memory.Get(), picture_.Get());
  // The picture grows with the DPI like every other part of the window.
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
             item.rcItem.bottom - item.rcItem.top, memory.Get(), 0, 0, bitmap.bmWidth,
             std::abs(bitmap.bmHeight), blend);
  SelectObject(memory.Get(), old);
}

LRESULT CALLBACK OptionWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<OptionWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT OptionWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = window_;
  if (events_ == nullptr) {
    if (message == WM_NCDESTROY) window_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (id == kOkButton && code == BN_CLICKED) {
        events_->OnOk();
      } else if (id == kCancelButton && code == BN_CLICKED) {
        events_->OnCancel();
      } else if (id == kHelpMenu && code == 0 && lparam == 0) {
        events_->OnHelp();
      } else if (code == BN_CLICKED && id == maps_form::kNewButton) {
        events_->OnNewMap();
      } else if (code == BN_CLICKED && id == maps_form::kEditButton) {
        events_->OnEditMap();
      } else if (code == BN_CLICKED && id == maps_form::kDuplicateButton) {
        events_->OnDuplicateMap();
      } else if (code == BN_CLICKED && id == maps_form::kDeleteButton) {
        events_->OnDeleteMap();
      } else if (code == BN_CLICKED && id == maps_form::kCatalogueButton) {
        events_->OnCatalogue();
      } else if (code == BN_CLICKED && id == maps_form::kAskBox) {
        events_->OnAskChange();
      } else if (id == kApplicationBox && code == CBN_SELCHANGE) {
        // The text field takes the picked entry only after this notification: put it there
        // first, so that the logic reads the entry that was picked.
        const HWND combo = Control(kApplicationBox);
        const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
          const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
          std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
          SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(text.data()));
          SetWindowTextW(combo, text.c_str());
          events_->OnPick();
        }
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      // Read-only boxes keep the white of text boxes; labels the panel's colour.
      const auto control = reinterpret_cast<HWND>(lparam);
      if (IsClass(control, WC_EDITW)) {
        const auto dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      return DefWindowProcW(window, message, wparam, lparam);
    }
    case WM_NEXTDLGCTL:
      // A label's access key: the focus goes to the label, then on to its control.
      if (LOWORD(lparam) != 0) {
        win32_form::MoveFocusAsAsked(window, wparam, lparam);
      } else {
        MoveFocus(wparam != 0);
      }
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == static_cast<UINT_PTR>(kOptionTab) && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      } else if (header->idFrom == static_cast<UINT_PTR>(maps_form::kMapList) &&
                 header->code == NM_DBLCLK &&
                 reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem >= 0) {
        events_->OnEditMap();
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlID == static_cast<UINT>(kPicture)) {
        DrawPicture(*item);
        return TRUE;
      }
      return FALSE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        last_focus_ = GetFocus();
      } else if (last_focus_ != nullptr && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
        return 0;
      }
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      events_->OnUnload();
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      return DefWindowProcW(window, message, wparam, lparam);
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace tolvex
