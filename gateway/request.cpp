#include "gateway/request.h"

#include <optional>
#include <vector>

#include "gateway/message_text.h"
#include "gateway/number_text.h"
#include "gateway/text.h"
#include "geocode/ostraline.h"

namespace tolvex {
namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The prefix compares in ASCII only: no non-ASCII character upper-cases onto its letters.
bool HasLinkPrefix(std::string_view text) {
  if (text.size() <= kLinkPrefix.size()) return false;  // the prefix alone is no request
  for (std::size_t i = 0; i < kLinkPrefix.size(); ++i) {
    if (AsciiUpper(text[i]) != AsciiUpper(kLinkPrefix[i])) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

char PairSeparator(std::string_view text) {
  if (text.find(',') != std::string_view::npos) return ',';
  if (text.find(';') != std::string_view::npos) return ';';
  return '\0';
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;) {
    pieces.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::optional<LatLon> ReadCoordinatePair(std::string_view text, std::string_view separator_text) {
  const char separator = PairSeparator(text);
  if (separator == '\0') return std::nullopt;
  const auto elements = Split(text, separator);
  if (elements.size() != 2) return std::nullopt;
  const auto latitude = ParseLinkNumber(elements[0], separator_text);
  const auto longitude = ParseLinkNumber(elements[1], separator_text);
  if (!latitude || !longitude) return std::nullopt;
  if (!(*latitude >= -90.0 && *latitude <= 90.0)) return std::nullopt;
  if (!(*longitude >= -180.0 && *longitude <= 180.0)) return std::nullopt;
  return LatLon{*latitude, *longitude};
}

std::string QuotedMessage(std::string_view head, std::string_view text) {
  std::string message(head);
  message += '"';
  message += QuoteForMessage(text);
  message += '"';
  return message;
}

}  // namespace

bool IsCoordinatePair(std::string_view text, std::string_view decimal_separator) {
  return ReadCoordinatePair(text, decimal_separator).has_value();
}

Request ClassifyArgument(std::string_view argument_text, std::string_view decimal_separator) {
  // The argument may hold any bytes: made valid UTF-8 here, where it enters, every later step
  // (and every message) sees characters only.
  const std::string valid = ValidUtf8(argument_text);
  std::string_view text = Trim(valid, kSpace);
  // One pair of enclosing quotes goes; what stood inside them is not trimmed again.
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }

  Request request;
  if (!HasLinkPrefix(text)) {
    request.kind = text == kOptionRequest ? RequestKind::kOptionDialog : RequestKind::kInvalidData;
    if (request.kind == RequestKind::kInvalidData) request.text = text;
    return request;
  }

  const std::string decoded = PercentDecode(text.substr(kLinkPrefix.size()));
  const std::string_view location = Trim(decoded, kSpace);
  if (IsOstralineCode(location)) {
    request.kind = RequestKind::kLocation;
    request.location.position = {OstralineToLatitude(location), OstralineToLongitude(location)};
    request.location.geocode = location;
  } else if (const auto pair = ReadCoordinatePair(location, decimal_separator)) {
    request.kind = RequestKind::kLocation;
    request.location.position = *pair;
    request.location.geocode = LatLonToOstraline(pair->latitude, pair->longitude);
  } else if (location == kOptionRequest) {
    request.kind = RequestKind::kOptionDialog;
  } else {
    request.kind = RequestKind::kInvalidLocation;
    request.text = location;
  }
  return request;
}

std::string InvalidLocationMessage(std::string_view location_text) {
  return QuotedMessage("Invalid Location: ", location_text);
}

std::string InvalidDataMessage(std::string_view argument_text) {
  return QuotedMessage("Invalid Data: ", argument_text);
}

std::string PercentDecode(std::string_view text) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return ValidUtf8(bytes);
}

}  // namespace tolvex
