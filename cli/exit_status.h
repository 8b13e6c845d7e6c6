// Exit statuses of the tolvex tool, for every command.
#pragma once

namespace tolvex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1;  // an input was bad: not a number, out of range, ...
inline constexpr int kExitUsage = 2;     // the command line itself was wrong

}  // namespace tolvex::cli
