// ExpandCommandTemplate: turns the active option's command template into the command line.
//
//   $$            one "$"
//   $ost          the geocode (always of the WGS84 position)
//   $NAME(FORMAT) a named field: lat.d lat.m lat.s lat.r lon.d lon.m lon.s lon.r, written by
//                 FormatField under FORMAT (degrees, minutes, seconds, radians)
//   any other $   itself
//
// With the datum name "tokyo" (exactly) the named fields show the Tokyo-datum position.
#pragma once

#include <string>
#include <string_view>

#include "gateway/request.h"

namespace tolvex {

// Reads the state's template, datum name, position and geocode; writes its output latitude
// and longitude at every named field. A named field with an unknown name, or whose value
// cannot be written (not finite), is copied as its own text.
std::string ExpandCommandTemplate(RequestState& state, std::string_view decimal_separator);

}  // namespace tolvex
