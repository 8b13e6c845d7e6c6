// ExpandCommandTemplate: turns the active option's command template into the command line.
//
//   $$            one "$"
//   $ost          the geocode (always of the WGS84 position)
//   $zoom         the zoom level, a whole number: the link's own, else the map's, else 16
//   $NAME(FORMAT) a named field: lat.d lat.m lat.s lat.r lon.d lon.m lon.s lon.r, written by
//                 FormatField under FORMAT (degrees, minutes, seconds, radians)
//   any other $   itself
//
// With the datum name "tokyo" (exactly) the named fields show the Tokyo-datum position.
#pragma once

#include <string>
#include <string_view>

#include "gateway/option_store.h"
#include "gateway/request.h"

namespace tolvex {

// The command line of `option`'s template for `location`. A named field with an unknown name,
// or whose value cannot be written (not finite), is copied as its own text.
std::string ExpandCommandTemplate(const Location& location, const CommandOption& option,
                                  std::string_view decimal_separator);

}  // namespace tolvex
