#include "gateway/place_formats.h"

#include <cmath>
#include <cstdio>

#include "gateway/command_template.h"
#include "gateway/option_store.h"
#include "geocode/plus_code.h"

namespace tolvex {
namespace {

// The decimal degrees of both formats that carry numbers: the field format's own writing, so
// that the card, the tool and a template's "$lat.d(-.6r)" always agree.
constexpr std::string_view kCoordinatesTemplate = "$lat.d(-.6r),$lon.d(-.6r)";

// One axis as degrees, minutes and seconds: rounded once to tenths of a second (half to even,
// so that 59.96" becomes the next minute), then split. A value that rounds to zero is N or E.
std::string DegreesMinutesSeconds(double degrees, char positive, char negative) {
  const double tenths = std::nearbyint(std::fabs(degrees) * 36000.0);
  const auto total = static_cast<long long>(tenths);
  const long long whole = total / 36000;
  const long long minutes = total % 36000 / 600;
  const long long seconds = total % 600;
  const char hemisphere = degrees < 0 && total != 0 ? negative : positive;
  char text[64];
  std::snprintf(text, sizeof text, "%lld\u00B0%02lld'%02lld.%lld\"%c", whole, minutes, seconds / 10,
                seconds % 10, hemisphere);
  return text;
}

}  // namespace

std::vector<PlaceText> PlaceFormats::Rows() const {
  std::vector<PlaceText> rows;
#define TOLVEX_PLACE_FORMAT(member) rows.push_back({#member, member});
  TOLVEX_PLACE_FORMATS(TOLVEX_PLACE_FORMAT)
#undef TOLVEX_PLACE_FORMAT
  for (const MapLine& map : maps) rows.push_back({"map:" + map.id, map.command_line});
  return rows;
}

PlaceFormats DescribePlace(const Location& location, const std::vector<MapOption>& maps,
                           std::string_view decimal_separator) {
  const std::string numbers = ExpandCommandTemplate(
      location, {std::string(kCoordinatesTemplate), std::string(kDefaultDatum)}, ".");
  const std::size_t comma = numbers.find(',');
  PlaceFormats formats;
  formats.coordinates = numbers.substr(0, comma) + ", " + numbers.substr(comma + 1);
  formats.dms = DegreesMinutesSeconds(location.position.latitude, 'N', 'S') + " " +
                DegreesMinutesSeconds(location.position.longitude, 'E', 'W');
  formats.geocode = location.geocode;
  formats.pluscode = EncodePlusCode(location.position.latitude, location.position.longitude);
  formats.tolvex = std::string(kLinkPrefix) + location.geocode;
  formats.geo = std::string(kGeoPrefix) + numbers;
  if (location.zoom) formats.geo += "?z=" + std::to_string(*location.zoom);
  for (const MapOption& map : maps) {
    formats.maps.push_back(
        {map.id, ExpandCommandTemplate(location, CommandOptionOf(map), decimal_separator)});
  }
  return formats;
}

}  // namespace tolvex
