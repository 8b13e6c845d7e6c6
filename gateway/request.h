// The request a run carries: what the argument text asks for, and the location it names.
//
//   argument text -> trim, drop one pair of enclosing quotes -> "TolVex:" prefix?
//     yes: geocode? coordinate pair? "option"? else invalid location
//     no:  "option"? else invalid data
#pragma once

#include <string>
#include <string_view>

namespace tolvex {

inline constexpr std::string_view kLinkPrefix = "TolVex:";    // letter case ignored
inline constexpr std::string_view kOptionRequest = "option";  // letter case significant

// The values that one location request carries from start-up to launch.
struct RequestState {
  double latitude = 0.0;   // WGS84 decimal degrees, north positive
  double longitude = 0.0;  // WGS84 decimal degrees, east positive
  std::string geocode;     // the 15-character geocode of the WGS84 position
  std::string command_template;
  std::string datum_name;
  double output_latitude = 0.0;  // what the named fields show (WGS84 or Tokyo datum)
  double output_longitude = 0.0;
};

enum class RequestKind { kLocation, kOptionDialog, kInvalidLocation, kInvalidData };

struct Request {
  RequestKind kind = RequestKind::kInvalidData;
  // kInvalidLocation: the location text; kInvalidData: the argument text after trimming and
  // dropping the enclosing quotes. These are what the messages quote.
  std::string text;
  // kLocation: latitude, longitude and geocode are set.
  RequestState state;
};

Request ClassifyArgument(std::string_view argument_text, std::string_view decimal_separator);

// True when `text` is "latitude,longitude" or "latitude;longitude" (the comma wins when both
// occur), both numbers in the user's notation, latitude in -90..90, longitude in -180..180.
bool IsCoordinatePair(std::string_view text, std::string_view decimal_separator);

// The messages for the two invalid kinds. The offending text is quoted whole up to 200
// characters, cut there and followed by "…" beyond.
std::string InvalidLocationMessage(std::string_view location_text);
std::string InvalidDataMessage(std::string_view argument_text);

// `text` cut after its first `max_characters` UTF-8 characters, with "…" appended when cut.
std::string ClipForMessage(std::string_view text, std::size_t max_characters = 200);

}  // namespace tolvex
