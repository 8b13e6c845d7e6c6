#include "dialog/win32/place_card_win32.h"

#include <commctrl.h>

#include "dialog/place_card_layout.h"
#include "platform/win32/message_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"

namespace tolvex::win32 {
namespace {

using namespace place_card_layout;
using platform::win32::Utf16FromUtf8;
using platform::win32::Utf8FromUtf16;

constexpr wchar_t kWindowClass[] = L"TolvexGatewayCard";

// The copy menu's command ids: kFirstCopyItem + the item's index.
constexpr UINT kFirstCopyItem = 100;

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

PlaceCardWindow::PlaceCardWindow(HINSTANCE instance) : FormWindow(instance) {}

PlaceCardWindow::~PlaceCardWindow() {
  // The logic may be gone already: a window still open here unloads without telling it.
  events_ = nullptr;
  Destroy();
}

int PlaceCardWindow::Run(PlaceCardEvents& events) {
  events_ = &events;
  if (!Create(kWindowClass, kWindowLayout, nullptr, {{kMapList, kMapColumns}})) return 1;
  events.OnLoad();
  // Without a text, the Place box waits for one.
  RunMessages(form_.place.empty() ? kPlaceBox : 0);
  return 0;
}

void PlaceCardWindow::Show(const PlaceCardForm& form) {
  form_ = form;
  showing_ = true;
  for (const FormText& text : kFormTexts) {
    // The box being typed in keeps its caret: its text is already the form's.
    const std::wstring wide = Utf16FromUtf8(form.*text.field);
    if (WindowTextOf(Control(text.control)) != wide) {
      SetText(Control(text.control), wide);
    }
  }
  showing_ = false;
  EnableWindow(Control(kOpenButton), form.can_open ? TRUE : FALSE);
  EnableWindow(Control(kCopyButton), form.can_open ? TRUE : FALSE);
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < form.ids.size(); ++i) {
    rows.push_back({form.ids[i], i < form.areas.size() ? form.areas[i] : std::string()});
  }
  const HWND list = Control(kMapList);
  SetRows(list, rows);
  SelectRow(list, form.ids.empty() ? -1 : static_cast<int>(form.selected));
  SendMessageW(Control(kKeepOpenBox), BM_SETCHECK, form.keep_open ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(Control(kAlwaysBox), BM_SETCHECK, form.always ? BST_CHECKED : BST_UNCHECKED, 0);
}

PlaceCardForm PlaceCardWindow::Read() const {
  PlaceCardForm form = form_;
  form.place = Utf8FromUtf16(WindowTextOf(Control(kPlaceBox)));
  const int row = SelectedRow(Control(kMapList));
  form.selected = row < 0 ? form_.selected : static_cast<std::size_t>(row);
  form.keep_open = Checked(Control(kKeepOpenBox));
  form.always = Checked(Control(kAlwaysBox));
  return form;
}

void PlaceCardWindow::ShowError(std::string_view text, std::string_view title) {
  // Owned by the window once it is shown, so that the box stays in front of it.
  const HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
  platform::win32::ShowErrorBox(owner, text, title);
}

void PlaceCardWindow::CopyText(std::string_view text) { win32::CopyToClipboard(window_, text); }

std::string PlaceCardWindow::ClipboardText() const {
  if (!OpenClipboard(window_)) return {};
  std::string text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data)); wide != nullptr) {
      text = Utf8FromUtf16(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PlaceCardWindow::Close() { Destroy(); }

// The copy items drop down below the button; the keyboard works them as any menu.
void PlaceCardWindow::DropCopyMenu() {
  platform::win32::MenuHandle menu(CreatePopupMenu());
  for (std::size_t i = 0; i < form_.copy_labels.size(); ++i) {
    AppendMenuW(menu.Get(), MF_STRING, kFirstCopyItem + i,
                Utf16FromUtf8(form_.copy_labels[i]).c_str());
  }
  RECT button{};
  GetWindowRect(Control(kCopyButton), &button);
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     button.left, button.bottom, 0, window_, nullptr));
  if (chosen >= kFirstCopyItem && events_ != nullptr) events_->OnCopy(chosen - kFirstCopyItem);
}

// Ctrl+C copies the coordinates and Ctrl+Shift+C the selected map's link wherever the focus
// is, except that a box with selected text copies its selection as boxes do.
bool PlaceCardWindow::PreTranslate(const MSG& message) {
  if (window_ != nullptr && events_ != nullptr && message.message == WM_KEYDOWN &&
      message.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 &&
      (message.hwnd == window_ || IsChild(window_, message.hwnd))) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const HWND focus = GetFocus();
    if (!shift && focus != nullptr && IsClass(focus, WC_EDITW)) {
      DWORD start = 0;
      DWORD end = 0;
      SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      if (start != end) return false;
    }
    if (shift) {
      events_->OnCopyMapLink();
    } else {
      events_->OnCopyCoordinates();
    }
    return true;
  }
  return FormWindow::PreTranslate(message);
}

LRESULT PlaceCardWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (events_ == nullptr) return DefWindowProcW(window_, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == kPlaceBox && HIWORD(wparam) == EN_CHANGE) {
        if (!showing_) events_->OnPlaceChange();
        return 0;
      }
      if (HIWORD(wparam) != BN_CLICKED) return 0;
      if (!layout::RaiseClick<PlaceCardEvents>(kButtonEvents, id, *events_) && id == kCopyButton) {
        DropCopyMenu();
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == static_cast<UINT_PTR>(kMapList) && header->code == NM_DBLCLK &&
          reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem >= 0) {
        events_->OnOpen();
      }
      return 0;
    }
    case WM_CLOSE:
      events_->OnCancel();
      return 0;
    case WM_DESTROY:
      events_->OnUnload();
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace tolvex::win32
