#include "gateway/request.h"

#include <cmath>
#include <optional>
#include <vector>

#include "gateway/message_text.h"
#include "gateway/number_text.h"
#include "geocode/ostraline.h"
#include "platform/text.h"

namespace tolvex {
namespace {

bool HasPrefix(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool HasLinkPrefix(std::string_view text) {
  // The prefix alone is no request.
  return text.size() > kLinkPrefix.size() && HasPrefix(text, kLinkPrefix);
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

// `text` cut at every character of `separators`.
std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find_first_of(separators, start)) != std::string_view::npos;) {
    pieces.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

// Latitude and longitude as links write them, within range.
std::optional<LatLon> ReadLatLon(std::string_view latitude_text, std::string_view longitude_text,
                                 std::string_view separator_text) {
  const auto latitude = ParseLinkNumber(latitude_text, separator_text);
  const auto longitude = ParseLinkNumber(longitude_text, separator_text);
  if (!latitude || !longitude || !IsLatitude(*latitude) || !IsLongitude(*longitude)) {
    return std::nullopt;
  }
  return LatLon{*latitude, *longitude};
}

std::optional<LatLon> ReadCoordinatePair(std::string_view text, std::string_view separator_text) {
  const auto pair = SplitCoordinatePair(text);
  if (!pair) return std::nullopt;
  return ReadLatLon(pair->latitude, pair->longitude, separator_text);
}

// A geo: link's coordinates, "LAT,LON" or, where `altitude_allowed`, "LAT,LON,ALT": numbers as
// in a pair, the altitude checked and dropped.
std::optional<LatLon> ReadGeoCoordinates(std::string_view text, bool altitude_allowed,
                                         std::string_view separator_text) {
  const auto elements = Split(text, ",");
  if (elements.size() != 2 && !(altitude_allowed && elements.size() == 3)) return std::nullopt;
  if (elements.size() == 3 && !ParseLinkNumber(elements[2], separator_text)) return std::nullopt;
  return ReadLatLon(elements[0], elements[1], separator_text);
}

// A query's "q": "LAT,LON", optionally followed by a label in parentheses.
std::optional<LatLon> ReadQueryPair(std::string_view value, std::string_view separator_text) {
  const std::size_t label = value.find('(');
  if (label != std::string_view::npos && !value.ends_with(')')) return std::nullopt;
  return ReadGeoCoordinates(value.substr(0, label), false, separator_text);
}

struct GeoParameter {
  std::string_view name;
  std::string_view value;
};

GeoParameter SplitParameter(std::string_view item) {
  const std::size_t equals = item.find('=');
  if (equals == std::string_view::npos) return {item, {}};
  return {item.substr(0, equals), item.substr(equals + 1)};
}

struct GeoLocation {
  LatLon position;
  std::optional<int> zoom;
};

// The location of a geo: link's text after "geo:" (decoded), or nullopt when it gives none.
std::optional<GeoLocation> ReadGeoLink(std::string_view text, std::string_view separator_text) {
  if (text.starts_with("//")) text.remove_prefix(2);
  const std::size_t question = text.find('?');
  const std::string_view path = text.substr(0, question);
  const std::size_t parameters = path.find_first_of(";&");
  const auto coordinates = ReadGeoCoordinates(path.substr(0, parameters), true, separator_text);
  if (!coordinates) return std::nullopt;

  std::optional<double> zoom;
  if (parameters != std::string_view::npos) {
    // ";name=value" as RFC 5870 writes them, and "&z=" as some programs do without a "?".
    for (const std::string_view item : Split(path.substr(parameters + 1), ";&")) {
      const GeoParameter parameter = SplitParameter(item);
      if (EqualsIgnoringAsciiCase(parameter.name, "crs")) {
        if (!EqualsIgnoringAsciiCase(parameter.value, "wgs84")) return std::nullopt;
      } else if (EqualsIgnoringAsciiCase(parameter.name, "z")) {
        if (const auto z = ParseLinkNumber(parameter.value, separator_text)) zoom = z;
      }
    }
  }
  std::optional<std::string> query_pair;  // the last "q", "+" read as a blank
  if (question != std::string_view::npos) {
    for (const std::string_view item : Split(text.substr(question + 1), "&")) {
      const GeoParameter parameter = SplitParameter(item);
      std::string value(parameter.value);
      for (char& c : value) c = c == '+' ? ' ' : c;
      if (EqualsIgnoringAsciiCase(parameter.name, "z")) {
        if (const auto z = ParseLinkNumber(value, separator_text)) zoom = z;
      } else if (EqualsIgnoringAsciiCase(parameter.name, "q")) {
        query_pair = std::move(value);
      }
    }
  }

  GeoLocation location{*coordinates, std::nullopt};
  // "geo:0,0?q=..." is how phones link a place: the place is the query's, and a query that is
  // a search names no place this program could show.
  if (coordinates->latitude == 0.0 && coordinates->longitude == 0.0 && query_pair) {
    const auto pair = ReadQueryPair(*query_pair, separator_text);
    if (!pair) return std::nullopt;
    location.position = *pair;
  }
  if (zoom) location.zoom = ZoomLevel(*zoom);
  return location;
}

}  // namespace

int ZoomLevel(double zoom) {
  if (!(zoom > 0.0)) return 0;
  if (zoom >= kMaxZoom) return kMaxZoom;
  // The default rounding mode takes a half to the even neighbour, as every whole number here.
  return static_cast<int>(std::nearbyint(zoom));
}

std::optional<CoordinateTexts> SplitCoordinatePair(std::string_view text) {
  const char separator = PairSeparator(text);
  if (separator == '\0') return std::nullopt;
  const auto elements = Split(text, std::string_view(&separator, 1));
  if (elements.size() != 2) return std::nullopt;
  return CoordinateTexts{elements[0], elements[1]};
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
  if (HasPrefix(text, kGeoPrefix)) {
    const std::string decoded = PercentDecode(text.substr(kGeoPrefix.size()));
    const std::string_view location = Trim(decoded, kSpace);
    if (const auto geo = ReadGeoLink(location, decimal_separator)) {
      request.kind = RequestKind::kLocation;
      request.location.position = geo->position;
      request.location.geocode = LatLonToOstraline(geo->position.latitude, geo->position.longitude);
      request.location.zoom = geo->zoom;
    } else {
      request.kind = RequestKind::kInvalidLocation;
      request.text = location;
    }
    return request;
  }
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
