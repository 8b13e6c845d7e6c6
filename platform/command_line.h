// Splitting a Windows command line into the program's own name and the rest. Windows hands a
// process its command line as one text; the argument text is whatever follows the name.
#pragma once

#include <string_view>

namespace tolvex::platform {

// The text after the program's name in `command_line`, with the blanks (spaces and tabs) that
// separate the two removed; the rest is returned unchanged, inner and trailing blanks and
// quotes included. The name runs to the next double quote when it starts with one (to the end
// when that quote is missing), otherwise to the first blank, as Windows itself reads it.
std::string_view ArgumentTextOfCommandLine(std::string_view command_line);

}  // namespace tolvex::platform
