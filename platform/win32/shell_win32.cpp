// The shell through ShellExecuteA, as the option files' command lines expect: they are written
// for the ANSI code page of the user's system, and programs started this way see the same
// text they would see when started from Explorer.
#include <windows.h>
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>

#include "platform/shell.h"
#include "platform/win32/text_win32.h"

namespace tolvex::platform {
namespace {

using win32::AnsiFromUtf8;

class Win32Shell final : public Shell {
 public:
  ShellResult Open(std::string_view file, const std::optional<std::string>& directory) override {
    const std::string ansi_file = AnsiFromUtf8(file);
    const std::optional<std::string> ansi_directory =
        directory ? std::optional<std::string>(AnsiFromUtf8(*directory)) : std::nullopt;
    // The shell shows its own error boxes (no association, missing file); values up to 32
    // are its error codes.
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", ansi_file.c_str(), nullptr,
                      ansi_directory ? ansi_directory->c_str() : nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32 ? ShellResult::kHandedOver
                                                  : ShellResult::kNothingStarted;
  }
};

}  // namespace

std::unique_ptr<Shell> CreateSystemShell() { return std::make_unique<Win32Shell>(); }

}  // namespace tolvex::platform
