#include "gateway/message_text.h"

#include "platform/text.h"

namespace tolvex {

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
    const auto byte = static_cast<unsigned char>(text.front());
    if (length == 0) {
      // Texts are made valid where they enter; a stray byte still counts as one character.
      quoted += "\uFFFD";
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += '%';
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0x0F];
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
