// Plus codes, the open standard Open Location Code: a position as "8Q7XMP5W+C5", the digits
// alternating between latitude and longitude, each pair a 20 x 20 grid within the last, then
// single digits of a 5 x 4 grid. A code names an area; its place is the area's centre.
//
//   EncodePlusCode(latitude, longitude, length) -> "8Q7XMP5W+C5"
//   DecodePlusCode(full code) -> the area
//   RecoverNearestPlusCode(short code, reference) -> the full code nearest the reference
//
// Letter case is ignored on input; every code returned is in capitals. Integer arithmetic
// throughout, as the standard asks, so that a code never depends on floating-point rounding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "geocode/lat_lon.h"

namespace tolvex {

inline constexpr int kPlusCodeLength = 10;  // the length printed under places: about 14 m
inline constexpr int kMaxPlusCodeLength = 15;

// True for a well-formed code, full or short: digits of the code's alphabet, one "+" at an
// even position no later than the eighth, padding "0"s only as one even run before a final
// "+", never a single digit after the "+". Any other text gives false.
bool IsValidPlusCode(std::string_view code);
// A valid code whose "+" stands before the eighth digit: it names a place only near another.
bool IsShortPlusCode(std::string_view code);
// A valid code with eight digits (or padding) before the "+" whose area lies on the globe.
bool IsFullPlusCode(std::string_view code);

// The code of `length` digits (held to 2..15; an odd length below 10 takes one digit more) of
// the area that holds the position. The latitude is held to -90..90 and the longitude wrapped
// into -180..180. "" for a non-finite latitude or longitude.
std::string EncodePlusCode(double latitude, double longitude, int length = kPlusCodeLength);

struct PlusCodeArea {
  double south = 0.0;
  double west = 0.0;
  double north = 0.0;  // at most 90
  double east = 0.0;
  int length = 0;  // the code's digits, padding excluded, at most 15
  LatLon Centre() const { return {(south + north) / 2.0, (west + east) / 2.0}; }
};

// The area of a full code; digits after the fifteenth are ignored. nullopt for a short code
// and for any text that is not a full code.
std::optional<PlusCodeArea> DecodePlusCode(std::string_view code);

// The full code, among those that end in `short_code`, whose centre lies nearest `reference`:
// the standard's recovery of a short code. A full code comes back as it is (in capitals); ""
// for any text that is neither a short nor a full code, or a reference that is not finite.
std::string RecoverNearestPlusCode(std::string_view short_code, LatLon reference);

}  // namespace tolvex
