#include <gtest/gtest.h>

#include <string>

#include "gateway/command_template.h"
#include "geocode/datum.h"

namespace tolvex {
namespace {

RequestState State(const std::string& template_text, const char* datum = "wgs84") {
  RequestState state;
  state.latitude = 35.658581;
  state.longitude = 139.745433;
  state.geocode = "SD9.XC4.EQ2.CV5";
  state.command_template = template_text;
  state.datum_name = datum;
  return state;
}

struct ScanCase {
  const char* template_text;
  const char* expected;
};

TEST(ExpandCommandTemplateTest, Scanner) {
  const ScanCase cases[] = {
      {"", ""},
      {"https://example.org/map?q=1&z=2", "https://example.org/map?q=1&z=2"},
      {"100$$", "100$"},
      {"$$$$", "$$"},
      {"$$ost", "$ost"},
      {"$ost", "SD9.XC4.EQ2.CV5"},
      {"$ost(+03.4r)", "SD9.XC4.EQ2.CV5(+03.4r)"},
      {"$os", "$os"},
      {"$OST", "$OST"},
      {"$Ost", "$Ost"},
      {"$OST()", "$OST()"},  // an unknown name is copied as written
      {"a$", "a$"},
      {"$", "$"},
      {"$lat.d(+03.4r", "$lat.d(+03.4r"},
      {"a)b $lat.d(+03.4r)", "a)b +035.6586"},
      {"$x) (y)", "$x) (y)"},
      {"$lat.d(+03.4r),$lon.d(+03.4r)", "+035.6586,+139.7454"},
      {"$lat.d(+03.4r)$lon.d(+03.4r)", "+035.6586+139.7454"},
      {"$LAT.D(+03.4r)", "$LAT.D(+03.4r)"},
      {"$lat.d (+03.4r)", "$lat.d (+03.4r)"},
      {"$unknown(+03.4r) $lat.d(+03.4r)", "$unknown(+03.4r) +035.6586"},
      // Everything from "$" to the first ")" is the field, a second "$" included.
      {"$lat.d($lon.d(+03.4r)", "35.658580999999998"},
      {"$ $lat.d(+03.4r)", "$ $lat.d(+03.4r)"},
      {"$$lat.d(+03.4r)", "$lat.d(+03.4r)"},
      {"\xE5\x9C\xB0$lat.d(+03.4r)\xE5\x9B\xB3", "\xE5\x9C\xB0+035.6586\xE5\x9B\xB3"},
      {"geo:$lat.d(.6r),$lon.d(.6r)?z=$ost", "geo:35.658581,139.745433?z=SD9.XC4.EQ2.CV5"},
  };
  for (const auto& c : cases) {
    RequestState state = State(c.template_text);
    EXPECT_EQ(ExpandCommandTemplate(state, "."), c.expected) << c.template_text;
  }
}

TEST(ExpandCommandTemplateTest, TokyoDatumShiftsTheFieldsButNotTheGeocode) {
  const LatLon tokyo = ConvertToTokyoDatum(35.658581, 139.745433);
  RequestState state = State("$lat.d(+03.6r) $lon.d(+03.6r) $ost", "tokyo");
  EXPECT_EQ(ExpandCommandTemplate(state, "."), "+035.655352 +139.748640 SD9.XC4.EQ2.CV5");
  EXPECT_EQ(state.output_latitude, tokyo.latitude);
  EXPECT_EQ(state.output_longitude, tokyo.longitude);

  for (const char* datum : {"Tokyo", "TOKYO", "tokyo ", "", "wgs84"}) {
    RequestState other = State("$lat.d(+03.6r) $lon.d(+03.6r)", datum);
    EXPECT_EQ(ExpandCommandTemplate(other, "."), "+035.658581 +139.745433") << datum;
    EXPECT_EQ(other.output_latitude, 35.658581);
  }
}

TEST(ExpandCommandTemplateTest, HemisphereSignFollowsTheOutputCoordinate) {
  RequestState state = State("$lat.d(D.1r) $lon.d(D.1r)", "tokyo");
  state.latitude = 0.0;  // shifted to -0.004602: south
  state.longitude = 0.0;
  EXPECT_EQ(ExpandCommandTemplate(state, "."), "S0.0 W0.0");
  state.datum_name = "wgs84";
  EXPECT_EQ(ExpandCommandTemplate(state, "."), "N0.0 E0.0");
}

TEST(ExpandCommandTemplateTest, WithoutNamedFieldsTheOutputPositionIsUntouched) {
  RequestState state = State("$ost $$");
  state.output_latitude = 1.5;
  state.output_longitude = 2.5;
  EXPECT_EQ(ExpandCommandTemplate(state, "."), "SD9.XC4.EQ2.CV5 $");
  EXPECT_EQ(state.output_latitude, 1.5);
  EXPECT_EQ(state.output_longitude, 2.5);
}

}  // namespace
}  // namespace tolvex
