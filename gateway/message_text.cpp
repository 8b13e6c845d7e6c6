#include "gateway/message_text.h"

#include "platform/text.h"

namespace tolvex {
namespace {

// A character that breaks or hides a line where it is shown: C0 and DEL, C1 (U+0080 to U+009F,
// NEL among them) and the line and paragraph separators U+2028 and U+2029. `character` is one
// well-formed UTF-8 character.
bool IsControlCharacter(std::string_view character) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
  switch (character.size()) {
    case 1:
      return byte(0) < 0x20 || byte(0) == 0x7F;
    case 2:
      return byte(0) == 0xC2 && byte(1) <= 0x9F;
    case 3:
      return byte(0) == 0xE2 && byte(1) == 0x80 && (byte(2) == 0xA8 || byte(2) == 0xA9);
    default:
      return false;
  }
}

}  // namespace

std::string QuoteForMessage(std::string_view text, std::size_t max_characters) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted;
  quoted.reserve(text.size() < 256 ? text.size() : 256);
  for (std::size_t characters = 0; !text.empty(); ++characters) {
    if (characters == max_characters) {
      quoted += "\u2026";
      break;
    }
    const std::size_t length = Utf8CharacterLength(text);
    if (length == 0) {
      // Texts are made valid where they enter; a stray byte still counts as one character.
      quoted += "\uFFFD";
    } else if (IsControlCharacter(text.substr(0, length))) {
      // Each of its bytes as "%XX", as a link would carry it.
      for (const char c : text.substr(0, length)) {
        const auto byte = static_cast<unsigned char>(c);
        quoted += '%';
        quoted += kHex[byte >> 4];
        quoted += kHex[byte & 0x0F];
      }
    } else {
      quoted += text.substr(0, length);
    }
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return quoted;
}

std::string QuotedMessage(std::string_view head, std::string_view text) {
  std::string message(head);
  message += '"';
  message += QuoteForMessage(text);
  message += '"';
  return message;
}

}  // namespace tolvex
