// The WGS84 -> Tokyo datum shift: a linear approximation in degrees, three coefficients per
// axis. Around Tokyo it moves a position about 11.6" south and 11.5" east.
#pragma once

#include "geocode/lat_lon.h"

namespace tolvex {

// The Tokyo-datum position of a WGS84 position (decimal degrees). Evaluated operation by
// operation in a fixed order; no range is enforced on the result (90 maps above 90).
LatLon ConvertToTokyoDatum(double latitude, double longitude);

}  // namespace tolvex
