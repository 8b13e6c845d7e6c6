// Numbers as the user writes and reads them: the numeric test, text-to-double conversion and
// the general number-to-text conversion, each with the user's decimal separator passed in
// (the platform supplies it), so that nothing depends on the process locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// The value of a decimal text, or nullopt when it is not a number: optional blanks (space,
// tab) around, an optional sign, ASCII digits with at most one `decimal_separator`, at least
// one digit. No exponent, thousands separators, inf or nan. Correctly rounded; a text whose
// value lies beyond the range of a double is not a number.
std::optional<double> ParseNumber(std::string_view text, std::string_view decimal_separator);

// A number of a link: links come from web pages and mails that do not know the reader's
// locale, so "." always separates the decimals; the user's own separator is accepted too.
inline std::optional<double> ParseLinkNumber(std::string_view text,
                                             std::string_view decimal_separator) {
  const auto value = ParseNumber(text, ".");
  if (value || decimal_separator == ".") return value;
  return ParseNumber(text, decimal_separator);
}

// The shortest text of `value` with at most 15 significant digits, trailing zeros dropped,
// never in exponent form: 35 -> "35", 0.6585809999999981 -> "0.658580999999998",
// 5.1e-12 -> "0.0000000000051", 1e15 -> "1000000000000000". Non-finite values give "inf",
// "-inf" or "nan"; callers keep those from users.
std::string GeneralNumberText(double value, std::string_view decimal_separator);

}  // namespace tolvex
