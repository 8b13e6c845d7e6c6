// Win32-only facts about the running process, for the other Win32 backends.
#pragma once

#include <string>

namespace tolvex::platform::win32 {

// The full path of this program's executable as Windows reports it (GetModuleFileNameW);
// empty when Windows cannot tell.
std::wstring ThisProgramPath();

}  // namespace tolvex::platform::win32
