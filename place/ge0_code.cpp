#include "place/ge0_code.h"

#include <cstdint>

namespace tolvex {
namespace {

constexpr std::string_view kBase64Url =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
// Ten characters of three bits each would give 30 bits; a link writes nine of them.
constexpr int kCoordinateBits = 30;

}  // namespace

std::optional<CodedPlace> DecodeGe0Code(std::string_view code) {
  if (code.size() != kGe0CodeLength) return std::nullopt;
  int values[kGe0CodeLength];
  for (std::size_t i = 0; i < code.size(); ++i) {
    const std::size_t value = kBase64Url.find(code[i]);
    if (value == std::string_view::npos) return std::nullopt;
    values[i] = static_cast<int>(value);
  }
  // Six bits a character, from the highest: latitude, longitude, latitude, ...
  std::uint32_t latitude = 0;
  std::uint32_t longitude = 0;
  int shift = kCoordinateBits - 3;
  for (std::size_t i = 1; i < kGe0CodeLength; ++i, shift -= 3) {
    const auto bits = static_cast<std::uint32_t>(values[i]);
    const std::uint32_t lat = ((bits >> 5) & 1) << 2 | ((bits >> 3) & 1) << 1 | ((bits >> 1) & 1);
    const std::uint32_t lon = ((bits >> 4) & 1) << 2 | ((bits >> 2) & 1) << 1 | (bits & 1);
    latitude |= lat << shift;
    longitude |= lon << shift;
  }
  // The centre of the cell: half of the three bits the code leaves out.
  latitude += 1u << 2;
  longitude += 1u << 2;
  constexpr double kMax = static_cast<double>((1u << kCoordinateBits) - 1);
  CodedPlace place;
  place.position.latitude = static_cast<double>(latitude) / kMax * 180.0 - 90.0;
  place.position.longitude = static_cast<double>(longitude) / (kMax + 1.0) * 360.0 - 180.0;
  place.zoom = values[0] / 4.0 + 4.0;
  return place;
}

}  // namespace tolvex
