// OpenStreetMap short links ("https://osm.org/go/0EEQjE--"): a quadtile address in a base64 of
// its own ("A-Z a-z 0-9 _ ~", "@" for "~" in old links), each character three bits of
// longitude and three of latitude interleaved, longitude first; one or two "-" (old links: "=")
// after it lower the zoom by two or one.
#pragma once

#include <optional>
#include <string_view>

#include "place/coded_place.h"

namespace tolvex {

inline constexpr std::size_t kMaxOsmShortCodeLength = 10;  // 30 bits of each coordinate

// The place of a code: the south-west corner of its tile, as the site shows it, and the zoom.
// nullopt unless the code is 1 to 10 characters of the alphabet followed by at most two zoom
// marks.
std::optional<CodedPlace> DecodeOsmShortCode(std::string_view code);

}  // namespace tolvex
