// Geohash (as Waze writes it in "https://waze.com/ul/hsv8wrvsgp", after the "h"): base-32
// digits whose bits halve the longitude and the latitude in turn, longitude first.
#pragma once

#include <optional>
#include <string_view>

#include "geocode/lat_lon.h"

namespace tolvex {

inline constexpr std::size_t kMaxGeohashLength = 22;  // beyond a double's precision

// The centre of the cell that `hash` names (1 to 22 digits of "0123456789bcdefghjkmnpqrstuvwxyz",
// letter case ignored). nullopt for any other text.
std::optional<LatLon> DecodeGeohash(std::string_view hash);

}  // namespace tolvex
