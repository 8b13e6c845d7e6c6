// tolvex_driver: starts a program with an exact command line and plays the user's part while
// it runs, printing what it sees one item a line (UTF-8, fields separated by "|"):
//
//   tolvex_driver run TIMEOUT_MS COMMAND_LINE
//       answers every message box of the program with OK and waits for its end; U+FFFF in
//       COMMAND_LINE stands for a lone surrogate (0xD800), which no UTF-8 argument can carry
//   tolvex_driver host TIMEOUT_MS FOLDER ACTION...
//       runs the option window itself, on a second thread, for FOLDER's option file: the
//       same actions, and fonts and icons become readable (their handles belong to the
//       process that made them)
//   tolvex_driver dialog TIMEOUT_MS COMMAND_LINE ACTION...
//       answers message boxes until the option window or the place card is shown, then runs
//       the actions:
//         dump | read | pick N | type TEXT | click ID | key esc|enter|tab | menu (Alt+H)
//         | close | snap FILE.bmp | wait | lock FILE (held open, unshared, until the end)
//         | touch FILE (creates it) | await FILE (until it exists)
//         | press KEYS (real key strokes, as "ctrl+shift+c", "alt+a", "down", "f")
//         | chars TEXT (typed into the focused control) | within CAPTION (the actions that
//         follow act on the program's window of that caption, once it is shown) | back (on the
//         first window again) | clipboard (once the program has ended, its text is read
//         while this program keeps the session's desktop up: "clipboard|TEXT" or "|none")
//   tolvex_driver open URL [TIMEOUT_MS]
//       hands URL to ShellExecuteW with the verb "open", as a browser does for a link of a
//       scheme it does not handle itself, and prints "opened|RESULT" (above 32: started);
//       with TIMEOUT_MS, then answers the boxes of all that this starts, and they in turn, and
//       prints "started|COUNT" once they have ended or time ran out (they are then killed)
//
// Lines: "box|TITLE|TEXT|BUTTONS|icon or none" for each message box, "exit|CODE" at the program's
// end, "timeout" when it did not end in time (it is then killed), "error|WHAT" when an action
// cannot be carried out.
#include <windows.h>
// windows.h first: commctrl.h relies on its types.
#include <commctrl.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "dialog/frm_option.h"
#include "dialog/win32/option_window_win32.h"
#include "platform/file_replace.h"
#include "platform/win32/com_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/xml_document.h"

namespace {

using tolvex::platform::win32::KernelHandle;
using tolvex::platform::win32::Utf16FromUtf8;
using tolvex::platform::win32::Utf8FromUtf16;

constexpr wchar_t kOptionCaption[] = L"TolvexGateway   - Option -";
constexpr wchar_t kCardCaption[] = L"TolvexGateway   - Open -";
constexpr DWORD kPollMs = 20;

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// WM_GETTEXT, not GetWindowTextW: for a window of another process GetWindowTextW returns only
// a caption stored by the system, which edit and combo boxes do not have.
std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 2000, &length);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 2000, &got);
  text.resize(std::min<std::size_t>(static_cast<std::size_t>(got), text.size() - 1));
  return Utf8FromUtf16(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Utf8FromUtf16(name);
}

// Line breaks would split an output line: show them as \r and \n.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// What is being driven: a program, or the option window's thread in this process.
struct Target {
  DWORD process_id = 0;
  DWORD thread_id = 0;
  HANDLE process = nullptr;  // a process or thread handle: signalled at the end
  bool is_thread = false;
};

std::vector<HWND> TopLevelWindowsOf(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search{process_id, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process_id && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM context) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Prints a message box's title, text, buttons and icon, then presses its OK button.
void AnswerMessageBox(HWND box) {
  wchar_t text[4096] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 4096);
  std::string buttons;
  for (HWND child : Descendants(box)) {
    if (ClassOf(child) == "Button" && IsWindowVisible(child)) {
      buttons += (buttons.empty() ? "" : ",") + WindowText(child);
    }
  }
  // Which icon a box shows cannot be read from another process (its icon handle is not
  // usable there): the driver reports whether there is one.
  const char* icon_name = "none";
  for (HWND child : Descendants(box)) {
    if (ClassOf(child) == "Static" && SendMessageW(child, STM_GETICON, 0, 0) != 0) {
      icon_name = "icon";
    }
  }
  Print("box|" + WindowText(box) + "|" + Escaped(Utf8FromUtf16(text)) + "|" + buttons + "|" +
        icon_name);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

// Answers message boxes until `stop` says so, the program ends or time runs out.
// Returns false when the program ended or time ran out.
template <typename Stop>
bool Watch(const Target& target, DWORD deadline, Stop stop) {
  std::vector<HWND> answered;
  for (;;) {
    for (HWND window : TopLevelWindowsOf(target.process_id)) {
      if (ClassOf(window) != "#32770") continue;
      bool seen = false;
      for (HWND a : answered) seen = seen || a == window;
      if (seen) continue;
      answered.push_back(window);
      AnswerMessageBox(window);
    }
    if (stop()) return true;
    if (WaitForSingleObject(target.process, kPollMs) == WAIT_OBJECT_0) return false;
    if (GetTickCount() > deadline) return false;
  }
}

void Finish(const Target& target, DWORD deadline) {
  Watch(target, deadline, [] { return false; });
  DWORD code = 0;
  if (WaitForSingleObject(target.process, 0) == WAIT_OBJECT_0 &&
      (target.is_thread ? GetExitCodeThread(target.process, &code)
                        : GetExitCodeProcess(target.process, &code))) {
    Print("exit|" + std::to_string(code));
  } else {
    Print("timeout");
    if (target.is_thread) ExitProcess(99);
    TerminateProcess(target.process, 99);
  }
}

HWND FindWindowCaptioned(const Target& target, const std::wstring& wanted) {
  for (HWND window : TopLevelWindowsOf(target.process_id)) {
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    if (wanted == caption) return window;
  }
  return nullptr;
}

HWND FindOptionWindow(const Target& target) {
  const HWND option = FindWindowCaptioned(target, kOptionCaption);
  return option != nullptr ? option : FindWindowCaptioned(target, kCardCaption);
}

HWND ControlById(HWND window, int id) {
  for (HWND child : Descendants(window)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

std::string FontOf(HWND control) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (font == nullptr) return "none";
  LOGFONTW logfont{};
  if (GetObjectW(font, sizeof logfont, &logfont) == 0) return "unknown";
  return Utf8FromUtf16(logfont.lfFaceName) + "," + std::to_string(logfont.lfHeight) + "," +
         std::to_string(logfont.lfWeight) + "," + std::to_string(logfont.lfCharSet);
}

// A child's rectangle in its parent's client coordinates.
std::string GeometryOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right - rect.left) + "," + std::to_string(rect.bottom - rect.top);
}

void Dump(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  RECT frame{};
  GetWindowRect(window, &frame);
  const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  Print("window|" + WindowText(window) + "|" + ClassOf(window) + "|client " +
        std::to_string(client.right) + "," + std::to_string(client.bottom) + "|dpi " +
        std::to_string(GetDpiForWindow(window)));
  // Centred: the frame's centre against the monitor's centre, in pixels.
  const LONG dx = (frame.left + frame.right) - (info.rcMonitor.left + info.rcMonitor.right);
  const LONG dy = (frame.top + frame.bottom) - (info.rcMonitor.top + info.rcMonitor.bottom);
  Print("centre-offset|" + std::to_string(dx / 2) + "," + std::to_string(dy / 2));

  const HMENU menu = GetMenu(window);
  const int items = menu == nullptr ? 0 : GetMenuItemCount(menu);
  for (int i = 0; i < items; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    Print("menu|" + Utf8FromUtf16(text) + "|" +
          std::to_string(static_cast<int>(GetMenuItemID(menu, i))) + "|" +
          (GetSubMenu(menu, i) == nullptr ? "no submenu" : "submenu"));
  }
  for (const int kind : {ICON_BIG, ICON_SMALL}) {
    const auto icon =
        reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, static_cast<WPARAM>(kind), 0));
    ICONINFO icon_info{};
    BITMAP bitmap{};
    if (icon != nullptr && GetIconInfo(icon, &icon_info)) {
      GetObjectW(icon_info.hbmColor != nullptr ? icon_info.hbmColor : icon_info.hbmMask,
                 sizeof bitmap, &bitmap);
      if (icon_info.hbmColor != nullptr) DeleteObject(icon_info.hbmColor);
      DeleteObject(icon_info.hbmMask);
    }
    Print(std::string("icon|") + (kind == ICON_BIG ? "big" : "small") + "|" +
          std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight));
  }
  for (HWND child : Descendants(window)) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    Print("control|" + std::to_string(GetDlgCtrlID(child)) + "|" + ClassOf(child) + "|" +
          Escaped(WindowText(child)) + "|parent " + std::to_string(GetDlgCtrlID(GetParent(child))) +
          "|" + GeometryOf(child) + "|" + FontOf(child) + "|style " + std::to_string(style));
  }
  const HWND tabs = FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
  if (tabs != nullptr) {
    const auto count = SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (LPARAM i = 0; i < count; ++i) {
      wchar_t text[64] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 64;
      SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      Print("tab|" + Utf8FromUtf16(text));
    }
  }
}

std::string ComboItems(HWND combo) {
  std::string items;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LPARAM i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    items += (i == 0 ? "" : ",") + Utf8FromUtf16(text);
  }
  return items;
}

HWND FocusOf(const Target& target) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(target.thread_id, &info);
  return info.hwndFocus;
}

// Waits until the program's thread has handled everything posted to it so far.
void Settle(HWND window) { SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr); }

void PostKey(const Target& target, HWND window, WPARAM key) {
  HWND focus = FocusOf(target);
  if (focus == nullptr) focus = window;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
  Settle(window);
}

// The clipboard's text, or "none".
std::string ClipboardText() {
  std::string text = "none";
  if (!OpenClipboard(nullptr)) return text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data)); wide != nullptr) {
      text = Escaped(Utf8FromUtf16(wide));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// The virtual key of one name of "press": a letter or digit, or a named key.
WORD KeyOf(const std::wstring& name) {
  static const struct {
    const wchar_t* name;
    WORD key;
  } kNamed[] = {{L"ctrl", VK_CONTROL}, {L"shift", VK_SHIFT},  {L"alt", VK_MENU},
                {L"down", VK_DOWN},    {L"up", VK_UP},        {L"home", VK_HOME},
                {L"end", VK_END},      {L"enter", VK_RETURN}, {L"esc", VK_ESCAPE},
                {L"tab", VK_TAB},      {L"space", VK_SPACE},  {L"delete", VK_DELETE}};
  for (const auto& named : kNamed) {
    if (name == named.name) return named.key;
  }
  if (name.size() == 1 && std::iswalnum(name[0])) return static_cast<WORD>(std::towupper(name[0]));
  return 0;
}

// Real key strokes through the system's input queue, so that the program sees the modifiers'
// state (GetKeyState) as it does when a user types: the keys in order down, then up backwards.
bool Press(const Target& target, HWND window, const std::wstring& keys) {
  std::vector<WORD> pressed;
  for (std::size_t start = 0; start <= keys.size();) {
    const std::size_t plus = std::min(keys.find(L'+', start), keys.size());
    const WORD key = KeyOf(keys.substr(start, plus - start));
    if (key == 0) return false;
    pressed.push_back(key);
    start = plus + 1;
  }
  std::vector<INPUT> inputs;
  for (const WORD key : pressed) inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
  for (auto key = pressed.rbegin(); key != pressed.rend(); ++key) {
    inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}}});
  }
  (void)target;
  SetForegroundWindow(window);
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
    return false;
  }
  // The first wait returns before the keys are taken, the second once they have been.
  Settle(window);
  Settle(window);
  return true;
}

bool SaveBitmap(HWND window, const std::wstring& path) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const auto row = static_cast<DWORD>((width * 3 + 3) & ~3);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info.bmiHeader;
  header.bfSize = header.bfOffBits + row * static_cast<DWORD>(height);
  KernelHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  const bool ok =
      file.IsValid() && WriteFile(file.Get(), &header, sizeof header, &written, nullptr) &&
      WriteFile(file.Get(), &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
      WriteFile(file.Get(), bits, row * static_cast<DWORD>(height), &written, nullptr);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool RunAction(const Target& target, HWND first, HWND& window,
               const std::vector<std::wstring>& args, std::size_t& i) {
  const std::wstring& action = args[i];
  auto next = [&]() -> std::wstring { return i + 1 < args.size() ? args[++i] : L""; };
  if (action == L"dump") {
    Dump(window);
  } else if (action == L"read") {
    HWND combo = nullptr;
    for (HWND child : Descendants(window)) {
      if (ClassOf(child) == "ComboBox") combo = child;
    }
    if (combo == nullptr) return false;
    Print("list|" + ComboItems(combo));
    for (HWND child : Descendants(window)) {
      const std::string kind = ClassOf(child);
      if (kind == "ComboBox" || kind == "Edit") {
        if (kind == "Edit" && GetParent(child) == combo) continue;
        Print("text|" + std::to_string(GetDlgCtrlID(child)) + "|" + Escaped(WindowText(child)));
      }
    }
  } else if (action == L"pick") {
    const int index = _wtoi(next().c_str());
    for (HWND child : Descendants(window)) {
      if (ClassOf(child) != "ComboBox") continue;
      SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(child));
      return true;
    }
    return false;
  } else if (action == L"type") {
    const std::wstring text = next();
    for (HWND child : Descendants(window)) {
      if (ClassOf(child) != "ComboBox") continue;
      // The text field is the combo box's edit child (GetComboBoxInfo does not cross processes).
      const HWND field = FindWindowExW(child, nullptr, L"Edit", nullptr);
      if (field == nullptr) return false;
      SendMessageW(field, EM_SETSEL, 0, -1);
      for (wchar_t c : text) PostMessageW(field, WM_CHAR, c, 1);
      Settle(window);
      return true;
    }
    return false;
  } else if (action == L"click") {
    HWND button = ControlById(window, _wtoi(next().c_str()));
    if (button == nullptr) return false;
    PostMessageW(button, BM_CLICK, 0, 0);
  } else if (action == L"key") {
    const std::wstring key = next();
    if (key == L"esc") {
      PostKey(target, window, VK_ESCAPE);
    } else if (key == L"enter") {
      PostKey(target, window, VK_RETURN);
    } else if (key == L"tab") {
      // Settle alone does not wait for the key: the window's thread answers a sent message
      // before it takes the posted ones. Tab always moves the focus here; wait until it has.
      const HWND before = FocusOf(target);
      PostKey(target, window, VK_TAB);
      for (int wait = 0; wait < 100 && FocusOf(target) == before; ++wait) Sleep(kPollMs);
      Print("focus|" + std::to_string(GetDlgCtrlID(FocusOf(target))) + "|" +
            ClassOf(FocusOf(target)));
    } else {
      return false;
    }
  } else if (action == L"focus") {
    Print("focus|" + std::to_string(GetDlgCtrlID(FocusOf(target))) + "|" +
          ClassOf(FocusOf(target)));
  } else if (action == L"menu") {
    // Alt+H, as the keyboard reaches the menu bar: the item with the access key H acts at
    // once when it has no submenu. (Menu handles of another process cannot be read here.)
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L'h');
    Settle(window);
  } else if (action == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else if (action == L"snap") {
    Settle(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    if (!SaveBitmap(window, next())) return false;
  } else if (action == L"lock") {
    static std::vector<KernelHandle> held;
    held.emplace_back(
        CreateFileW(next().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!held.back().IsValid()) return false;
  } else if (action == L"touch") {
    if (!KernelHandle(
             CreateFileW(next().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
             .IsValid()) {
      return false;
    }
  } else if (action == L"await") {
    // Another program's step (a test on the Linux side) ends the wait by creating the file.
    const std::wstring file = next();
    const DWORD until = GetTickCount() + 60000;
    while (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (GetTickCount() > until) return false;
      Sleep(kPollMs);
    }
  } else if (action == L"wait") {
    Settle(window);
  } else if (action == L"press") {
    return Press(target, window, next());
  } else if (action == L"chars") {
    const std::wstring text = next();
    HWND focus = FocusOf(target);
    if (focus == nullptr) return false;
    for (wchar_t c : text) PostMessageW(focus, WM_CHAR, c, 1);
    Settle(window);
  } else if (action == L"within") {
    const std::wstring caption = next();
    HWND found = nullptr;
    for (int wait = 0; wait < 250 && (found = FindWindowCaptioned(target, caption)) == nullptr;
         ++wait) {
      Sleep(kPollMs);
    }
    if (found == nullptr) return false;
    // Shown a moment before it takes the focus: keys go to it only then.
    const auto focused = [&] {
      const HWND focus = FocusOf(target);
      return focus == found || IsChild(found, focus);
    };
    for (int wait = 0; wait < 250 && !focused(); ++wait) Sleep(kPollMs);
    window = found;
    Settle(window);
  } else if (action == L"back") {
    // Once the window that was over it has gone, the first window takes input again.
    window = first;
    for (int wait = 0; wait < 250 && !IsWindowEnabled(window); ++wait) Sleep(kPollMs);
    Settle(window);
  } else if (action == L"clipboard") {
    if (WaitForSingleObject(target.process, 10000) != WAIT_OBJECT_0) return false;
    Print("clipboard|" + ClipboardText());
  } else {
    return false;
  }
  return true;
}

void DriveDialog(const Target& target, DWORD deadline, const std::vector<std::wstring>& args) {
  HWND window = nullptr;
  if (Watch(target, deadline, [&] { return (window = FindOptionWindow(target)) != nullptr; })) {
    Print("shown");
    const HWND first = window;
    for (std::size_t i = 3; i < args.size(); ++i) {
      if (!RunAction(target, first, window, args, i)) {
        Print("error|" + Utf8FromUtf16(args[i]));
        PostMessageW(window, WM_CLOSE, 0, 0);  // end now rather than at the deadline
        break;
      }
      // Actions may raise message boxes (a failed save): answer them before going on.
      Watch(target, GetTickCount() + 200, [] { return false; });
    }
  }
  Finish(target, deadline);
}

// The option window as TolvexGateway.exe runs it, with the option file of `folder`.
DWORD WINAPI HostOptionWindow(void* context) {
  const std::string folder = Utf8FromUtf16(static_cast<const wchar_t*>(context));
  const tolvex::platform::win32::ComApartment apartment;
  const auto shell = tolvex::platform::win32::CreateDocumentShell();
  tolvex::FrmOptionServices services;
  services.create_document = [] { return tolvex::platform::CreateXmlDocument(); };
  services.shell = shell.get();
  services.manual_path = folder + "\\manual.htm";
  services.catalogue_path = folder + "\\tolvexgwcatalogue.xml";
  services.save.option_file_path = folder + "\\tolvexgwoption.xml";
  services.save.replace_file = [](const std::string& path, std::string_view bytes) {
    return tolvex::platform::ReplaceFileContents(path, bytes);
  };
  tolvex::win32::OptionWindow window(GetModuleHandleW(nullptr));
  tolvex::FrmOption logic(window, std::move(services));
  return static_cast<DWORD>(window.Run(logic));
}

// Answers the message boxes of the processes in `job` until only this one is left or time runs
// out, then prints how many the job has seen started besides it, and ends them all.
void FinishJob(HANDLE job, DWORD deadline) {
  std::vector<HWND> answered;
  for (;;) {
    struct {
      JOBOBJECT_BASIC_PROCESS_ID_LIST list;
      ULONG_PTR more[63];
    } ids{{64, 0, {}}, {}};
    QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr);
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
      for (HWND box : TopLevelWindowsOf(static_cast<DWORD>(ids.list.ProcessIdList[i]))) {
        if (ClassOf(box) == "#32770" && std::count(answered.begin(), answered.end(), box) == 0) {
          answered.push_back(box);
          AnswerMessageBox(box);
        }
      }
    }
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
    QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts, sizeof counts,
                              nullptr);
    if (counts.ActiveProcesses <= 1 || GetTickCount() > deadline) {
      Print("started|" + std::to_string(counts.TotalProcesses - 1));
      TerminateJobObject(job, 0);  // what still runs ends here, and this program with it
      return;
    }
    Sleep(kPollMs);
  }
}

int Main(const std::vector<std::wstring>& args) {
  if ((args.size() == 2 || args.size() == 3) && args[0] == L"open") {
    // Processes started from here on belong to the job: it counts them, however they start.
    const KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (args.size() == 3 && !AssignProcessToJobObject(job.Get(), GetCurrentProcess())) return 3;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", args[1].c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    Print("opened|" + std::to_string(result));
    if (args.size() == 3)
      FinishJob(job.Get(), GetTickCount() + static_cast<DWORD>(_wtoi(args[2].c_str())));
    return 0;
  }
  if (args.size() < 3 || (args[0] != L"run" && args[0] != L"dialog" && args[0] != L"host")) {
    Print("error|usage");
    return 2;
  }
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtoi(args[1].c_str()));
  if (args[0] == L"host") {
    DWORD thread_id = 0;
    KernelHandle thread(CreateThread(nullptr, 0, HostOptionWindow,
                                     const_cast<wchar_t*>(args[2].c_str()), 0, &thread_id));
    if (!thread.IsValid()) return 3;
    DriveDialog(Target{GetCurrentProcessId(), thread_id, thread.Get(), true}, deadline, args);
    return 0;
  }

  std::wstring command_line = args[2];
  // No UTF-8 argument can carry a lone surrogate: U+FFFF stands for one.
  std::replace(command_line.begin(), command_line.end(), L'\xFFFF', L'\xD800');
  // The program writes into the driver's own output (the probe prints there).
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  PROCESS_INFORMATION started{};
  // Wine on a loaded machine now and then refuses a start that succeeds a moment later; a
  // few tries keep that from failing a test that is about something else.
  bool is_started = false;
  DWORD error = 0;
  for (int attempt = 1; attempt <= 5 && !is_started; ++attempt) {
    is_started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &started) != FALSE;
    if (!is_started) {
      error = GetLastError();
      Sleep(static_cast<DWORD>(200 * attempt));
    }
  }
  if (!is_started) {
    Print("error|cannot start " + Utf8FromUtf16(command_line) + " (error " + std::to_string(error) +
          ")");
    return 3;
  }
  KernelHandle process(started.hProcess);
  KernelHandle thread(started.hThread);
  const Target target{started.dwProcessId, started.dwThreadId, started.hProcess, false};
  WaitForInputIdle(target.process, 5000);
  if (args[0] == L"dialog") {
    DriveDialog(target, deadline, args);
  } else {
    Finish(target, deadline);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Bytes as they are: text mode would turn every "\n" into "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return Main(args);
}
