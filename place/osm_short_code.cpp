#include "place/osm_short_code.h"

#include <cstdint>

namespace tolvex {

std::optional<CodedPlace> DecodeOsmShortCode(std::string_view code) {
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_~";
  std::size_t marks = 0;
  while (marks < code.size() &&
         (code[code.size() - 1 - marks] == '-' || code[code.size() - 1 - marks] == '=')) {
    ++marks;
  }
  const std::string_view digits = code.substr(0, code.size() - marks);
  if (digits.empty() || digits.size() > kMaxOsmShortCodeLength || marks > 2) return std::nullopt;
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  for (const char c : digits) {
    const std::size_t value = kAlphabet.find(c == '@' ? '~' : c);
    if (value == std::string_view::npos) return std::nullopt;
    for (int bit = 5; bit > 0; bit -= 2) {
      x = x << 1 | ((value >> bit) & 1);
      y = y << 1 | ((value >> (bit - 1)) & 1);
    }
  }
  const int bits = 3 * static_cast<int>(digits.size());
  x <<= 32 - bits;
  y <<= 32 - bits;
  constexpr double kTurn = 4294967296.0;  // 2^32
  CodedPlace place;
  place.position.longitude = static_cast<double>(x) * 360.0 / kTurn - 180.0;
  place.position.latitude = static_cast<double>(y) * 180.0 / kTurn - 90.0;
  // Each character is three zoom levels; one mark takes two off, two marks one.
  place.zoom = bits - 8 - static_cast<int>((3 - marks % 3) % 3);
  return place;
}

}  // namespace tolvex
