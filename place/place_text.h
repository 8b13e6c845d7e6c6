// The one reader of place text: the place in whatever a person pasted or typed.
//
//   text -> a TolVex: or geo: link, a bare pair or geocode (as the link handler reads them)
//        -> coordinates as written (35°39'30.9"N 139°44'43.6"E)
//        -> a plus code, full or short (with a locality after it)
//        -> the first link in the text: a map service's link (map_links.h)
//        -> Invalid Location
//
// Nothing here touches the network: a short link that only its web server could resolve is
// refused with a message that says so.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gateway/request.h"

namespace tolvex {

struct PlaceTextContext {
  std::string_view decimal_separator = ".";  // the user's, as the link handler reads numbers
  std::optional<LatLon> near;                // the reference that recovers a short plus code
};

struct PlaceTextReading {
  std::optional<Location> location;  // the place, its zoom rounded and held to 0..kMaxZoom
  bool option_request = false;       // "option" or "TolVex:option": a request, not a place
  std::string message;               // set exactly when neither of the above is
};

// The place that `text` (any bytes; made valid UTF-8 first) names. For text it does not read:
//   a TolVex: or geo: link it refuses, or anything unread: `Invalid Location: "<text>"`;
//   a short link: `"<link>" is a short link: it names no place until …` (kShortLinkMessage);
//   a short plus code without `near`: `a short plus code needs a nearby place: "<text>"`.
// Quoted texts are cut at 200 characters as every message quotes.
PlaceTextReading ReadPlaceText(std::string_view text, const PlaceTextContext& context = {});

inline constexpr std::string_view kShortLinkMessage =
    " is a short link: it names no place until its web server is asked. Open it in a browser, "
    "then paste the address the browser shows.";
inline constexpr std::string_view kShortPlusCodeMessage =
    "a short plus code needs a nearby place: ";

// The first link in `text`: from "http://", "https://", "ge0://", "om://", "geo:", "TolVex:"
// (letter case ignored) or what3words' "///", to the next blank or quote, without a trailing
// full stop, comma or unbalanced bracket. Empty when the text holds none.
std::string_view FirstLinkIn(std::string_view text);

}  // namespace tolvex
