// Coordinates as people, Wikipedia and GPS devices write them:
//
//   35.6586N 139.7454E        N 35.6586, E 139.7454        35.6586° N, 139.7454° E
//   35°39'30.9"N 139°44'43.6"E   (also ′ ″, ’ ”, '' for the marks, blanks between the parts)
//   35°39.515'N 139°44.727'E  (degrees and decimal minutes)
//
// A hemisphere letter (N S E W, before or after the number) decides which number is which;
// without letters the latitude comes first and the degrees carry their mark.
#pragma once

#include <optional>
#include <string_view>

#include "geocode/lat_lon.h"

namespace tolvex {

// The position the whole of `text` writes (blanks around allowed; one "," or ";" may separate
// the two). nullopt for any other text, and for: a minus sign together with a letter, two
// letters of one axis, minutes or seconds of 60 or more, a fraction before minutes or seconds,
// a latitude beyond 90 or a longitude beyond 180.
std::optional<LatLon> ReadWrittenCoordinates(std::string_view text);

}  // namespace tolvex
