#include "gateway/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/text.h"

namespace tolvex {
namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> ParseNumber(std::string_view text, std::string_view decimal_separator) {
  text = Trim(text, kBlanks);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Rewrite as digits with "." so that from_chars, which ignores the locale, can convert it.
  std::string plain;
  plain.reserve(text.size());
  bool seen_separator = false;
  bool seen_digit = false;
  for (std::size_t i = 0; i < text.size();) {
    if (IsAsciiDigit(text[i])) {
      plain.push_back(text[i]);
      seen_digit = true;
      ++i;
    } else if (!seen_separator && !decimal_separator.empty() &&
               text.substr(i).starts_with(decimal_separator)) {
      plain.push_back('.');
      seen_separator = true;
      i += decimal_separator.size();
    } else {
      return std::nullopt;
    }
  }
  if (!seen_digit) return std::nullopt;

  double value = 0.0;
  const char* end = plain.data() + plain.size();
  const auto result = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
  if (result.ptr != end) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to be a double is zero; too large is no number at all.
    bool all_zero_before_point = true;
    for (char c : plain) {
      if (c == '.') break;
      if (c != '0') all_zero_before_point = false;
    }
    if (!all_zero_before_point) return std::nullopt;
    value = 0.0;
  } else if (result.ec != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string GeneralNumberText(double value, std::string_view decimal_separator) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  if (value == 0.0) return "0";
  // Whole numbers below 10^15 are their digits: the common case of every whole part.
  if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value));
    return std::string(digits, end.ptr);
  }

  // Fifteen significant digits in scientific form give the digits and the exponent.
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = scientific.find('e');
  std::string_view mantissa = scientific.substr(0, e);
  int exponent = 0;
  const std::string_view exponent_text = scientific.substr(e + 1);
  // to_chars writes "e+NN" or "e-NN"; from_chars takes no "+".
  const std::size_t skip = exponent_text.front() == '+' ? 1 : 0;
  std::from_chars(exponent_text.data() + skip, exponent_text.data() + exponent_text.size(),
                  exponent);

  std::string text;
  if (mantissa.front() == '-') {
    text.push_back('-');
    mantissa.remove_prefix(1);
  }
  std::string digits;  // the significant digits without the point, trailing zeros dropped
  for (char c : mantissa) {
    if (c != '.') digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const int point = exponent + 1;  // digits before the decimal separator
  if (point <= 0) {
    text += "0";
    text += decimal_separator;
    text.append(static_cast<std::size_t>(-point), '0');
    text += digits;
  } else if (static_cast<std::size_t>(point) >= digits.size()) {
    text += digits;
    text.append(static_cast<std::size_t>(point) - digits.size(), '0');
  } else {
    text += std::string_view(digits).substr(0, static_cast<std::size_t>(point));
    text += decimal_separator;
    text += std::string_view(digits).substr(static_cast<std::size_t>(point));
  }
  return text;
}

}  // namespace tolvex
