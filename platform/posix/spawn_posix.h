// Starting a program as a double-click would: detached from the gateway, never through a
// shell.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvex::platform::posix {

// Starts `words` (the program, found on PATH when named bare, and its arguments) in a session
// of its own, so that it runs on after the gateway ends, with standard input from /dev/null
// and, when `directory` names a folder, that folder as its working folder. Returns 0, or the
// errno of the failure.
int SpawnDetached(std::vector<std::string> words, const std::optional<std::string>& directory);

}  // namespace tolvex::platform::posix
