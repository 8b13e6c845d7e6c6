// The ten-character place codes of Organic Maps, CoMaps and Maps.me links ("ge0://ApYSV0YTAl",
// "https://omaps.app/Umse5f0H8a/Name"): one character of zoom, then nine whose bits interleave
// latitude and longitude, three bits of each a character, in URL-safe base64.
#pragma once

#include <optional>
#include <string_view>

#include "place/coded_place.h"

namespace tolvex {

inline constexpr std::size_t kGe0CodeLength = 10;

// The place of a code of exactly ten characters, all of the URL-safe base64 alphabet: the
// centre of the cell the code names, and its zoom (4 to 19.75). nullopt for any other text.
std::optional<CodedPlace> DecodeGe0Code(std::string_view code);

}  // namespace tolvex
