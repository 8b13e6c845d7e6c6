// A position in decimal degrees, north and east positive.
#pragma once

namespace tolvex {

struct LatLon {
  double latitude = 0.0;
  double longitude = 0.0;
};

// The ranges of a position, both ends included: latitude -90..90, longitude -180..180.
constexpr bool IsLatitude(double degrees) { return degrees >= -90.0 && degrees <= 90.0; }
constexpr bool IsLongitude(double degrees) { return degrees >= -180.0 && degrees <= 180.0; }

}  // namespace tolvex
