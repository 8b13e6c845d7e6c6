// The request a run carries: what the argument text asks for, and the location it names.
//
//   argument text -> trim, drop one pair of enclosing quotes -> "TolVex:" prefix?
//     yes: percent-decode the rest once, trim it
//          -> geocode? coordinate pair? "option"? else invalid location
//     no:  "option"? else invalid data
//
// Browsers hand a link over percent-encoded ("35.6,%20139"), so the location text is decoded
// before it is classified, never after: only validated numbers and a checked geocode ever
// leave this file.
#pragma once

#include <string>
#include <string_view>

#include "geocode/lat_lon.h"

namespace tolvex {

inline constexpr std::string_view kLinkPrefix = "TolVex:";    // letter case ignored
inline constexpr std::string_view kOptionRequest = "option";  // letter case significant

// The location of a request: its WGS84 position and its geocode, both forms always set.
struct Location {
  LatLon position;      // WGS84 decimal degrees, north and east positive
  std::string geocode;  // the 15-character geocode of the position
};

enum class RequestKind { kLocation, kOptionDialog, kInvalidLocation, kInvalidData };

struct Request {
  RequestKind kind = RequestKind::kInvalidData;
  // kInvalidLocation: the location text (percent-decoded, trimmed); kInvalidData: the argument
  // text after trimming and dropping the enclosing quotes. These are what the messages quote.
  std::string text;
  Location location;  // kLocation only
};

// `argument_text` may hold any bytes; a byte that starts no UTF-8 character is read as U+FFFD.
Request ClassifyArgument(std::string_view argument_text, std::string_view decimal_separator);

// True when `text` is "latitude,longitude" or "latitude;longitude" (the comma wins when both
// occur), both numbers as links write them (ParseLinkNumber), latitude in -90..90, longitude in
// -180..180.
bool IsCoordinatePair(std::string_view text, std::string_view decimal_separator);

// The messages for the two invalid kinds, quoting the offending text as QuoteForMessage does.
std::string InvalidLocationMessage(std::string_view location_text);
std::string InvalidDataMessage(std::string_view argument_text);

// RFC 3986 percent-decoding, once: "%" and two hexadecimal digits is that byte; any other "%"
// stays. The bytes are then read as UTF-8, and a byte that starts no valid UTF-8 character
// becomes U+FFFD, so that the result is always valid UTF-8.
std::string PercentDecode(std::string_view text);

}  // namespace tolvex
