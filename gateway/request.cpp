#include "gateway/request.h"

#include <optional>
#include <vector>

#include "gateway/number_text.h"
#include "geocode/ostraline.h"

namespace tolvex {
namespace {

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The prefix compares in ASCII only: no non-ASCII character upper-cases onto its letters.
bool HasLinkPrefix(std::string_view text) {
  if (text.size() <= kLinkPrefix.size()) return false;  // the prefix alone is no request
  for (std::size_t i = 0; i < kLinkPrefix.size(); ++i) {
    if (AsciiUpper(text[i]) != AsciiUpper(kLinkPrefix[i])) return false;
  }
  return true;
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

struct Pair {
  double latitude = 0.0;
  double longitude = 0.0;
};

std::optional<Pair> ReadCoordinatePair(std::string_view text, std::string_view separator_text) {
  const char separator = PairSeparator(text);
  if (separator == '\0') return std::nullopt;
  const auto elements = Split(text, separator);
  if (elements.size() != 2) return std::nullopt;
  const auto latitude = ParseNumber(elements[0], separator_text);
  const auto longitude = ParseNumber(elements[1], separator_text);
  if (!latitude || !longitude) return std::nullopt;
  if (!(*latitude >= -90.0 && *latitude <= 90.0)) return std::nullopt;
  if (!(*longitude >= -180.0 && *longitude <= 180.0)) return std::nullopt;
  return Pair{*latitude, *longitude};
}

std::string QuotedMessage(std::string_view head, std::string_view text) {
  std::string message(head);
  message += '"';
  message += ClipForMessage(text);
  message += '"';
  return message;
}

}  // namespace

bool IsCoordinatePair(std::string_view text, std::string_view decimal_separator) {
  return ReadCoordinatePair(text, decimal_separator).has_value();
}

Request ClassifyArgument(std::string_view argument_text, std::string_view decimal_separator) {
  std::string_view text = TrimSpaces(argument_text);
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

  const std::string_view location = TrimSpaces(text.substr(kLinkPrefix.size()));
  if (IsOstralineCode(location)) {
    request.kind = RequestKind::kLocation;
    request.state.latitude = OstralineToLatitude(location);
    request.state.longitude = OstralineToLongitude(location);
    request.state.geocode = location;
  } else if (const auto pair = ReadCoordinatePair(location, decimal_separator)) {
    request.kind = RequestKind::kLocation;
    request.state.latitude = pair->latitude;
    request.state.longitude = pair->longitude;
    request.state.geocode = LatLonToOstraline(pair->latitude, pair->longitude);
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

std::string ClipForMessage(std::string_view text, std::size_t max_characters) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character starts at every byte that is not a UTF-8 continuation byte.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == max_characters) {
      return std::string(text.substr(0, i)) + "\u2026";
    }
  }
  return std::string(text);
}

}  // namespace tolvex
