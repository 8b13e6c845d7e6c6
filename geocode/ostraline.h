// The geocode codec: a 15-character text "AAd.AAd.AAd.AAd" naming one node of a
// 45697600 x 45697600 latitude/longitude grid (WGS84, decimal degrees).
//
//   IsOstralineCode(text) -> OstralineToLatitude / OstralineToLongitude -> degrees
//   LatLonToOstraline(latitude, longitude) -> text
//
// All functions are pure and locale-independent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvex {

// True exactly for a 15-character text of the pattern AAd.AAd.AAd.AAd, where A is an
// ASCII capital letter and d an ASCII digit. Never trims; any other text gives false.
bool IsOstralineCode(std::string_view text);

// Latitude of the node that `code` names, in degrees (-90 <= result < 90).
// `code` must pass IsOstralineCode; for any other text the result is unspecified but defined.
double OstralineToLatitude(std::string_view code);

// Longitude of the node that `code` names, in degrees (-180 <= result < 180).
// `code` must pass IsOstralineCode; for any other text the result is unspecified but defined.
double OstralineToLongitude(std::string_view code);

// The geocode of the grid node nearest to the position (ties to even). Latitudes within half
// a step of 90 land on the top row; longitudes within half a step of 180 wrap to -180.
// Expects -90 <= latitude <= 90 and -180 <= longitude <= 180; values outside (or NaN) are
// clamped to the nearest edge node, so the result always passes IsOstralineCode.
std::string LatLonToOstraline(double latitude, double longitude);

namespace internal {

inline constexpr std::int32_t kGridSize = 45697600;  // 26 * 26 * 10 * 26 * 26 * 10

// Grid index held in positions 1-3 and 9-11 (latitude) or 5-7 and 13-15 (longitude).
std::int32_t LatitudeIndex(std::string_view code);
std::int32_t LongitudeIndex(std::string_view code);

// The geocode text of two grid indices, each in [0, kGridSize).
std::string CodeFromIndices(std::int32_t latitude_index, std::int32_t longitude_index);

}  // namespace internal
}  // namespace tolvex
