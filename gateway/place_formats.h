// A place in every format the user may paste elsewhere: the place card's copy items and
// `tolvex show`. Numbers always use "." here: these texts go to other programs, never back
// into this one's locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gateway/option_edit.h"
#include "gateway/request.h"

namespace tolvex {

// The place's own formats, declared once: X(member) for each, in the order `tolvex show` prints
// them, the member's name being the row's.
#define TOLVEX_PLACE_FORMATS(X)                         \
  X(coordinates) /* "35.658581, 139.745433" */          \
  X(dms)         /* "35°39'30.9\"N 139°44'43.6\"E" */ \
  X(geocode)                                            \
  X(pluscode) /* ten digits: "8Q7XMP5W+C5" */           \
  X(tolvex)   /* "TolVex:" and the geocode */           \
  X(geo)      /* "geo:LAT,LON", then "?z=Z" when the link gave a zoom */

// A named text, as `tolvex show` prints it.
struct PlaceText {
  std::string name;  // "coordinates", "dms", "geocode", "pluscode", "tolvex", "geo", "map:ID"
  std::string text;
};

// A map's command line for the place: what its template expands to, as `tolvex expand` prints it.
struct MapLine {
  std::string id;
  std::string command_line;
};

struct PlaceFormats {
#define TOLVEX_PLACE_FORMAT(member) std::string member;
  TOLVEX_PLACE_FORMATS(TOLVEX_PLACE_FORMAT)
#undef TOLVEX_PLACE_FORMAT
  std::vector<MapLine> maps;  // one per map, in file order

  // The formats as named rows, in the order above, then "map:ID" for each map.
  std::vector<PlaceText> Rows() const;
};

// One of the place's own formats.
using PlaceFormat = std::string PlaceFormats::*;

// The place in every format, with the command line of each of `maps`.
PlaceFormats DescribePlace(const Location& location, const std::vector<MapOption>& maps,
                           std::string_view decimal_separator);

}  // namespace tolvex
