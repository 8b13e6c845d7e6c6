// The request a run carries: what the argument text asks for, and the location it names.
//
//   argument text -> trim, drop one pair of enclosing quotes -> "TolVex:" prefix?
//     yes: percent-decode the rest once, trim it
//          -> geocode? coordinate pair? "option"? else invalid location
//     no:  "geo:" prefix? percent-decode the rest once, trim it -> geo URI? else invalid location
//          "option"? else invalid data
//
// Browsers hand a link over percent-encoded ("35.6,%20139"), so the location text is decoded
// before it is classified, never after: only validated numbers and a checked geocode ever
// leave this file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geocode/lat_lon.h"

namespace tolvex {

inline constexpr std::string_view kLinkPrefix = "TolVex:";    // letter case ignored
inline constexpr std::string_view kGeoPrefix = "geo:";        // RFC 5870; letter case ignored
inline constexpr std::string_view kOptionRequest = "option";  // letter case significant

// Map zoom levels as the map services count them: 0 shows the world, 21 a building.
inline constexpr int kMaxZoom = 21;
inline constexpr int kDefaultZoom = 16;  // when neither the link nor the map gives one

// The location of a request: its WGS84 position and its geocode, both forms always set.
struct Location {
  LatLon position;                         // WGS84 decimal degrees, north and east positive
  std::string geocode;                     // the 15-character geocode of the position
  std::optional<int> zoom = std::nullopt;  // the link's own zoom, 0..kMaxZoom (geo: links only)
};

enum class RequestKind { kLocation, kOptionDialog, kInvalidLocation, kInvalidData };

struct Request {
  RequestKind kind = RequestKind::kInvalidData;
  // kInvalidLocation: the location text (percent-decoded, trimmed; for a geo: link the text
  // after "geo:"); kInvalidData: the argument text after trimming and dropping the enclosing
  // quotes. These are what the messages quote.
  std::string text;
  Location location;  // kLocation only
};

// `argument_text` may hold any bytes; a byte that starts no UTF-8 character is read as U+FFFD.
//
// A TolVex: link holds a geocode or a pair, "latitude,longitude" or "latitude;longitude" (the
// comma wins when both occur), both numbers as links write them (ParseLinkNumber), latitude in
// -90..90, longitude in -180..180.
//
// A geo: link (RFC 5870, and the forms that phones and mail programs write) is read as
//   geo:[//]LAT,LON[,ALT][;NAME[=VALUE]]...[?NAME=VALUE[&NAME=VALUE]...]
// Names in any letter case. The numbers follow the pair rules; an altitude is checked and
// dropped. ";crs=" must be wgs84; "z" (as ";z=", "&z=" or in the query) is the zoom; a query's
// "q=LAT,LON(label)" is the location when the coordinates are 0,0, and a "q" without a pair
// then refuses the link; "+" in a query value is a blank. Everything else is ignored: nothing
// but the position and the zoom leaves a geo: link.
Request ClassifyArgument(std::string_view argument_text, std::string_view decimal_separator);

// The zoom level of a link's zoom number: rounded half to even, held to 0..kMaxZoom. An
// option's zoom attribute takes whole numbers 0..kMaxZoom alone (option_store.cpp says why).
int ZoomLevel(double zoom);

// The latitude and longitude texts of "latitude,longitude" or "latitude;longitude" (the comma
// wins when both occur), untrimmed; nullopt unless the text holds exactly one separator.
struct CoordinateTexts {
  std::string_view latitude;
  std::string_view longitude;
};
std::optional<CoordinateTexts> SplitCoordinatePair(std::string_view text);

// The messages for the two invalid kinds, quoting the offending text as QuoteForMessage does.
std::string InvalidLocationMessage(std::string_view location_text);
std::string InvalidDataMessage(std::string_view argument_text);

// RFC 3986 percent-decoding, once: "%" and two hexadecimal digits is that byte; any other "%"
// stays. The bytes are then read as UTF-8, and a byte that starts no valid UTF-8 character
// becomes U+FFFD, so that the result is always valid UTF-8.
std::string PercentDecode(std::string_view text);

}  // namespace tolvex
