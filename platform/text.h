// The program's text vocabulary, shared by the core, the backends and the tools: trimming,
// ASCII letter case, URI schemes, joining words, and UTF-8. Pure functions, no OS.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

inline constexpr std::string_view kSpace = " ";                // the argument and location text
inline constexpr std::string_view kBlanks = " \t";             // around a number
inline constexpr std::string_view kXmlWhiteSpace = " \t\r\n";  // around an option's template
inline constexpr std::string_view kAsciiWhiteSpace = " \t\r\n\v\f";  // lines read by the tool

// Trimming, the one way every part of the program drops surrounding characters: each caller
// names the characters that its input may be padded with.
// `text` without its leading and trailing characters that occur in `characters`.
constexpr std::string_view Trim(std::string_view text, std::string_view characters) {
  const auto first = text.find_first_not_of(characters);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

// Letter case in ASCII only, as schemes, prefixes and names compare: no non-ASCII character
// maps onto a letter.
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// The scheme at the start of `text` as written (RFC 3986: a letter, then letters, digits, "+",
// "-" and "."), when a colon follows it; empty otherwise. One letter before the colon is a
// drive ("C:\..."), not a scheme, so a scheme has two characters at least.
std::string_view UriSchemeOf(std::string_view text);

// `words` joined with one space between each two: how a program's arguments become the one
// argument text that a link is (the shell split the link at its blanks).
std::string JoinWithSpaces(const std::vector<std::string_view>& words);

// The length of the well-formed UTF-8 character at the start of `text` (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when none starts there or `text` is empty.
std::size_t Utf8CharacterLength(std::string_view text);

// `bytes` with every byte that starts no well-formed UTF-8 character replaced by U+FFFD: the
// one form in which the program holds a text it took in, so that counting characters, quoting
// and showing them never meets a stray byte.
std::string ValidUtf8(std::string_view bytes);

}  // namespace tolvex
