#include "gateway/field_format.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "gateway/number_text.h"

namespace tolvex {
namespace {

constexpr int kMaxWidth = 32767;
constexpr int kMaxDecimals = 15;

enum class Rounding { kFloor, kNearest, kCeiling };

// The parts of a picture; absent parts are nullopt.
struct Picture {
  std::optional<char> sign;
  std::optional<char> pad;
  std::optional<int> width;
  std::optional<int> decimals;
  Rounding rounding = Rounding::kFloor;
};

struct Transform {
  double offset = 0.0;
  double scale = 1.0;
  double addend = 0.0;
};

// An element that is empty or not a number keeps the element's default.
double ElementOr(std::string_view element, double fallback, std::string_view separator) {
  if (element.empty()) return fallback;
  return ParseNumber(element, separator).value_or(fallback);
}

// The four elements of "picture,offset,scale,addend", or nullopt when the text does not
// split at its commas into exactly four.
std::optional<std::array<std::string_view, 4>> SplitFourElements(std::string_view text) {
  std::array<std::string_view, 4> elements;
  std::size_t start = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) return std::nullopt;
    elements[i] = text.substr(start, comma - start);
    start = comma + 1;
  }
  elements[3] = text.substr(start);
  if (elements[3].find(',') != std::string_view::npos) return std::nullopt;
  return elements;
}

// A whole number of width: half to even, and only 0..32767 counts.
std::optional<int> WidthOf(std::string_view text, std::string_view separator) {
  if (text.empty()) return std::nullopt;
  const auto value = ParseNumber(text, separator);
  if (!value) return std::nullopt;
  const double whole = std::nearbyint(*value);
  if (!(whole >= 0.0 && whole <= kMaxWidth)) return std::nullopt;
  return static_cast<int>(whole);
}

// Decimals are a whole number from 0 to 15; anything else (negative, fractional, larger)
// counts as absent.
std::optional<int> DecimalsOf(std::string_view text, std::string_view separator) {
  if (text.empty()) return std::nullopt;
  const auto value = ParseNumber(text, separator);
  if (!value || *value != std::floor(*value) || *value < 0.0 || *value > kMaxDecimals) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

Picture ReadPicture(std::string_view picture, std::string_view separator) {
  Picture parts;
  if (picture.empty()) return parts;
  std::size_t at = 0;
  const char first = picture.front();
  if (first == '+' || first == '-' || first == 'd' || first == 'D') {
    parts.sign = first;
    at = 1;
  }
  if (at < picture.size() && (picture[at] == '0' || picture[at] == ' ')) {
    parts.pad = picture[at];
    ++at;
  }
  const char last = picture.back();
  const bool has_rounding_letter = last == 'r' || last == 'c' || last == 'f';
  if (last == 'r') parts.rounding = Rounding::kNearest;
  if (last == 'c') parts.rounding = Rounding::kCeiling;

  const std::size_t point = picture.find('.');
  if (point != std::string_view::npos) {
    if (point >= at) parts.width = WidthOf(picture.substr(at, point - at), separator);
    std::string_view decimals = picture.substr(point + 1);
    // The rounding letter is the picture's last character; it may only be cut from the
    // decimals text when it stands after the point.
    if (has_rounding_letter && !decimals.empty()) decimals.remove_suffix(1);
    parts.decimals = DecimalsOf(decimals, separator);
  }
  return parts;
}

std::string SignText(const Picture& picture, CoordinateKind kind, int hemisphere_sign) {
  const bool north_or_east = hemisphere_sign >= 0;
  const bool latitude = kind == CoordinateKind::kLatitude;
  switch (picture.sign.value_or('\0')) {
    case '+':
      return north_or_east ? "+" : "-";
    case 'd':
      return latitude ? (north_or_east ? "n" : "s") : (north_or_east ? "e" : "w");
    case 'D':
      return latitude ? (north_or_east ? "N" : "S") : (north_or_east ? "E" : "W");
    default:  // "-", or no sign character
      return north_or_east ? "" : "-";
  }
}

// The whole part, right-aligned in `width` characters (digits beyond it dropped from the
// left), spaces then turned into the pad character or trimmed when there is none.
std::string IntegerText(double whole, const Picture& picture, std::string_view separator) {
  std::string digits = GeneralNumberText(whole, separator);
  if (!picture.width) return digits;
  const auto width = static_cast<std::size_t>(*picture.width);
  if (digits.size() >= width) return digits.substr(digits.size() - width);
  const std::size_t spaces = width - digits.size();
  if (!picture.pad) return digits;  // the spaces would be trimmed again
  return std::string(spaces, *picture.pad) + digits;
}

// Powers of ten that a double holds exactly, for 0..15 decimals.
constexpr std::array<double, kMaxDecimals + 1> kPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The fraction rounded to `decimals` places (0..15), as exactly `decimals` digits. Sets
// `carry` when the rounding reached a whole unit: the digits are then all zeros and the
// caller adds one to the whole part.
std::string RoundedFraction(double fraction, int decimals, Rounding rounding, bool& carry) {
  const double unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
  const double scaled = fraction * unit;
  double rounded = std::floor(scaled);
  if (rounding == Rounding::kNearest) rounded = std::floor(scaled + 0.5);
  if (rounding == Rounding::kCeiling) rounded = std::ceil(scaled);
  carry = rounded >= unit;
  auto n = carry ? 0 : static_cast<std::uint64_t>(rounded);
  std::string digits(static_cast<std::size_t>(decimals), '0');
  for (std::size_t i = digits.size(); i-- > 0 && n != 0; n /= 10) {
    digits[i] = static_cast<char>('0' + n % 10);
  }
  return digits;
}

}  // namespace

std::optional<std::string> FormatField(std::string_view format_text, double quantity,
                                       CoordinateKind kind, int hemisphere_sign,
                                       std::string_view decimal_separator) {
  std::string_view picture_text = format_text;
  Transform transform;
  if (const auto elements = SplitFourElements(format_text)) {
    picture_text = (*elements)[0];
    transform.offset = ElementOr((*elements)[1], 0.0, decimal_separator);
    transform.scale = ElementOr((*elements)[2], 1.0, decimal_separator);
    transform.addend = ElementOr((*elements)[3], 0.0, decimal_separator);
  }
  const double value = (quantity + transform.offset) * transform.scale + transform.addend;
  if (!std::isfinite(value)) return std::nullopt;
  const double magnitude = std::fabs(value);

  const Picture picture = ReadPicture(picture_text, decimal_separator);
  double whole = std::floor(magnitude);
  const double fraction = magnitude - whole;

  std::string fraction_text;
  if (!picture.decimals) {
    // The fraction in full: its general text without the leading "0". A fraction so close to
    // 1 that fifteen digits round it to "1" is a whole unit more.
    const std::string general = GeneralNumberText(fraction, decimal_separator);
    if (general == "1") {
      whole += 1.0;
    } else if (general != "0") {
      fraction_text = general.substr(1);
    }
  } else {
    // Decimals 0 write no point, but the rounding letter still decides the whole part.
    bool carry = false;
    const std::string digits =
        RoundedFraction(fraction, *picture.decimals, picture.rounding, carry);
    if (!digits.empty()) fraction_text = "." + digits;
    if (carry) whole += 1.0;
  }
  return SignText(picture, kind, hemisphere_sign) + IntegerText(whole, picture, decimal_separator) +
         fraction_text;
}

}  // namespace tolvex
