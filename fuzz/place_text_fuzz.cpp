// ReadPlaceText over any text, with and without a nearby place: it names a place in range
// with a checked geocode and a zoom in 0..21, or refuses with a one-line message that quotes at
// most 200 characters. The plus code of any position decodes to an area that holds it.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "geocode/ostraline.h"
#include "geocode/plus_code.h"
#include "place/place_text.h"

namespace {

void CheckReading(const tolvex::PlaceTextReading& reading) {
  if (reading.location) {
    const tolvex::LatLon& position = reading.location->position;
    FUZZ_CHECK(tolvex::IsLatitude(position.latitude) && tolvex::IsLongitude(position.longitude));
    FUZZ_CHECK(tolvex::IsOstralineCode(reading.location->geocode));
    FUZZ_CHECK(reading.location->zoom.value_or(0) >= 0 &&
               reading.location->zoom.value_or(0) <= tolvex::kMaxZoom);
    FUZZ_CHECK(reading.message.empty() && !reading.option_request);
  } else if (!reading.option_request) {
    FUZZ_CHECK(!reading.message.empty());
    FUZZ_CHECK(reading.message.find('\n') == std::string::npos);
    // The longest head, 200 quoted characters of at most 4 bytes (or "%XX"), the tail.
    FUZZ_CHECK(reading.message.size() <= 60 + 200 * 4 + 3 + 160);
  }
}

}  // namespace

// Input: 16 bytes of a position (the nearby place, and the position whose plus code is
// checked), then the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 16) return 0;
  double numbers[2];
  std::memcpy(numbers, data, sizeof numbers);
  const std::string_view text(reinterpret_cast<const char*>(data + 16), size - 16);
  CheckReading(tolvex::ReadPlaceText(text));
  tolvex::PlaceTextContext context;
  if (std::isfinite(numbers[0]) && std::isfinite(numbers[1])) {
    context.near = tolvex::LatLon{std::fmod(numbers[0], 90.0), std::fmod(numbers[1], 180.0)};
  }
  CheckReading(tolvex::ReadPlaceText(text, context));

  if (!context.near) return 0;
  const tolvex::LatLon at = *context.near;
  const std::string code = tolvex::EncodePlusCode(at.latitude, at.longitude, 11);
  const auto area = tolvex::DecodePlusCode(code);
  FUZZ_CHECK(area);
  // The standard multiplies before it floors: a position within a rounding of the product
  // from an edge may land in the next cell.
  FUZZ_CHECK(area->south - 1e-9 <= at.latitude && at.latitude <= area->north + 1e-9);
  FUZZ_CHECK(area->west - 1e-9 <= at.longitude && at.longitude <= area->east + 1e-9);
  return 0;
}
