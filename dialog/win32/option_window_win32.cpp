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

namespace tolvex::win32 {
namespace {

using namespace option_layout;
using platform::win32::GdiObject;
using platform::win32::MemoryDc;
using platform::win32::MenuHandle;
using platform::win32::Utf16FromUtf8;
using platform::win32::Utf8FromUtf16;

constexpr wchar_t kWindowClass[] = L"TolvexGatewayOption";

// The texts of a multi-line box go through WithCrLf and WithoutCrLf.
bool IsMultiLine(int control) {
  return layout::IsMultiLine(layout::FindControl(kControls, control)->kind);
}

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

OptionWindow::OptionWindow(HINSTANCE instance) : FormWindow(instance) {}

OptionWindow::~OptionWindow() {
  // The logic may be gone already: a window still open here unloads without telling it.
  events_ = nullptr;
  Destroy();
}

int OptionWindow::Run(OptionEvents& events) {
  events_ = &events;
  // The menu bar's single item has no submenu: a click on it is a command by itself.
  MenuHandle menu(CreateMenu());
  AppendMenuW(menu.Get(), MF_STRING, static_cast<UINT_PTR>(kHelpMenu),
              Utf16FromUtf8(kHelpCaption).c_str());
  const bool created = Create(kWindowClass, kWindowLayout, nullptr,
                              {{maps_layout::kMapList, maps_layout::kMapColumns}},
                              {maps_layout::kControls}, menu.Get());
  if (window_ != nullptr) menu.Release();  // the window's now, destroyed with it
  if (!created) return 1;
  events.OnLoad();
  if (window_ == nullptr) return 0;
  RunMessages();
  return 0;
}

void OptionWindow::ControlsCreated() {
  picture_ = GdiObject<HBITMAP>(LoadPicture(instance_));
  // The Maps tab's page lies over the tab strip's page in the first page's place, hidden until
  // its tab is picked.
  ShowWindow(Control(maps_layout::kMapsPanel), SW_HIDE);
  const std::string_view pages[] = {layout::FindControl(kControls, kOptionTab)->caption,
                                    maps_layout::kTabCaption};
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

void OptionWindow::Show(const OptionForm& form) {
  const HWND combo = Control(kIdList);
  std::vector<std::wstring> ids;
  ids.reserve(form.ids.size());
  for (const std::string& id : form.ids) ids.push_back(Utf16FromUtf8(id));
  if (ComboEntries(combo) != ids) {
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
    SetText(Control(text.control), IsMultiLine(text.control) ? WithCrLf(shown) : shown);
  }
  areas_ = form.areas;
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < form.ids.size(); ++i) {
    rows.push_back({form.ids[i], i < form.areas.size() ? form.areas[i] : std::string()});
  }
  const HWND maps = Control(maps_layout::kMapList);
  SetRows(maps, rows);
  SelectRow(maps, form.map_row);
  SendMessageW(Control(maps_layout::kAskBox), BM_SETCHECK, form.ask ? BST_CHECKED : BST_UNCHECKED,
               0);
}

OptionForm OptionWindow::Read() const {
  OptionForm form;
  for (const std::wstring& id : ComboEntries(Control(kIdList))) {
    form.ids.push_back(Utf8FromUtf16(id));
  }
  for (const FormText& text : kFormTexts) {
    const std::wstring shown = WindowTextOf(Control(text.control));
    form.*text.field = Utf8FromUtf16(IsMultiLine(text.control) ? WithoutCrLf(shown) : shown);
  }
  form.areas = areas_;
  form.map_row = SelectedRow(Control(maps_layout::kMapList));
  form.ask = SendMessageW(Control(maps_layout::kAskBox), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return form;
}

void OptionWindow::ShowError(std::string_view text, std::string_view title) {
  // Owned by the window once it is shown, so that the box stays in front of it; during the
  // load the window is still hidden and the box stands alone.
  const HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
  platform::win32::ShowErrorBox(owner, text, title);
}

void OptionWindow::Close() { Destroy(); }

void OptionWindow::RunMapEditor(
    const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) {
  MapEditorWindow editor(instance_);
  const std::unique_ptr<MapEditorEvents> logic = make_logic(editor);
  if (logic != nullptr) editor.Run(window_, *logic);
}

std::optional<std::size_t> OptionWindow::ChooseItem(std::string_view title,
                                                    const std::vector<CatalogueRow>& rows) {
  ItemChooserWindow chooser(instance_);
  return chooser.Run(window_, title, rows);
}

void OptionWindow::ShowPage(int page) {
  const HWND tabs = Control(kOptionTab);
  if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != page) {
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  const HWND shown = Control(page == 0 ? kOptionPanel : maps_layout::kMapsPanel);
  const HWND hidden = Control(page == 0 ? maps_layout::kMapsPanel : kOptionPanel);
  // The focus leaves a page that goes out of sight for the tab strip, as a click on a tab does.
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hidden, focus)) SetFocus(tabs);
  ShowWindow(hidden, SW_HIDE);
  ShowWindow(shown, SW_SHOW);
}

bool OptionWindow::PreTranslate(const MSG& message) {
  if (window_ == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    MoveFocus(GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  // Ctrl+Tab and Ctrl+Shift+Tab switch the pages, as tab strips do.
  if (message.wParam == VK_TAB) {
    if (ListDroppedDown()) return false;
    const auto current = static_cast<int>(SendMessageW(Control(kOptionTab), TCM_GETCURSEL, 0, 0));
    ShowPage((current + 1) % 2);  // two pages: forwards and backwards are the same
    return true;
  }
  if (message.wParam == VK_RETURN) {
    if (ListDroppedDown()) return false;
    const HWND focus = GetFocus();
    if (focus != nullptr && IsClass(focus, WC_BUTTONW)) SendMessageW(focus, BM_CLICK, 0, 0);
    // Enter on a map edits it, as a double-click does.
    if (focus != nullptr && focus == Control(maps_layout::kMapList) && events_ != nullptr &&
        SelectedRow(focus) >= 0) {
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
  for (const std::span<const layout::Control> table : tables_) {
    for (const layout::Control* control : layout::ByTabIndex(table)) {
      order.emplace_back(control->id, layout::TakesFocus(control->kind));
    }
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

LRESULT OptionWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND window = window_;
  if (events_ == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (id == kHelpMenu && code == 0 && lparam == 0) {
        events_->OnHelp();
        return 0;
      }
      if (code == BN_CLICKED && layout::RaiseClick<OptionEvents>(kButtonEvents, id, *events_)) {
        return 0;
      }
      if (id == kApplicationBox && code == CBN_SELCHANGE) {
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
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == static_cast<UINT_PTR>(kOptionTab) && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      } else if (header->idFrom == static_cast<UINT_PTR>(maps_layout::kMapList) &&
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
    case WM_DESTROY:
      events_->OnUnload();
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace tolvex::win32
