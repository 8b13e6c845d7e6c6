// The Win32 shell for files of the program's own.
#pragma once

#include <memory>

#include "platform/shell.h"

namespace tolvex::platform::win32 {

// A shell that hands text over in UTF-16 (ShellExecuteW), so that a path reaches the shell
// whole whatever characters it holds. For the help document beside the program, whose folder
// may lie under a user profile named outside the ANSI code page; command lines of the option
// file keep going through the ANSI code page (CreateSystemShell), as they are written for it.
std::unique_ptr<Shell> CreateDocumentShell();

}  // namespace tolvex::platform::win32
