#include "geocode/plus_code.h"

#include <cmath>
#include <cstdint>

namespace tolvex {
namespace {

constexpr std::string_view kAlphabet = "23456789CFGHJMPQRVWX";
constexpr char kSeparator = '+';
constexpr char kPadding = '0';
constexpr std::size_t kSeparatorPosition = 8;
constexpr int kPairDigits = 10;  // five pairs, then single digits of the 5 x 4 grid
constexpr int kGridRows = 5;
constexpr int kGridColumns = 4;

// Units of the longest code: 1/25000000 degree of latitude, 1/8192000 of longitude.
constexpr std::int64_t kLatitudeUnits = 25000000;
constexpr std::int64_t kLongitudeUnits = 8192000;

int DigitValue(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::int64_t Power(std::int64_t base, int exponent) {
  std::int64_t result = 1;
  for (int i = 0; i < exponent; ++i) result *= base;
  return result;
}

// The code's significant digits (separator and padding dropped), at most `limit`.
std::string DigitsOf(std::string_view code, std::size_t limit) {
  std::string digits;
  for (const char c : code) {
    if (c == kSeparator || c == kPadding) continue;
    if (digits.size() == limit) break;
    digits += c;
  }
  return digits;
}

}  // namespace

bool IsValidPlusCode(std::string_view code) {
  const std::size_t separator = code.find(kSeparator);
  if (separator == std::string_view::npos || code.find(kSeparator, separator + 1) != code.npos) {
    return false;
  }
  if (separator > kSeparatorPosition || separator % 2 != 0) return false;
  if (code.size() == 1) return false;
  const std::size_t padding = code.find(kPadding);
  if (padding != std::string_view::npos) {
    // One even run of padding, ending at the separator, which then ends the code.
    if (padding == 0 || separator < kSeparatorPosition) return false;
    const std::size_t run_end = code.find_first_not_of(kPadding, padding);
    if (run_end != separator || (separator - padding) % 2 != 0) return false;
    if (separator + 1 != code.size()) return false;
  }
  if (code.size() - separator - 1 == 1) return false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    if (i == separator || (padding != std::string_view::npos && i >= padding && i < separator)) {
      continue;
    }
    if (DigitValue(code[i]) < 0) return false;
  }
  return true;
}

bool IsShortPlusCode(std::string_view code) {
  return IsValidPlusCode(code) && code.find(kSeparator) < kSeparatorPosition;
}

bool IsFullPlusCode(std::string_view code) {
  if (!IsValidPlusCode(code) || code.find(kSeparator) != kSeparatorPosition) return false;
  // The first pair's cells of 20 degrees: nine of latitude, eighteen of longitude.
  return DigitValue(code[0]) * 20 < 180 && DigitValue(code[1]) * 20 < 360;
}

std::string EncodePlusCode(double latitude, double longitude, int length) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return {};
  if (length < 2) length = 2;
  if (length > kMaxPlusCodeLength) length = kMaxPlusCodeLength;
  if (length < kPairDigits && length % 2 != 0) ++length;

  latitude = std::fmax(-90.0, std::fmin(90.0, latitude));
  // Far beyond one turn, wrap first (exactly) so that the integers below cannot overflow.
  if (std::fabs(longitude) > 1e9) longitude = std::fmod(longitude, 360.0);
  std::int64_t lat =
      static_cast<std::int64_t>(std::floor(latitude * kLatitudeUnits)) + 90 * kLatitudeUnits;
  if (lat >= 180 * kLatitudeUnits) lat = 180 * kLatitudeUnits - 1;
  if (lat < 0) lat = 0;
  std::int64_t lon =
      static_cast<std::int64_t>(std::floor(longitude * kLongitudeUnits)) + 180 * kLongitudeUnits;
  lon %= 360 * kLongitudeUnits;
  if (lon < 0) lon += 360 * kLongitudeUnits;

  // All fifteen digits from the last one back, then the first `length` of them.
  char digits[kMaxPlusCodeLength];
  for (int i = kMaxPlusCodeLength - 1; i >= kPairDigits; --i) {
    digits[i] =
        kAlphabet[static_cast<std::size_t>((lat % kGridRows) * kGridColumns + lon % kGridColumns)];
    lat /= kGridRows;
    lon /= kGridColumns;
  }
  for (int i = kPairDigits - 2; i >= 0; i -= 2) {
    digits[i] = kAlphabet[static_cast<std::size_t>(lat % 20)];
    digits[i + 1] = kAlphabet[static_cast<std::size_t>(lon % 20)];
    lat /= 20;
    lon /= 20;
  }
  std::string code(digits, static_cast<std::size_t>(length));
  if (code.size() < kSeparatorPosition) code.append(kSeparatorPosition - code.size(), kPadding);
  code.insert(kSeparatorPosition, 1, kSeparator);
  return code;
}

std::optional<PlusCodeArea> DecodePlusCode(std::string_view code) {
  if (!IsFullPlusCode(code)) return std::nullopt;
  const std::string digits = DigitsOf(code, kMaxPlusCodeLength);
  std::int64_t lat = 0;
  std::int64_t lon = 0;
  const int count = static_cast<int>(digits.size());
  constexpr auto kPairs = static_cast<std::size_t>(kPairDigits);
  // A full code has whole pairs: its padding and its "+" come in twos.
  for (std::size_t i = 0; i + 1 < digits.size() && i < kPairs; i += 2) {
    lat = lat * 20 + DigitValue(digits[i]);
    lon = lon * 20 + DigitValue(digits[i + 1]);
  }
  for (std::size_t i = kPairs; i < digits.size(); ++i) {
    const int value = DigitValue(digits[i]);
    lat = lat * kGridRows + value / kGridColumns;
    lon = lon * kGridColumns + value % kGridColumns;
  }
  // The size of the area in the longest code's units.
  const int missing_pairs = count < kPairDigits ? (kPairDigits - count) / 2 : 0;
  const int missing_grid = kMaxPlusCodeLength - (count > kPairDigits ? count : kPairDigits);
  const std::int64_t lat_size = Power(20, missing_pairs) * Power(kGridRows, missing_grid);
  const std::int64_t lon_size = Power(20, missing_pairs) * Power(kGridColumns, missing_grid);
  const std::int64_t south = lat * lat_size;
  const std::int64_t west = lon * lon_size;
  PlusCodeArea area;
  area.length = count;
  area.south = static_cast<double>(south - 90 * kLatitudeUnits) / kLatitudeUnits;
  area.west = static_cast<double>(west - 180 * kLongitudeUnits) / kLongitudeUnits;
  area.north =
      std::fmin(90.0, static_cast<double>(south + lat_size - 90 * kLatitudeUnits) / kLatitudeUnits);
  area.east = static_cast<double>(west + lon_size - 180 * kLongitudeUnits) / kLongitudeUnits;
  return area;
}

std::string RecoverNearestPlusCode(std::string_view short_code, LatLon reference) {
  if (IsFullPlusCode(short_code)) {
    std::string code(short_code);
    for (char& c : code) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return code;
  }
  if (!IsShortPlusCode(short_code)) return {};
  if (!std::isfinite(reference.latitude) || !std::isfinite(reference.longitude)) return {};
  const double latitude = std::fmax(-90.0, std::fmin(90.0, reference.latitude));
  // The reference wrapped into -180..180, as the codes are.
  double longitude = std::fmod(reference.longitude + 180.0, 360.0);
  if (longitude < 0) longitude += 360.0;
  longitude -= 180.0;

  // The digits the short code lacks come from the reference's own code; the result is then
  // moved by one cell of that size wherever the reference lies more than half a cell away.
  const std::size_t missing = kSeparatorPosition - short_code.find(kSeparator);
  const double cell = std::pow(20.0, 2.0 - static_cast<double>(missing) / 2.0);
  const std::string prefix = EncodePlusCode(latitude, longitude).substr(0, missing);
  const auto area = DecodePlusCode(prefix + std::string(short_code));
  if (!area) return {};
  LatLon centre = area->Centre();
  if (latitude + cell / 2.0 < centre.latitude && centre.latitude - cell >= -90.0) {
    centre.latitude -= cell;
  } else if (latitude - cell / 2.0 > centre.latitude && centre.latitude + cell <= 90.0) {
    centre.latitude += cell;
  }
  if (longitude + cell / 2.0 < centre.longitude) {
    centre.longitude -= cell;
  } else if (longitude - cell / 2.0 > centre.longitude) {
    centre.longitude += cell;
  }
  return EncodePlusCode(centre.latitude, centre.longitude, area->length);
}

}  // namespace tolvex
