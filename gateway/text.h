// Trimming, the one way every part of the request path and the tool drops surrounding
// characters: each caller names the characters that its input may be padded with.
#pragma once

#include <cstddef>
#include <string>
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

// The length of the well-formed UTF-8 character at the start of `text` (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when none starts there or `text` is empty.
std::size_t Utf8CharacterLength(std::string_view text);

// `bytes` with every byte that starts no well-formed UTF-8 character replaced by U+FFFD: the
// one form in which the program holds a text it took in, so that counting characters, quoting
// and showing them never meets a stray byte.
std::string ValidUtf8(std::string_view bytes);

}  // namespace tolvex
