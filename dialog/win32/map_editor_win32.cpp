#include "dialog/win32/map_editor_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "dialog/map_editor_layout.h"
#include "dialog/maps_layout.h"
#include "platform/win32/message_win32.h"
#include "platform/win32/text_win32.h"

namespace tolvex::win32 {
namespace {

using platform::win32::Utf16FromUtf8;
using platform::win32::Utf8FromUtf16;
namespace editor = map_editor_layout;
namespace chooser = maps_layout::chooser;

constexpr wchar_t kEditorClass[] = L"TolvexGatewayMapEditor";
constexpr wchar_t kChooserClass[] = L"TolvexGatewayChooser";

bool IsMultiLine(int id) {
  const layout::Control* control = layout::FindControl(editor::kControls, id);
  return control != nullptr && (control->kind == layout::Kind::kMultiLineEditBox ||
                                control->kind == layout::Kind::kReadOnlyMultiLine);
}

}  // namespace

MapEditorWindow::MapEditorWindow(HINSTANCE instance) : FormWindow(instance) {}

MapEditorWindow::~MapEditorWindow() {
  events_ = nullptr;
  Destroy();
}

void MapEditorWindow::Run(HWND owner, MapEditorEvents& events) {
  events_ = &events;
  if (!Create(kEditorClass, editor::kWindowLayout, owner)) return;
  events.OnLoad();
  RunMessages();
}

void MapEditorWindow::Show(const MapEditorForm& form) {
  form_ = form;
  showing_ = true;
  for (const editor::FormText& text : editor::kFormTexts) {
    const std::wstring shown = Utf16FromUtf8(form.option.*text.field);
    SetText(Control(text.control), IsMultiLine(text.control) ? WithCrLf(shown) : shown);
  }
  SetText(Control(editor::kPreviewBox), WithCrLf(Utf16FromUtf8(form.preview)));
  // The datums to pick from; a datum the file holds besides them stays as it is until the
  // user picks another.
  std::vector<std::wstring> datums;
  for (const std::string_view datum : editor::kDatums) datums.push_back(Utf16FromUtf8(datum));
  const std::wstring datum = Utf16FromUtf8(form.option.datum);
  if (std::find(datums.begin(), datums.end(), datum) == datums.end()) datums.push_back(datum);
  const HWND list = Control(editor::kDatumList);
  if (ComboEntries(list) != datums) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : datums) {
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
  }
  const auto index = std::distance(datums.begin(), std::find(datums.begin(), datums.end(), datum));
  if (SendMessageW(list, CB_GETCURSEL, 0, 0) != index) {
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  showing_ = false;
}

MapEditorForm MapEditorWindow::Read() const {
  MapEditorForm form = form_;
  for (const editor::FormText& text : editor::kFormTexts) {
    const std::wstring shown = WindowTextOf(Control(text.control));
    form.option.*text.field = Utf8FromUtf16(IsMultiLine(text.control) ? WithoutCrLf(shown) : shown);
  }
  const HWND list = Control(editor::kDatumList);
  const auto index = SendMessageW(list, CB_GETCURSEL, 0, 0);
  const std::vector<std::wstring> datums = ComboEntries(list);
  if (index >= 0 && static_cast<std::size_t>(index) < datums.size()) {
    form.option.datum = Utf8FromUtf16(datums[static_cast<std::size_t>(index)]);
  }
  return form;
}

void MapEditorWindow::ShowError(std::string_view text, std::string_view title) {
  const HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : owner_;
  platform::win32::ShowErrorBox(owner, text, title);
}

void MapEditorWindow::Close() { Destroy(); }

LRESULT MapEditorWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  if (events_ == nullptr) return DefWindowProcW(window_, message, wparam, lparam);
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (code == BN_CLICKED &&
          layout::RaiseClick<MapEditorEvents>(editor::kButtonEvents, id, *events_)) {
        return 0;
      }
      if (!showing_ && ((code == EN_CHANGE && id != editor::kPreviewBox) ||
                        (code == CBN_SELCHANGE && id == editor::kDatumList))) {
        events_->OnChange();
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

ItemChooserWindow::ItemChooserWindow(HINSTANCE instance) : FormWindow(instance) {}

ItemChooserWindow::~ItemChooserWindow() { Destroy(); }

std::optional<std::size_t> ItemChooserWindow::Run(HWND owner, std::string_view title,
                                                  const std::vector<CatalogueRow>& rows) {
  chosen_.reset();
  if (!Create(kChooserClass, chooser::kWindowLayout, owner,
              {{chooser::kItemList, chooser::kColumns}})) {
    return std::nullopt;
  }
  SetWindowTextW(window_, Utf16FromUtf8(title).c_str());
  std::vector<std::vector<std::string>> shown;
  shown.reserve(rows.size());
  for (const CatalogueRow& row : rows) shown.push_back({row.id, row.area});
  const HWND list = Control(chooser::kItemList);
  SetRows(list, shown);
  if (!shown.empty()) SelectRow(list, 0);
  RunMessages();
  return chosen_;
}

LRESULT ItemChooserWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const auto choose = [&] {
    const int row = SelectedRow(Control(chooser::kItemList));
    if (row < 0) return;
    chosen_ = static_cast<std::size_t>(row);
    Destroy();
  };
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == chooser::kOkButton) {
        choose();
      } else if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == chooser::kCancelButton) {
        Destroy();
      }
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == static_cast<UINT_PTR>(chooser::kItemList) &&
          header->code == NM_DBLCLK) {
        choose();
      }
      return 0;
    }
    case WM_CLOSE:
      Destroy();
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace tolvex::win32
