#include "geocode/datum.h"

namespace tolvex {

LatLon ConvertToTokyoDatum(double latitude, double longitude) {
  // Each product first, then the sums from left to right. The build disables FMA contraction
  // so that every step rounds to double exactly as written.
  LatLon tokyo;
  tokyo.latitude = ((latitude + latitude * 0.00010696) - longitude * 0.000017467) - 0.004602;
  tokyo.longitude = ((longitude + latitude * 0.000046047) + longitude * 0.000083049) - 0.010041;
  return tokyo;
}

}  // namespace tolvex
