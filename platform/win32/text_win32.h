// The one place where text changes form at the Win32 boundary. The program keeps UTF-8
// everywhere; Win32 is called with UTF-16, and the ANSI shell function with the system's ANSI
// code page.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::platform::win32 {

// UTF-8 -> UTF-16. Bytes that are not UTF-8 become U+FFFD.
std::wstring Utf16FromUtf8(std::string_view text);

// UTF-16 -> UTF-8. Unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::wstring_view text);

// UTF-8 -> UTF-16 -> the ANSI code page (CP_ACP), for the "A" functions. Characters the code
// page lacks are replaced as WideCharToMultiByte does (best fit, else the default character).
std::string AnsiFromUtf8(std::string_view text);

}  // namespace tolvex::platform::win32
