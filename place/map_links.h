// The map services' own links: one reader a service family, all over one URL splitter.
//
//   link text -> SplitUrl -> a short link of a service? -> "ask its web server" (never fetched)
//             -> the first family whose hosts it names -> its reader -> a place, a plus code,
//                or no place
//
// Adding a format: a reader function and a row in kMapLinkFamilies (map_links.cpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "place/coded_place.h"
#include "place/url_parts.h"

namespace tolvex {

enum class MapLinkKind {
  kPlace,      // the link names a place
  kPlusCode,   // the link names a plus code (full or short), in `plus_code`
  kShortLink,  // a service's short link: only its web server knows the place
  kNoPlace,    // a known service's link with only a search, an address or numbers out of range
  kUnknown,    // no service this program knows
};

struct MapLinkReading {
  MapLinkKind kind = MapLinkKind::kUnknown;
  CodedPlace place;         // kPlace: the pin where the link has one, else the view's centre
  std::string plus_code;    // kPlusCode: the code and any locality after it
  std::string_view family;  // the service family's name, for every kind but kUnknown
};

// What the link `url` names. Latitude and longitude always in range; the zoom as the link
// writes it (not yet rounded or held).
MapLinkReading ReadMapLink(const UrlParts& url);

// The plus code that begins `text` ("8Q7XMP5W+C5", "MP5W+C5 Tokyo", "MP5W+C5+Tokyo" as a path
// writes the blank), when what follows it is nothing, a blank, "," or "+": its text, else "".
// The code is not checked beyond its characters (IsValidPlusCode does that).
std::string_view PlusCodeAtStart(std::string_view text);

}  // namespace tolvex
