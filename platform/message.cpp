#include "platform/message.h"

#include <cstdio>

namespace tolvex::platform {

std::string QuoteForMessage(std::string_view text, std::size_t max_characters) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted;
  quoted.reserve(text.size() < 256 ? text.size() : 256);
  std::size_t characters = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    // A character starts at every byte that is not a UTF-8 continuation byte.
    if ((byte & 0xC0) != 0x80 && characters++ == max_characters) {
      quoted += "\u2026";
      break;
    }
    if (byte < 0x20 || byte == 0x7F) {
      quoted += '%';
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0x0F];
    } else {
      quoted += c;
    }
  }
  return quoted;
}

void WriteToStandardError(std::string_view text) {
  // stdio rather than iostream: the gateway starts once per link, and iostream's static
  // set-up costs more than the rest of a request's text handling.
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(kProgramTitle.size()),
               kProgramTitle.data(), static_cast<int>(text.size()), text.data());
}

}  // namespace tolvex::platform
