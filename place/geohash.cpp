#include "place/geohash.h"

namespace tolvex {

std::optional<LatLon> DecodeGeohash(std::string_view hash) {
  constexpr std::string_view kDigits = "0123456789bcdefghjkmnpqrstuvwxyz";
  if (hash.empty() || hash.size() > kMaxGeohashLength) return std::nullopt;
  double south = -90.0, north = 90.0, west = -180.0, east = 180.0;
  bool longitude = true;
  for (char c : hash) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const std::size_t value = kDigits.find(c);
    if (value == std::string_view::npos) return std::nullopt;
    for (int bit = 4; bit >= 0; --bit, longitude = !longitude) {
      const bool upper = ((value >> bit) & 1) != 0;
      double& low = longitude ? west : south;
      double& high = longitude ? east : north;
      const double middle = (low + high) / 2.0;
      (upper ? low : high) = middle;
    }
  }
  return LatLon{(south + north) / 2.0, (west + east) / 2.0};
}

}  // namespace tolvex
