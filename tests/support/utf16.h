// Option files in UTF-16, for the loader's encoding tests: ASCII text widened byte by byte.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::test {

// `ascii` as UTF-16 with its byte-order mark, little- or big-endian.
inline std::string Utf16(std::string_view ascii, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    if (big_endian) bytes += '\0';
    bytes += c;
    if (!big_endian) bytes += '\0';
  }
  return bytes;
}

}  // namespace tolvex::test
