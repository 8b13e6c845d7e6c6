// tolvex_probe: runs one operation of the Win32 platform backends and prints what it got, one
// item a line, so that tests on the Linux side can compare it with what they expect.
//
//   tolvex_probe argtext                  the argument text of its own command line
//   tolvex_probe dir                      the program directory
//   tolvex_probe beside NAME              PathBesideProgram(NAME)
//   tolvex_probe decimal                  the user's decimal separator
//   tolvex_probe env NAME                 the variable's value, or "(unset)"
//   tolvex_probe xml FILE QUERY...        load FILE; per query: "first" and each match of it
//   tolvex_probe set FILE QUERY TEXT      load, set the first match's text, print Serialize()
//   tolvex_probe edit FILE QUERY OP ARG...  load, edit the first match, print Serialize(); OP:
//                                         text TEXT, attr NAME VALUE, unattr NAME, remove,
//                                         append NAME INDENT TEXT (the new element's text)
//   tolvex_probe replace FILE SOURCE      ReplaceFileContents(FILE, bytes of SOURCE)
//   tolvex_probe replace-locked FILE SOURCE  the same while FILE is held open unshared
//   tolvex_probe shell FILE [DIR]         the system shell opens FILE (working folder DIR)
//   tolvex_probe ansi TEXT                the ANSI code page and TEXT in it, as hex bytes
//   tolvex_probe codepage                 the ANSI code page (GetACP)
//   tolvex_probe error TEXT TITLE         an error message box
//   tolvex_probe version FILE             the version resource of FILE
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gateway/product_folders.h"
#include "platform/file_replace.h"
#include "platform/process.h"
#include "platform/shell.h"
#include "platform/win32/message_win32.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/xml_document.h"
#include "services/system_services.h"

namespace {

using namespace tolvex::platform;

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(win32::Utf16FromUtf8(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Prints the fixed part, the translations and the Japanese/Unicode strings of a version
// resource, or "no version resource".
void PrintVersion(const std::wstring& file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  std::vector<unsigned char> data(size);
  if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
    Print("no version resource");
    return;
  }
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    auto dotted = [](DWORD high, DWORD low) {
      return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
             std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
    };
    Print("FILEVERSION " + dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    Print("PRODUCTVERSION " + dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    Print("FILETYPE " + std::to_string(fixed->dwFileType));
  }
  if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length)) {
    const auto* pairs = static_cast<const WORD*>(value);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
      char text[32];
      std::snprintf(text, sizeof text, "Translation %04X %04X", pairs[i], pairs[i + 1]);
      Print(text);
    }
  }
  for (const wchar_t* name :
       {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
        L"LegalTrademarks", L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (VerQueryValueW(data.data(), path.c_str(), &value, &length) && length > 0) {
      Print(
          win32::Utf8FromUtf16(name) + " " +
          win32::Utf8FromUtf16(std::wstring_view(static_cast<const wchar_t*>(value), length - 1)));
    } else {
      Print(win32::Utf8FromUtf16(name) + " (missing)");
    }
  }
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return 2;
  const std::string& command = args[0];
  if (command == "argtext") {
    Print("[" + ArgumentText(0, nullptr) + "]");
  } else if (command == "dir") {
    Print(ProgramDirectory());
  } else if (command == "beside" && args.size() == 2) {
    Print(PathBesideProgram(args[1]));
  } else if (command == "decimal") {
    Print("[" + UserDecimalSeparator() + "]");
  } else if (command == "env" && args.size() == 2) {
    const auto value = EnvironmentVariable(args[1].c_str());
    Print(value ? "[" + *value + "]" : "(unset)");
  } else if (command == "xml" && args.size() >= 2) {
    auto document = CreateXmlDocument();
    Print(document->Load(args[1]) ? "loaded" : "not loaded");
    for (std::size_t i = 2; i < args.size(); ++i) {
      const auto first = document->SelectSingleNode(args[i]);
      Print("first " + (first ? "[" + first->Text() + "]" : std::string("none")));
      for (const auto& node : document->SelectNodes(args[i])) Print("match [" + node->Text() + "]");
    }
  } else if (command == "set" && args.size() == 4) {
    auto document = CreateXmlDocument();
    Print(document->Load(args[1]) ? "loaded" : "not loaded");
    const auto node = document->SelectSingleNode(args[2]);
    Print(node && node->SetText(args[3]) ? "set" : "not set");
    const auto bytes = document->Serialize();
    Print(bytes ? *bytes : "(no bytes)");
  } else if (command == "edit" && args.size() >= 4) {
    auto document = CreateXmlDocument();
    Print(document->Load(args[1]) ? "loaded" : "not loaded");
    const auto node = document->SelectSingleNode(args[2]);
    const std::string& op = args[3];
    bool done = false;
    if (node && op == "attr" && args.size() == 6) {
      done = node->SetAttribute(args[4], args[5]);
    } else if (node && op == "unattr" && args.size() == 5) {
      done = node->RemoveAttribute(args[4]);
    } else if (node && op == "text" && args.size() == 5) {
      done = node->SetText(args[4]);
    } else if (node && op == "remove" && args.size() == 4) {
      done = node->Remove();
    } else if (node && op == "append" && args.size() == 7) {
      const auto added = node->AppendElement(args[4], args[5]);
      done = added && added->SetText(args[6]);
    }
    Print(done ? "done" : "not done");
    const auto bytes = document->Serialize();
    Print(bytes ? *bytes : "(no bytes)");
  } else if ((command == "replace" || command == "replace-locked") && args.size() == 3) {
    win32::KernelHandle lock;
    if (command == "replace-locked") {
      lock = win32::KernelHandle(CreateFileW(win32::Utf16FromUtf8(args[1]).c_str(), GENERIC_READ, 0,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
      if (!lock.IsValid()) return 3;
    }
    Print(ReplaceFileContents(args[1], ReadBytes(args[2])) ? "replaced" : "not replaced");
  } else if (command == "own") {
    Print(UserConfigPath(tolvex::kProductFolderName, "tolvexgwoption.xml"));
    Print(tolvex::SystemOptionFilePath());
  } else if (command == "may-replace" && args.size() == 2) {
    Print(MayReplaceInPlace(args[1]) ? "in place" : "elsewhere");
  } else if (command == "write-new" && args.size() == 3) {
    Print(WriteNewFile(args[1], ReadBytes(args[2])) ? "written" : "not written");
  } else if (command == "shell" && (args.size() == 2 || args.size() == 3)) {
    const auto directory = args.size() == 3 ? std::optional<std::string>(args[2]) : std::nullopt;
    Print(CreateSystemShell()->Open(args[1], directory).result == ShellResult::kHandedOver
              ? "handed over"
              : "nothing started");
  } else if (command == "ansi" && args.size() == 2) {
    std::string hex = std::to_string(GetACP());
    for (const char byte : win32::AnsiFromUtf8(args[1])) {
      const auto c = static_cast<unsigned char>(byte);
      constexpr char kDigits[] = "0123456789abcdef";
      hex += ' ';
      hex += kDigits[c >> 4];
      hex += kDigits[c & 15];
    }
    Print(hex);
  } else if (command == "codepage") {
    Print(std::to_string(GetACP()));
  } else if (command == "error" && args.size() == 3) {
    win32::MessageBoxSink().ShowError(args[1], args[2]);
    Print("dismissed");
  } else if (command == "version" && args.size() == 2) {
    PrintVersion(win32::Utf16FromUtf8(args[1]));
  } else {
    return 2;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Bytes as they are: text mode would turn every "\n" into "\r\n".
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(win32::Utf8FromUtf16(argv[i]));
  const int status = Run(args);
  std::fflush(stdout);
  return status;
}
