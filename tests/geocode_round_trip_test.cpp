// Decoding then encoding gives back the same geocode for every node of each axis: 91 million
// round trips. This suite compiles the codec into itself, optimised whatever the build type,
// so that it takes about a second even in a debug build.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "geocode/ostraline.h"

namespace tolvex {
namespace {

using internal::kGridSize;

// Decoding then encoding gives back the same geocode for every node of each axis.
TEST(OstralineRoundTripTest, EveryLatitudeIndex) {
  const double longitude = OstralineToLongitude("SD9.XC4.EQ2.CV5");
  std::int32_t failures = 0;
  for (std::int32_t i = 0; i < kGridSize && failures < 5; ++i) {
    const std::string code = internal::CodeFromIndices(i, 40587775);
    const std::string again = LatLonToOstraline(OstralineToLatitude(code), longitude);
    if (again != code) {
      ADD_FAILURE() << "latitude index " << i << ": " << code << " -> " << again;
      ++failures;
    }
  }
}

TEST(OstralineRoundTripTest, EveryLongitudeIndex) {
  const double latitude = OstralineToLatitude("SD9.XC4.EQ2.CV5");
  std::int32_t failures = 0;
  for (std::int32_t i = 0; i < kGridSize && failures < 5; ++i) {
    const std::string code = internal::CodeFromIndices(31901642, i);
    const std::string again = LatLonToOstraline(latitude, OstralineToLongitude(code));
    if (again != code) {
      ADD_FAILURE() << "longitude index " << i << ": " << code << " -> " << again;
      ++failures;
    }
  }
}

}  // namespace
}  // namespace tolvex
