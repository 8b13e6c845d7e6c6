// A position in decimal degrees, north and east positive.
#pragma once

namespace tolvex {

struct LatLon {
  double latitude = 0.0;
  double longitude = 0.0;
};

}  // namespace tolvex
