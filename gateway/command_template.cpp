#include "gateway/command_template.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "gateway/field_format.h"
#include "geocode/datum.h"

namespace tolvex {
namespace {

enum class Unit { kDegrees, kMinutes, kSeconds, kRadians };

struct FieldName {
  std::string_view name;
  CoordinateKind kind;
  Unit unit;
};

constexpr FieldName kFieldNames[] = {
    {"lat.d", CoordinateKind::kLatitude, Unit::kDegrees},
    {"lat.m", CoordinateKind::kLatitude, Unit::kMinutes},
    {"lat.s", CoordinateKind::kLatitude, Unit::kSeconds},
    {"lat.r", CoordinateKind::kLatitude, Unit::kRadians},
    {"lon.d", CoordinateKind::kLongitude, Unit::kDegrees},
    {"lon.m", CoordinateKind::kLongitude, Unit::kMinutes},
    {"lon.s", CoordinateKind::kLongitude, Unit::kSeconds},
    {"lon.r", CoordinateKind::kLongitude, Unit::kRadians},
};

std::optional<FieldName> LookUpField(std::string_view name) {
  for (const auto& field : kFieldNames) {
    if (field.name == name) return field;
  }
  return std::nullopt;
}

// The quantity of a coordinate in a unit, from its magnitude, in this order of operations.
double Quantity(double coordinate, Unit unit) {
  const double degrees = std::fabs(coordinate);
  const double minutes = (degrees - std::floor(degrees)) * 60.0;
  switch (unit) {
    case Unit::kDegrees:
      return degrees;
    case Unit::kMinutes:
      return minutes;
    case Unit::kSeconds:
      return (minutes - std::floor(minutes)) * 60.0;
    case Unit::kRadians:
      return degrees * std::numbers::pi / 180.0;
  }
  return degrees;
}

// The position the named fields show: the WGS84 position, or its Tokyo-datum shift.
LatLon OutputPosition(const Location& location, std::string_view datum_name) {
  const LatLon& wgs84 = location.position;
  return datum_name == kTokyoDatum ? ConvertToTokyoDatum(wgs84.latitude, wgs84.longitude) : wgs84;
}

// The text of one named field, or nullopt when it is to be copied as written.
std::optional<std::string> RenderField(const LatLon& output, std::string_view name,
                                       std::string_view format_text,
                                       std::string_view decimal_separator) {
  const auto field = LookUpField(name);
  if (!field) return std::nullopt;
  const double coordinate =
      field->kind == CoordinateKind::kLatitude ? output.latitude : output.longitude;
  const int hemisphere_sign = coordinate >= 0.0 ? 1 : -1;
  return FormatField(format_text, Quantity(coordinate, field->unit), field->kind, hemisphere_sign,
                     decimal_separator);
}

}  // namespace

std::string ExpandCommandTemplate(const Location& location, const CommandOption& option,
                                  std::string_view decimal_separator) {
  const std::string_view text = option.command_template;
  std::optional<LatLon> output;  // shifted once, at the first named field
  std::string line;
  line.reserve(text.size() + 32);
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t dollar = text.find('$', i);
    if (dollar == std::string_view::npos) {
      line += text.substr(i);
      break;
    }
    line += text.substr(i, dollar - i);
    i = dollar;
    const std::string_view rest = text.substr(i + 1);
    if (rest.starts_with('$')) {
      line += '$';
      i += 2;
      continue;
    }
    if (rest.starts_with("ost")) {
      line += location.geocode;
      i += 4;
      continue;
    }
    if (rest.starts_with("zoom")) {
      line += std::to_string(location.zoom.value_or(option.zoom.value_or(kDefaultZoom)));
      i += 5;
      continue;
    }
    // Both searched through the whole rest of the template; bytes "(" and ")" never occur
    // inside a multi-byte UTF-8 character.
    const std::size_t open = text.find('(', i);
    const std::size_t close = text.find(')', i);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
      line += '$';
      ++i;
      continue;
    }
    const std::string_view name = text.substr(i + 1, open - i - 1);
    const std::string_view format_text = text.substr(open + 1, close - open - 1);
    if (!output) output = OutputPosition(location, option.datum_name);
    if (const auto rendered = RenderField(*output, name, format_text, decimal_separator)) {
      line += *rendered;
    } else {
      line += text.substr(i, close - i + 1);
    }
    i = close + 1;
  }
  return line;
}

}  // namespace tolvex
