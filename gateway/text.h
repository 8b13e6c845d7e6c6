// Trimming, the one way every part of the request path and the tool drops surrounding
// characters: each caller names the characters that its input may be padded with.
#pragma once

#include <string_view>

namespace tolvex {

inline constexpr std::string_view kSpace = " ";                // the argument and location text
inline constexpr std::string_view kBlanks = " \t";             // around a number
inline constexpr std::string_view kXmlWhiteSpace = " \t\r\n";  // around an option's template
inline constexpr std::string_view kAsciiWhiteSpace = " \t\r\n\v\f";  // lines read by the tool

// `text` without its leading and trailing characters that occur in `characters`.
constexpr std::string_view Trim(std::string_view text, std::string_view characters) {
  const auto first = text.find_first_not_of(characters);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

}  // namespace tolvex
