// FormatField: how one named field of a command template is written. The format text is
// either a picture alone or "picture,offset,scale,addend" (exactly four elements):
//
//   value   = (quantity + offset) * scale + addend, written as its magnitude
//   picture = [sign: + - d D][pad: 0 or space][width][.decimals][rounding: r c f]
//
// e.g. "+03.4r" writes 35.658581 as "+035.6586", "d03.4r" as "n035.6586".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

enum class CoordinateKind { kLatitude, kLongitude };

// The field's text for a quantity (not negative) of the given kind and hemisphere sign (+1 or
// -1), with `decimal_separator` the user's one. Nothing in a format text is an error: unusable
// parts count as absent. Returns nullopt only when the transformed value is not finite (a scale
// that overflows); the caller then writes the field's own text.
std::optional<std::string> FormatField(std::string_view format_text, double quantity,
                                       CoordinateKind kind, int hemisphere_sign,
                                       std::string_view decimal_separator);

}  // namespace tolvex
