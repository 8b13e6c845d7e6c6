// FormatField over any format text and quantity: the text it writes is made only of a sign
// text, digits, blanks and decimal points, never "inf" or "nan", and bounded in length.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "gateway/field_format.h"

namespace {

bool IsFieldCharacter(char c, char separator) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == separator || c == '+' || c == '-' ||
         std::strchr("nsewNSEW", c) != nullptr;
}

}  // namespace

// Input: 8 bytes of quantity, 1 byte of flags (kind, sign, separator), then the format text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  double quantity = 0.0;
  std::memcpy(&quantity, data, sizeof quantity);
  const std::uint8_t flags = data[8];
  const std::string_view format(reinterpret_cast<const char*>(data + 9), size - 9);
  const auto kind =
      (flags & 1) != 0 ? tolvex::CoordinateKind::kLongitude : tolvex::CoordinateKind::kLatitude;
  const int sign = (flags & 2) != 0 ? -1 : 1;
  const char separator = (flags & 4) != 0 ? ',' : '.';

  const auto text =
      tolvex::FormatField(format, quantity, kind, sign, std::string_view(&separator, 1));
  if (!text) return 0;  // not finite: the caller writes the field as it stands
  for (char c : *text) FUZZ_CHECK(IsFieldCharacter(c, separator));
  // Sign text + a width of at most 32767 or a whole part of at most 309 digits + a point and
  // at most 15 decimals, or a fraction of at most 15 significant digits after many zeros.
  FUZZ_CHECK(text->size() <= 1 + 32767 + 1 + 400);
  FUZZ_CHECK(text->find("inf") == std::string::npos && text->find("nan") == std::string::npos);
  return 0;
}
