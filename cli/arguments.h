// What every command of the tolvex tool shares about its command line: the exit statuses, how a
// wrong command line and a bad input are told, and the reading of options with values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tolvex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1;  // an input was bad: not a number, out of range, ...
inline constexpr int kExitUsage = 2;     // the command line itself was wrong

// Writes "tolvex: MESSAGE", a blank line and the command's usage to standard error.
int UsageError(std::string_view message, std::string_view usage);
// Writes "tolvex: MESSAGE" to standard error; kExitBadInput.
int Fail(std::string_view message);

// The options with a value a command takes, each with the slot its value goes to.
using OptionSlots = std::vector<std::pair<std::string_view, std::optional<std::string>*>>;

// Takes the options named in `slots` with their values (and "--force" when `force` is given)
// out of `args`, which keeps the other words in order; every word after "--" is kept as it is.
// The error ("--near needs a value", "--options is given twice", an unknown option), or "".
std::string TakeOptions(std::vector<std::string_view>& args, const OptionSlots& slots,
                        bool* force = nullptr);

}  // namespace tolvex::cli
