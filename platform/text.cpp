#include "platform/text.h"

namespace tolvex {
namespace {

bool IsSchemeCharacter(char c, bool first) {
  const char lower = AsciiLower(c);
  if (lower >= 'a' && lower <= 'z') return true;
  return !first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.');
}

}  // namespace

std::string_view UriSchemeOf(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    if (!IsSchemeCharacter(text[i], i == 0)) return {};
  }
  return text.substr(0, colon);
}

std::string JoinWithSpaces(const std::vector<std::string_view>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += ' ';
    text += words[i];
  }
  return text;
}

std::size_t Utf8CharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // the range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::string ValidUtf8(std::string_view bytes) {
  // Most texts are ASCII: they are already valid.
  std::size_t ascii = 0;
  while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
  if (ascii == bytes.size()) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t length = Utf8CharacterLength(bytes);
    if (length == 0) {
      text += "\uFFFD";
      bytes.remove_prefix(1);
    } else {
      text += bytes.substr(0, length);
      bytes.remove_prefix(length);
    }
  }
  return text;
}

}  // namespace tolvex
