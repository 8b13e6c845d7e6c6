#include "place/place_text.h"

#include "gateway/message_text.h"
#include "geocode/ostraline.h"
#include "geocode/plus_code.h"
#include "place/map_links.h"
#include "place/url_parts.h"
#include "place/written_coordinates.h"
#include "platform/text.h"

namespace tolvex {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool IsAlphanumeric(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

PlaceTextReading PlaceAt(LatLon position, std::optional<double> zoom) {
  PlaceTextReading reading;
  reading.location = Location{position, LatLonToOstraline(position.latitude, position.longitude),
                              zoom ? std::optional(ZoomLevel(*zoom)) : std::nullopt};
  return reading;
}

PlaceTextReading Refusal(std::string message) {
  PlaceTextReading reading;
  reading.message = std::move(message);
  return reading;
}

PlaceTextReading FromRequest(const Request& request) {
  PlaceTextReading reading;
  if (request.kind == RequestKind::kLocation) {
    reading.location = request.location;
  } else if (request.kind == RequestKind::kOptionDialog) {
    reading.option_request = true;
  } else {
    reading.message = InvalidLocationMessage(request.text);
  }
  return reading;
}

// A plus code (`text` begins with it; a locality may follow a short one).
PlaceTextReading ReadPlusCode(std::string_view code, std::string_view text,
                              const PlaceTextContext& context) {
  std::string full(code);
  if (IsShortPlusCode(code)) {
    if (!context.near) return Refusal(QuotedMessage(kShortPlusCodeMessage, text));
    full = RecoverNearestPlusCode(code, *context.near);
  }
  const auto area = DecodePlusCode(full);
  if (!area) return Refusal(InvalidLocationMessage(text));
  return PlaceAt(area->Centre(), std::nullopt);
}

PlaceTextReading ReadLink(std::string_view link, const PlaceTextContext& context) {
  if (StartsWithIgnoringCase(link, kLinkPrefix) || StartsWithIgnoringCase(link, kGeoPrefix)) {
    return FromRequest(ClassifyArgument(link, context.decimal_separator));
  }
  const auto url = SplitUrl(link);
  if (link.starts_with("///") || !url) return Refusal(QuotedMessage("", link) += kShortLinkMessage);
  const MapLinkReading reading = ReadMapLink(*url);
  switch (reading.kind) {
    case MapLinkKind::kPlace:
      return PlaceAt(reading.place.position, reading.place.zoom);
    case MapLinkKind::kPlusCode: {
      const std::string_view code = PlusCodeAtStart(reading.plus_code);
      if (IsValidPlusCode(code)) return ReadPlusCode(code, reading.plus_code, context);
      break;
    }
    case MapLinkKind::kShortLink:
      return Refusal(QuotedMessage("", link) += kShortLinkMessage);
    case MapLinkKind::kNoPlace:
    case MapLinkKind::kUnknown:
      break;
  }
  return Refusal(InvalidLocationMessage(link));
}

// Where a link ends: blanks, quotes and angle brackets, and the ideographic space and
// punctuation that Japanese and Chinese messages put right after a link.
std::size_t LinkEnd(std::string_view text) {
  constexpr std::string_view kStops[] = {"\u3000", "\u3001", "\u3002", "\u300C",
                                         "\u300D", "\uFF08", "\uFF09"};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (kAsciiWhiteSpace.find(c) != std::string_view::npos || c == '"' || c == '<' || c == '>') {
      return i;
    }
    if (static_cast<unsigned char>(c) == 0xE3 || static_cast<unsigned char>(c) == 0xEF) {
      for (const std::string_view stop : kStops) {
        if (text.substr(i).starts_with(stop)) return i;
      }
    }
  }
  return text.size();
}

}  // namespace

std::string_view FirstLinkIn(std::string_view text) {
  constexpr std::string_view kStarts[] = {"https://", "http://", "ge0://", "om://",
                                          "geo:",     "tolvex:", "///"};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = AsciiLower(text[i]);
    if (c != 'h' && c != 'g' && c != 'o' && c != 't' && c != '/') continue;
    if (i > 0 && (IsAlphanumeric(text[i - 1]) || text[i - 1] == '/')) continue;
    for (const std::string_view start : kStarts) {
      if (!StartsWithIgnoringCase(text.substr(i), start)) continue;
      std::string_view link = text.substr(i, LinkEnd(text.substr(i)));
      // Punctuation that ends the sentence, and a bracket the link did not open.
      while (!link.empty()) {
        const char last = link.back();
        const bool unbalanced = (last == ')' && link.find('(') == std::string_view::npos) ||
                                (last == ']' && link.find('[') == std::string_view::npos);
        if (std::string_view(".,;:!?'").find(last) == std::string_view::npos && !unbalanced) {
          break;
        }
        link.remove_suffix(1);
      }
      if (link.size() > start.size()) return link;
    }
  }
  return {};
}

PlaceTextReading ReadPlaceText(std::string_view text, const PlaceTextContext& context) {
  const std::string valid = ValidUtf8(text);
  const std::string_view trimmed = Trim(valid, kAsciiWhiteSpace);

  // What the link handler reads: its grammar decides a TolVex: or geo: link alone.
  const Request request = ClassifyArgument(trimmed, context.decimal_separator);
  if (request.kind != RequestKind::kInvalidData) return FromRequest(request);
  if (const Request bare = ClassifyArgument(std::string(kLinkPrefix) + std::string(trimmed),
                                            context.decimal_separator);
      bare.kind == RequestKind::kLocation || bare.kind == RequestKind::kOptionDialog) {
    return FromRequest(bare);
  }

  if (const auto written = ReadWrittenCoordinates(trimmed)) return PlaceAt(*written, std::nullopt);
  // A plus code as its first word; a locality may follow it ("MP5W+C5 Tokyo").
  if (const std::string_view word = trimmed.substr(0, trimmed.find_first_of(" \t,"));
      IsValidPlusCode(word)) {
    return ReadPlusCode(word, trimmed, context);
  }
  if (const std::string_view link = FirstLinkIn(trimmed); !link.empty()) {
    return ReadLink(link, context);
  }
  return Refusal(InvalidLocationMessage(trimmed));
}

}  // namespace tolvex
