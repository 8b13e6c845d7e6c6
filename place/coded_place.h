// The place of a short code that a map service writes into its links: a position, and the
// zoom of the view when the code holds one.
#pragma once

#include <optional>

#include "geocode/lat_lon.h"

namespace tolvex {

struct CodedPlace {
  LatLon position;
  std::optional<double> zoom;  // as the code gives it, not yet rounded or held to a range
};

}  // namespace tolvex
