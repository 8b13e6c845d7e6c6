#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "gateway/command_template.h"
#include "gateway/place_formats.h"
#include "geocode/datum.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

const Location kTokyoTower{{35.658581, 139.745433}, "SD9.XC4.EQ2.CV5"};

std::string Expand(const std::string& template_text, const char* datum = "wgs84",
                   const Location& location = kTokyoTower) {
  return ExpandCommandTemplate(location, {template_text, datum}, ".");
}

struct ScanCase {
  const char* template_text;
  const char* expected;
};

class ScannerTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTest, ExpandsTheTemplate) {
  EXPECT_EQ(Expand(GetParam().template_text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ScannerTest,
    ::testing::ValuesIn(std::initializer_list<ScanCase>{
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
        {"$ost $$", "SD9.XC4.EQ2.CV5 $"},
        // $zoom comes after $ost and before the named fields; 16 when nothing gives a zoom.
        {"#map=$zoom/$lat.d(-.6r)", "#map=16/35.658581"},
        {"$zoom(+03.4r)", "16(+03.4r)"},
        {"$$zoom", "$zoom"},
        {"$Zoom()", "$Zoom()"},
        {"$zoo", "$zoo"},
        {"$ostzoom$zoomost", "SD9.XC4.EQ2.CV5zoom16ost"},
    }),
    TOLVEX_ROW_NAMES(template_text));

TEST(ExpandCommandTemplateTest, TokyoDatumShiftsTheFieldsButNotTheGeocode) {
  EXPECT_EQ(Expand("$lat.d(+03.6r) $lon.d(+03.6r) $ost", "tokyo"),
            "+035.655352 +139.748640 SD9.XC4.EQ2.CV5");
  // In full precision the fields show exactly the Tokyo-datum doubles of the position.
  const Location shifted{ConvertToTokyoDatum(35.658581, 139.745433), kTokyoTower.geocode};
  EXPECT_EQ(Expand("$lat.d() $lon.d()", "tokyo"), Expand("$lat.d() $lon.d()", "wgs84", shifted));
}

// Only the exact lower-case "tokyo" shifts the datum; every other name means WGS84.
class OtherDatumTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OtherDatumTest, LeavesTheFieldsInWgs84) {
  EXPECT_EQ(Expand("$lat.d(+03.6r) $lon.d(+03.6r)", GetParam()), "+035.658581 +139.745433");
}

INSTANTIATE_TEST_SUITE_P(Names, OtherDatumTest,
                         ::testing::Values("Tokyo", "TOKYO", "tokyo ", "", "wgs84"),
                         [](const auto& row) { return test::RowName(row.param); });

TEST(ExpandCommandTemplateTest, ZoomIsTheLinksElseTheOptionsElseSixteen) {
  Location zoomed = kTokyoTower;
  zoomed.zoom = 3;
  EXPECT_EQ(ExpandCommandTemplate(zoomed, {"z=$zoom", "wgs84", 0}, "."), "z=3");
  EXPECT_EQ(ExpandCommandTemplate(kTokyoTower, {"z=$zoom", "wgs84", 21}, "."), "z=21");
  EXPECT_EQ(ExpandCommandTemplate(kTokyoTower, {"z=$zoom", "tokyo"}, "."), "z=16");
}

TEST(ExpandCommandTemplateTest, HemisphereSignFollowsTheOutputCoordinate) {
  const Location origin{{0.0, 0.0}, "NA0.NA0.AA0.AA0"};  // shifted to -0.004602: south
  EXPECT_EQ(Expand("$lat.d(D.1r) $lon.d(D.1r)", "tokyo", origin), "S0.0 W0.0");
  EXPECT_EQ(Expand("$lat.d(D.1r) $lon.d(D.1r)", "wgs84", origin), "N0.0 E0.0");
}

// The place in every format: decimal numbers always with ".", degrees-minutes-seconds rounded
// once, a map's command line as a request writes it.
struct PlaceCase {
  const char* name;
  const char* link;
  std::string_view separator;
  const char* coordinates;
  const char* dms;
  const char* geo;
  const char* map;  // "$lat.d(.2r) $zoom" expanded as a request does
  const char* pluscode;
};

class DescribePlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DescribePlaceTest, WritesEveryFormat) {
  const PlaceCase& c = GetParam();
  const Request request = ClassifyArgument(c.link, ".");
  ASSERT_EQ(request.kind, RequestKind::kLocation);
  const std::vector<MapOption> maps = {{"A\tmap", "World", "wgs84", "", "$lat.d(.2r) $zoom"}};
  const std::vector<PlaceText> texts = DescribePlace(request.location, maps, c.separator).Rows();
  const std::string geocode = request.location.geocode;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"coordinates", c.coordinates},
      {"dms", c.dms},
      {"geocode", geocode},
      {"pluscode", c.pluscode},
      {"tolvex", "TolVex:" + geocode},
      {"geo", c.geo},
      {"map:A\tmap", c.map}};
  std::vector<std::pair<std::string, std::string>> written;
  for (const PlaceText& text : texts) written.emplace_back(text.name, text.text);
  EXPECT_EQ(written, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DescribePlaceTest,
    ::testing::ValuesIn(std::initializer_list<PlaceCase>{
        {"TokyoTower", "TolVex:35.658581,139.745433", ".", "35.658581, 139.745433",
         "35\u00B039'30.9\"N 139\u00B044'43.6\"E", "geo:35.658581,139.745433", "35.66 16",
         "8Q7XMP5W+C5"},
        {"SouthernHemisphere", "TolVex:-33.856784,151.215297", ".", "-33.856784, 151.215297",
         "33\u00B051'24.4\"S 151\u00B012'55.1\"E", "geo:-33.856784,151.215297", "-33.86 16",
         "4RRH46V8+74"},
        {"WesternHemisphere", "TolVex:40.689247,-74.044502", ".", "40.689247, -74.044502",
         "40\u00B041'21.3\"N 74\u00B002'40.2\"W", "geo:40.689247,-74.044502", "40.69 16",
         "87G7MXQ4+M5"},
        {"Origin", "TolVex:0,0", ".", "0.000000, 0.000000", "0\u00B000'00.0\"N 0\u00B000'00.0\"E",
         "geo:0.000000,0.000000", "0.00 16", "6FG22222+22"},
        // 59.96" rounds to a whole minute, and 59'59.96" to a whole degree.
        {"CarriesIntoTheMinuteAndDegree", "TolVex:10.999989,-0.016656", ".", "10.999989, -0.016656",
         "11\u00B000'00.0\"N 0\u00B001'00.0\"W", "geo:10.999989,-0.016656", "11.00 16",
         "7C2XXXXM+X8"},
        {"NorthPoleDateLine", "TolVex:90,180", ".", "90.000000, 180.000000",
         "90\u00B000'00.0\"N 180\u00B000'00.0\"E", "geo:90.000000,180.000000", "90.00 16",
         "C2X2X2X2+X2"},
        {"SouthPoleDateLine", "TolVex:-90,-180", ".", "-90.000000, -180.000000",
         "90\u00B000'00.0\"S 180\u00B000'00.0\"W", "geo:-90.000000,-180.000000", "-90.00 16",
         "22222222+22"},
        {"LinksZoom", "geo:35.658581,139.745433?z=12", ".", "35.658581, 139.745433",
         "35\u00B039'30.9\"N 139\u00B044'43.6\"E", "geo:35.658581,139.745433?z=12", "35.66 12",
         "8Q7XMP5W+C5"},
        // The user's separator reads the map's format texts; the texts stay as they are.
        {"GermanSeparator", "geo:35.658581,139.745433?z=3", ",", "35.658581, 139.745433",
         "35\u00B039'30.9\"N 139\u00B044'43.6\"E", "geo:35.658581,139.745433?z=3", "35.66 3",
         "8Q7XMP5W+C5"},
    }),
    TOLVEX_ROW_NAMES(name));

}  // namespace
}  // namespace tolvex
