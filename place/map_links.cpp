#include "place/map_links.h"

#include <vector>

#include "gateway/number_text.h"
#include "gateway/request.h"
#include "place/ge0_code.h"
#include "place/geohash.h"
#include "place/osm_short_code.h"
#include "platform/text.h"

namespace tolvex {
namespace {

// ---- Numbers as links write them ----

std::optional<double> Number(std::string_view text) { return ParseNumber(text, "."); }

// "A<separator>B" as a position: latitude first, or longitude first where `longitude_first`.
// Only the first two fields count ("LON,LAT,pm2rd" carries a marker style after them).
std::optional<LatLon> Pair(std::string_view text, std::string_view separators,
                           bool longitude_first = false) {
  const std::size_t cut = text.find_first_of(separators);
  if (cut == std::string_view::npos) return std::nullopt;
  std::string_view second = text.substr(cut + 1);
  second = second.substr(0, second.find_first_of(separators));
  const auto a = Number(text.substr(0, cut));
  const auto b = Number(second);
  if (!a || !b) return std::nullopt;
  const LatLon position = longitude_first ? LatLon{*b, *a} : LatLon{*a, *b};
  if (!IsLatitude(position.latitude) || !IsLongitude(position.longitude)) return std::nullopt;
  return position;
}

// A query value's "A,B".
std::optional<LatLon> ValuePair(const std::optional<std::string>& text,
                                bool longitude_first = false) {
  return text ? Pair(*text, ",", longitude_first) : std::nullopt;
}

std::optional<LatLon> LatLonPair(const std::optional<std::string>& latitude,
                                 const std::optional<std::string>& longitude) {
  if (!latitude || !longitude) return std::nullopt;
  return Pair(*latitude + "," + *longitude, ",");
}

std::optional<double> Zoom(const std::optional<std::string>& text) {
  return text ? Number(*text) : std::nullopt;
}

// "Z/LAT/LON[/...]", as the web maps write their view after "#" or "#map=".
std::optional<CodedPlace> SlashView(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto zoom = Number(text.substr(0, slash));
  const auto position = Pair(text.substr(slash + 1), "/");
  if (!zoom || !position) return std::nullopt;
  return CodedPlace{*position, zoom};
}

// ---- What a reader answers ----

MapLinkReading Place(std::optional<LatLon> position, std::optional<double> zoom) {
  MapLinkReading reading;
  if (!position) {
    reading.kind = MapLinkKind::kNoPlace;
    return reading;
  }
  reading.kind = MapLinkKind::kPlace;
  reading.place = {*position, zoom};
  return reading;
}

MapLinkReading Place(const std::optional<CodedPlace>& place) {
  if (!place) return Place(std::nullopt, std::nullopt);
  return Place(place->position, place->zoom);
}

// The first position found, in the order given: pins first, then the view's centre.
template <typename... Candidates>
std::optional<LatLon> First(const Candidates&... candidates) {
  std::optional<LatLon> found;
  ((found = found ? found : candidates), ...);
  return found;
}

template <typename... Candidates>
std::optional<double> FirstZoom(const Candidates&... candidates) {
  std::optional<double> found;
  ((found = found ? found : candidates), ...);
  return found;
}

std::optional<std::string> Query(const UrlParts& url, std::string_view name) {
  return QueryValue(url.query, name);
}

// ---- The readers, one a service family ----

bool IsWeb(const UrlParts& url) { return url.scheme == "http" || url.scheme == "https"; }

// Google's "data=…!3dLAT!4dLON" (the pin, anywhere in the path or query).
std::optional<LatLon> GooglePin(const UrlParts& url) {
  const std::string text = PercentDecode(url.path + "?" + url.query);
  const std::size_t latitude = text.rfind("!3d");
  if (latitude == std::string::npos) return std::nullopt;
  const std::size_t longitude = text.find("!4d", latitude);
  if (longitude == std::string::npos) return std::nullopt;
  const std::size_t end = text.find_first_of("!?&/", longitude + 3);
  return Pair(text.substr(latitude + 3, longitude - latitude - 3) + "," +
                  text.substr(longitude + 3, end - longitude - 3),
              ",");
}

MapLinkReading ReadGoogle(const UrlParts& url) {
  std::optional<LatLon> search;  // query=, destination=, q= (loc: dropped)
  for (const std::string_view name : {"query", "destination", "q", "daddr"}) {
    auto value = Query(url, name);
    if (!value) continue;
    std::string_view text = Trim(*value, kAsciiWhiteSpace);
    if (text.starts_with("loc:")) text.remove_prefix(4);
    if (const auto pair = ValuePair(std::string(text))) {
      search = pair;
      break;
    }
    if (!PlusCodeAtStart(text).empty()) {
      MapLinkReading reading;
      reading.kind = MapLinkKind::kPlusCode;
      reading.plus_code = text;
      return reading;
    }
  }
  // Path segments: "/maps/place/LAT,LON", "/maps/place/PLUSCODE", "/maps/@LAT,LON,17z".
  std::optional<LatLon> named;
  std::optional<LatLon> centre;
  std::optional<double> zoom;
  std::string plus_code;
  for (const std::string& segment : PathSegments(url.path)) {
    if (segment.starts_with('@')) {
      centre = ValuePair(segment.substr(1));
      // "17z" is a zoom; "500m" and "30a" (metres) are none.
      const std::size_t last = segment.rfind(',');
      if (segment.ends_with('z') && last != std::string::npos) {
        zoom = Number(std::string_view(segment).substr(last + 1, segment.size() - last - 2));
      }
    } else if (!named) {
      named = ValuePair(segment);
      // A path writes the blank before a locality as "+".
      if (const std::string_view code = PlusCodeAtStart(segment);
          plus_code.empty() && !code.empty()) {
        plus_code = segment;
        for (std::size_t i = code.size(); i < plus_code.size(); ++i) {
          if (plus_code[i] == '+') plus_code[i] = ' ';
        }
      }
    }
  }
  const auto pin = First(GooglePin(url), search, named);
  if (!pin && !plus_code.empty()) {
    MapLinkReading reading;
    reading.kind = MapLinkKind::kPlusCode;
    reading.plus_code = plus_code;
    return reading;
  }
  return Place(First(pin, ValuePair(Query(url, "ll")), ValuePair(Query(url, "center")), centre),
               FirstZoom(zoom, Zoom(Query(url, "z")), Zoom(Query(url, "zoom"))));
}

MapLinkReading ReadOpenStreetMap(const UrlParts& url) {
  const std::vector<std::string> segments = PathSegments(url.path);
  if (segments.size() >= 2 && segments[0] == "go") return Place(DecodeOsmShortCode(segments[1]));
  const std::string fragment = PercentDecode(url.fragment);
  std::optional<CodedPlace> view;
  for (const std::string_view name : {"map", "marker"}) {
    if (!view) {
      if (const auto value = QueryValue(fragment, name)) view = SlashView(*value);
    }
  }
  const auto pin = First(LatLonPair(Query(url, "mlat"), Query(url, "mlon")),
                         LatLonPair(Query(url, "lat"), Query(url, "lon")));
  return Place(First(pin, view ? std::optional(view->position) : std::nullopt),
               FirstZoom(view ? view->zoom : std::nullopt, Zoom(Query(url, "zoom"))));
}

MapLinkReading ReadApple(const UrlParts& url) {
  return Place(First(ValuePair(Query(url, "coordinate")), ValuePair(Query(url, "q")),
                     ValuePair(Query(url, "ll")), ValuePair(Query(url, "sll"))),
               Zoom(Query(url, "z")));
}

MapLinkReading ReadBing(const UrlParts& url) {
  std::optional<LatLon> pin;
  if (const auto sp = Query(url, "sp"); sp && sp->starts_with("point.")) {
    pin = Pair(std::string_view(*sp).substr(6), "_");
  }
  const auto cp = Query(url, "cp");
  return Place(First(pin, cp ? Pair(*cp, "~") : std::nullopt), Zoom(Query(url, "lvl")));
}

MapLinkReading ReadYandex(const UrlParts& url) {
  return Place(
      First(ValuePair(Query(url, "pt"), true), ValuePair(Query(url, "whatshere[point]"), true),
            ValuePair(Query(url, "ll"), true)),
      FirstZoom(Zoom(Query(url, "z")), Zoom(Query(url, "whatshere[zoom]"))));
}

MapLinkReading ReadHere(const UrlParts& url) {
  const std::vector<std::string> segments = PathSegments(url.path);
  std::optional<LatLon> pin;
  if (segments.size() >= 2 && segments[0] == "l") pin = Pair(segments[1], ",");
  const auto map = Query(url, "map");
  std::optional<double> map_zoom;
  if (map) {
    const std::size_t first = map->find(',');
    const std::size_t second = first == std::string::npos ? first : map->find(',', first + 1);
    if (second != std::string::npos) {
      map_zoom = Number(std::string_view(*map)
                            .substr(second + 1)
                            .substr(0, map->find(',', second + 1) - second - 1));
    }
  }
  return Place(First(pin, ValuePair(map)), FirstZoom(map_zoom, Zoom(Query(url, "z"))));
}

MapLinkReading ReadWaze(const UrlParts& url) {
  const std::vector<std::string> segments = PathSegments(url.path);
  std::optional<LatLon> hashed;
  if (segments.size() >= 2 && segments[0] == "ul" && segments[1].starts_with('h')) {
    hashed = DecodeGeohash(std::string_view(segments[1]).substr(1));
  }
  std::optional<LatLon> to;
  if (const auto value = Query(url, "to"); value && value->starts_with("ll.")) {
    to = Pair(value->substr(3), ",");
  }
  return Place(First(ValuePair(Query(url, "ll")), to, hashed), Zoom(Query(url, "zoom")));
}

MapLinkReading ReadSlashFragment(const UrlParts& url) {
  return Place(SlashView(PercentDecode(url.fragment)));
}

MapLinkReading ReadYahooJapan(const UrlParts& url) {
  return Place(LatLonPair(Query(url, "lat"), Query(url, "lon")), Zoom(Query(url, "zoom")));
}

MapLinkReading ReadOsmAnd(const UrlParts& url) {
  const auto view = SlashView(PercentDecode(url.fragment));
  return Place(First(ValuePair(Query(url, "pin")), LatLonPair(Query(url, "lat"), Query(url, "lon")),
                     view ? std::optional(view->position) : std::nullopt),
               FirstZoom(view ? view->zoom : std::nullopt, Zoom(Query(url, "z"))));
}

MapLinkReading ReadGe0(const UrlParts& url) {
  // "ge0://CODE/Name" holds the code where a web address holds its host.
  if (!IsWeb(url)) return Place(DecodeGe0Code(url.host_as_written));
  const std::vector<std::string> segments = PathSegments(url.path);
  return Place(segments.empty() ? std::nullopt : DecodeGe0Code(segments[0]));
}

MapLinkReading Read2Gis(const UrlParts& url) {
  const auto m = Query(url, "m");
  if (!m) return Place(std::nullopt, std::nullopt);
  const std::size_t slash = m->find('/');
  return Place(Pair(m->substr(0, slash), ",", true),
               slash == std::string::npos ? std::nullopt : Number(m->substr(slash + 1)));
}

MapLinkReading ReadMapy(const UrlParts& url) {
  return Place(LatLonPair(Query(url, "y"), Query(url, "x")), Zoom(Query(url, "z")));
}

// ---- Which family a link belongs to ----

bool PathStarts(const UrlParts& url, std::string_view prefix) {
  return url.path.starts_with(prefix);
}

bool IsGoogle(const UrlParts& url) {
  return IsWeb(url) && HostIsBrand(url.host, "google") &&
         (PathStarts(url, "/maps") || url.host.starts_with("maps."));
}
bool IsOpenStreetMap(const UrlParts& url) {
  return IsWeb(url) && (HostIs(url.host, "openstreetmap.org") || HostIs(url.host, "osm.org") ||
                        HostIs(url.host, "opentopomap.org") || HostIs(url.host, "cyclosm.org"));
}
bool IsApple(const UrlParts& url) { return IsWeb(url) && HostIs(url.host, "maps.apple.com"); }
bool IsBing(const UrlParts& url) {
  return IsWeb(url) && HostIs(url.host, "bing.com") && PathStarts(url, "/maps");
}
bool IsYandex(const UrlParts& url) {
  return IsWeb(url) && HostIsBrand(url.host, "yandex") &&
         (PathStarts(url, "/maps") || url.host.starts_with("maps."));
}
bool IsHere(const UrlParts& url) {
  return IsWeb(url) && (HostIs(url.host, "wego.here.com") || HostIs(url.host, "share.here.com"));
}
bool IsWaze(const UrlParts& url) { return IsWeb(url) && HostIs(url.host, "waze.com"); }
bool IsGsi(const UrlParts& url) { return IsWeb(url) && HostIs(url.host, "maps.gsi.go.jp"); }
bool IsYahooJapan(const UrlParts& url) { return IsWeb(url) && HostIs(url.host, "map.yahoo.co.jp"); }
bool IsOsmAnd(const UrlParts& url) { return IsWeb(url) && HostIs(url.host, "osmand.net"); }
bool IsGe0(const UrlParts& url) {
  if (url.scheme == "ge0" || url.scheme == "om") return true;
  return IsWeb(url) && (url.host == "ge0.me" || url.host == "omaps.app" || url.host == "comaps.at");
}
bool Is2Gis(const UrlParts& url) { return IsWeb(url) && HostIsBrand(url.host, "2gis"); }
bool IsMapy(const UrlParts& url) {
  return IsWeb(url) && (HostIs(url.host, "mapy.com") || HostIs(url.host, "mapy.cz"));
}

struct MapLinkFamily {
  std::string_view name;
  bool (*names)(const UrlParts&);
  MapLinkReading (*read)(const UrlParts&);
};

constexpr MapLinkFamily kMapLinkFamilies[] = {
    {"Google Maps", IsGoogle, ReadGoogle},
    {"OpenStreetMap", IsOpenStreetMap, ReadOpenStreetMap},
    {"Apple Maps", IsApple, ReadApple},
    {"Bing Maps", IsBing, ReadBing},
    {"Yandex Maps", IsYandex, ReadYandex},
    {"HERE WeGo", IsHere, ReadHere},
    {"Waze", IsWaze, ReadWaze},
    {"GSI Maps", IsGsi, ReadSlashFragment},
    {"Yahoo! JAPAN map", IsYahooJapan, ReadYahooJapan},
    {"OsmAnd", IsOsmAnd, ReadOsmAnd},
    {"Organic Maps", IsGe0, ReadGe0},
    {"2GIS", Is2Gis, Read2Gis},
    {"Mapy.com", IsMapy, ReadMapy},
};

// Short links: the place is known only to the service's web server, which is never asked.
struct ShortLinkForm {
  std::string_view host;         // HostIs, or HostIsBrand when `brand`
  std::string_view path_prefix;  // "" for any path
  bool brand = false;
};

constexpr ShortLinkForm kShortLinks[] = {
    {"maps.app.goo.gl", ""}, {"goo.gl", "/maps"},   {"g.co", "/kgs"},
    {"share.google", ""},    {"maps.apple", "/p/"}, {"yandex", "/maps/-/", true},
    {"go.2gis.com", ""},     {"mapy.com", "/s/"},   {"mapy.cz", "/s/"},
    {"what3words.com", ""},  {"w3w.co", ""},
};

bool IsShortLink(const UrlParts& url) {
  if (!IsWeb(url)) return false;
  for (const ShortLinkForm& form : kShortLinks) {
    const bool host = form.brand ? HostIsBrand(url.host, form.host) : HostIs(url.host, form.host);
    if (host && url.path.starts_with(form.path_prefix)) return true;
  }
  return false;
}

bool IsPlusCodeCharacter(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return std::string_view("23456789CFGHJMPQRVWX").find(c) != std::string_view::npos;
}

}  // namespace

std::string_view PlusCodeAtStart(std::string_view text) {
  const std::size_t plus = text.find('+');
  if (plus == std::string_view::npos || plus == 0 || plus > 8) return {};
  for (std::size_t i = 0; i < plus; ++i) {
    if (!IsPlusCodeCharacter(text[i]) && text[i] != '0') return {};
  }
  std::size_t end = plus + 1;
  while (end < text.size() && IsPlusCodeCharacter(text[end])) ++end;
  if (end < text.size() && std::string_view(" \t,+").find(text[end]) == std::string_view::npos) {
    return {};
  }
  return text.substr(0, end);
}

MapLinkReading ReadMapLink(const UrlParts& url) {
  MapLinkReading reading;
  if (IsShortLink(url)) {
    reading.kind = MapLinkKind::kShortLink;
    reading.family = "short link";
    return reading;
  }
  for (const MapLinkFamily& family : kMapLinkFamilies) {
    if (family.names(url)) {
      reading = family.read(url);
      reading.family = family.name;
      return reading;
    }
  }
  return reading;
}

}  // namespace tolvex
