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

struct PlaceText {
  std::string name;  // "coordinates", "dms", "geocode", "pluscode", "tolvex", "geo", "map:ID"
  std::string text;
};

// In this order: coordinates ("35.658581, 139.745433"), dms ("35°39'30.9\"N 139°44'43.6\"E"),
// geocode, pluscode (ten digits: "8Q7XMP5W+C5"), tolvex ("TolVex:" and the geocode), geo
// ("geo:LAT,LON", then "?z=Z" when the link gave a zoom), then "map:ID" for each of `maps` in file
// order: the command line its template expands to for this place, as `tolvex expand` prints it.
std::vector<PlaceText> DescribePlace(const Location& location, const std::vector<MapOption>& maps,
                                     std::string_view decimal_separator);

}  // namespace tolvex
