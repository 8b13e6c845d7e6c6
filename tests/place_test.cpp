#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "gateway/command_template.h"
#include "gateway/option_edit.h"
#include "geocode/plus_code.h"
#include "place/place_text.h"
#include "platform/xml_document.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

// What a pasted text names. Positions from the services' documentation and real links are
// given to their own precision (seven decimals), hence the tolerance.
struct PlaceTextCase {
  const char* text;
  double latitude = 0.0;
  double longitude = 0.0;
  int zoom = -1;               // -1: none
  const char* message = "";    // a refusal's message
  const char* near = nullptr;  // --near, read as place text
};

constexpr double kGiven = 1e-7;
constexpr const char* kShort =
    " is a short link: it names no place until its web server is asked. Open it in a browser, "
    "then paste the address the browser shows.";

class PlaceTextTest : public ::testing::TestWithParam<PlaceTextCase> {};

TEST_P(PlaceTextTest, FindsThePlace) {
  const PlaceTextCase& c = GetParam();
  PlaceTextContext context;
  if (c.near != nullptr) context.near = ReadPlaceText(c.near).location.value().position;
  const PlaceTextReading reading = ReadPlaceText(c.text, context);
  if (*c.message != '\0') {
    EXPECT_FALSE(reading.location);
    EXPECT_EQ(reading.message, c.message);
    return;
  }
  ASSERT_TRUE(reading.location) << reading.message;
  EXPECT_NEAR(reading.location->position.latitude, c.latitude, kGiven);
  EXPECT_NEAR(reading.location->position.longitude, c.longitude, kGiven);
  EXPECT_EQ(reading.location->zoom.value_or(-1), c.zoom);
}

std::string ShortLink(const char* link) { return std::string("\"") + link + "\"" + kShort; }

// clang-format off
const std::string kGoogleShort = ShortLink("https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6");
const std::string kYandexShort = ShortLink("https://yandex.com/maps/-/CLAvMI18");
const std::string kWhat3Words = ShortLink("///filled.count.soap");
INSTANTIATE_TEST_SUITE_P(Texts, PlaceTextTest, ::testing::ValuesIn(std::initializer_list<PlaceTextCase>{
    // What links hold today, read as the link handler reads them.
    {"TolVex:SD9.XC4.EQ2.CV5", 35.65858075697629, 139.74543520885123},
    {"geo:35.6586,139.7454?z=12.5", 35.6586, 139.7454, 12},
    {" 35.658581,139.745433\n", 35.658581, 139.745433},
    {"TolVex:91,0", 0, 0, -1, "Invalid Location: \"91,0\""},
    // Coordinates as written: letters decide the order; every mark.
    {"35.6586N 139.7454E", 35.6586, 139.7454},
    {"139.7454E 35.6586N", 35.6586, 139.7454},
    {"N 35.6586, E 139.7454", 35.6586, 139.7454},
    {"35.6586\u00B0 S, 139.7454\u00B0 W", -35.6586, -139.7454},
    {"35\u00B039'30.9\"N 139\u00B044'43.6\"E", 35.6585833, 139.7454444},
    {"35\u00B039\u203230.9\u2033N 139\u00B044\u203243.6\u2033E", 35.6585833, 139.7454444},
    {"35\u00B0 39\u2019 30.9\u201D N 139\u00B0 44\u2019 43.6\u201D E", 35.6585833, 139.7454444},
    {"S 35\u00B039'30.9'' W 139\u00B044'43.6''", -35.6585833, -139.7454444},
    {"35\u00B039.515'N 139\u00B044.727'E", 35.6585833, 139.74545},
    {"-35.6586N 139.7454E", 0, 0, -1, "Invalid Location: \"-35.6586N 139.7454E\""},
    {"35.6586N 139.7454N", 0, 0, -1, "Invalid Location: \"35.6586N 139.7454N\""},
    {"35\u00B060'00\"N 139\u00B000'00\"E", 0, 0, -1, "Invalid Location: \"35\u00B060'00\"N 139\u00B000'00\"E\""},
    // Google Maps: the pin before the view's centre; "17z" is a zoom, "500m" none.
    {"https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7428526,17z/data=!3m1!4b1!4m6!3m5!1s0x0:0x0!8m2!3d35.6585805!4d139.7454329", 35.6585805, 139.7454329, 17},
    {"https://www.google.co.jp/maps/@35.6585805,139.7428526,500m/data=!3m1!1e3", 35.6585805, 139.7428526},
    {"https://www.google.com/maps/search/?api=1&query=47.5951518%2C-122.3316393", 47.5951518, -122.3316393},
    {"https://www.google.com/maps/dir/?api=1&destination=47.5951518,-122.3316393", 47.5951518, -122.3316393},
    {"http://maps.google.com/?q=loc:35.6585805,139.7454329&z=14.5", 35.6585805, 139.7454329, 14},
    {"https://www.google.com/maps/place/8Q7XMP5W%2BC5", 35.6585625, 139.7454375},
    {"https://www.google.com/maps/place/MP5W%2BC5+Tokyo", 0, 0, -1, "a short plus code needs a nearby place: \"MP5W+C5 Tokyo\""},
    {"https://www.google.com/maps/search/Tokyo+Tower", 0, 0, -1, "Invalid Location: \"https://www.google.com/maps/search/Tokyo+Tower\""},
    {"https://www.google.com/maps/@95.1,139.7,17z", 0, 0, -1, "Invalid Location: \"https://www.google.com/maps/@95.1,139.7,17z\""},
    // OpenStreetMap: the marker before the view; the zoom held to 21; short links decoded.
    {"https://www.openstreetmap.org/?mlat=35.65858&mlon=139.74543#map=17/35.65800/139.74200", 35.65858, 139.74543, 17},
    {"https://openstreetmap.org/#map=25/35.658/139.742", 35.658, 139.742, 21},
    {"https://osm.org/go/0EEQjE--", 51.510772705078125, 0.054931640625, 9},
    {"https://maps.apple.com/?ll=50.894967,4.341626&z=10.5", 50.894967, 4.341626, 10},
    {"https://maps.apple.com/?q=35.6586,139.7454&sll=35.6,139.7", 35.6586, 139.7454},
    {"https://www.bing.com/maps?cp=47.677797~-122.122013&lvl=12&sp=point.47.6062_-122.3321_Seattle", 47.6062, -122.3321, 12},
    // Yandex, 2GIS and Mapy write the longitude first.
    {"https://yandex.ru/maps/?ll=37.620070,55.753630&z=12&pt=37.617635,55.755814", 55.755814, 37.617635, 12},
    {"https://yandex.com.tr/maps/?whatshere%5Bpoint%5D=28.978359%2C41.008238&whatshere%5Bzoom%5D=17", 41.008238, 28.978359, 17},
    {"https://2gis.ru/moscow?m=37.617635%2C55.755814%2F16", 55.755814, 37.617635, 16},
    {"https://mapy.cz/zakladni?x=14.4207&y=50.0880&z=16", 50.088, 14.4207, 16},
    {"https://wego.here.com/?map=52.53086,13.38474,15,normal", 52.53086, 13.38474, 15},
    {"https://waze.com/ul?ll=45.6906304,-120.810983&navigate=yes", 45.6906304, -120.810983},
    {"https://www.waze.com/ul/hezs42", 42.60498046875, -5.60302734375},
    {"https://maps.gsi.go.jp/#16/35.658581/139.745433/&base=std&ls=std", 35.658581, 139.745433, 16},
    {"https://map.yahoo.co.jp/?lat=35.658581&lon=139.745433&zoom=17", 35.658581, 139.745433, 17},
    {"https://osmand.net/map?pin=52.51628,13.37771#15/52.5163/13.3777", 52.51628, 13.37771, 15},
    {"https://osmand.net/go?lat=52.51628&lon=13.37771&z=16", 52.51628, 13.37771, 16},
    // Organic Maps, CoMaps and Maps.me codes, as their apps share them.
    {"ge0://ApYSV0YTAl/Am\u00E9rica_do_Norte", 51.0000004, -108.9999868, 4},
    {"http://ge0.me/AbCMCNp0LO/Madagascar", -18.9249432, 46.4416404, 4},
    {"https://omaps.app/Umse5f0H8a/Nova_Iorque", 40.7127405, -74.005997, 9},
    {"https://comaps.at/o4MnIOApKp/Kreuzberg", 52.4877386, 13.3815233, 14},
    // Plus codes: the centre of the area; a short code needs a place near it.
    {"8Q7XMP5W+C5", 35.6585625, 139.7454375},
    {"8q7xmp5w+c5", 35.6585625, 139.7454375},
    {"8Q7X0000+", 35.5, 139.5},
    {"MP5W+C5 Tokyo", 0, 0, -1, "a short plus code needs a nearby place: \"MP5W+C5 Tokyo\""},
    {"MP5W+C5, Tokyo", 35.6585625, 139.7454375, -1, "", "35.6895,139.6917"},
    // Text around a link: the first link counts; the sentence's punctuation is not the link's.
    {"Meet at https://www.openstreetmap.org/#map=17/35.65858/139.74543, at six (or geo:1,2).", 35.65858, 139.74543, 17},
    {"\u3053\u3053\u3067 https://maps.gsi.go.jp/#16/35.658581/139.745433/\u3002", 35.658581, 139.745433, 16},
    {"Organic Maps: geo:40.7127400,-74.0059965?z=9.0&q=40.7127400,-74.0059965(Nova%20Iorque)\nhttps://omaps.app/Umse5f0H8a/Nova_Iorque", 40.71274, -74.0059965, 9},
    // Short links are never fetched.
    {"https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6", 0, 0, -1, kGoogleShort.c_str()},
    {"look: https://yandex.com/maps/-/CLAvMI18 !", 0, 0, -1, kYandexShort.c_str()},
    {"///filled.count.soap", 0, 0, -1, kWhat3Words.c_str()},
    {"Tokyo Tower", 0, 0, -1, "Invalid Location: \"Tokyo Tower\""},
}), TOLVEX_ROW_NAMES(text));
// clang-format on

// Plus codes against the standard's published test data (encoding.csv, decoding.csv,
// shortCodeTests.csv), a few rows of each kind.
struct PlusCodeCase {
  const char* code;
  double latitude;  // encoding: the input; decoding: the area's south-west corner
  double longitude;
  int length;
  double north = 0.0;  // decoding only
  double east = 0.0;
};

class PlusCodeEncodeTest : public ::testing::TestWithParam<PlusCodeCase> {};

TEST_P(PlusCodeEncodeTest, MatchesTheStandard) {
  const PlusCodeCase& c = GetParam();
  EXPECT_EQ(EncodePlusCode(c.latitude, c.longitude, c.length), c.code);
}

INSTANTIATE_TEST_SUITE_P(Standard, PlusCodeEncodeTest,
                         ::testing::ValuesIn(std::initializer_list<PlusCodeCase>{
                             {"7FG49Q00+", 20.375, 2.775, 6},
                             {"7FG49QCJ+2VXGJ", 20.3701135, 2.78223535156, 13},
                             {"22222222+22", -89.9999375, -179.9999375, 10},
                             {"CFX3X2X2+X2", 90, 1, 10},
                             {"62H30000+", 1, 181, 4},
                             {"4VCPPQGP+Q9", -41.2730625, -905.2140625, 10},
                             {"6FH56C22+22", 1.2, 3.4, 10},
                             {"849VGJQF+VX7QR3J", 37.539669125, -122.375069724, 100},
                             {"CHGW2H5C+X2RRRRR", 80.0099999999, 58.57, 15},
                             {"2HFWXHQC+X2RRRRR", -80.0100000001, 58.57, 15},
                             {"22000000+", -80.0, -360000000170.0, 2},
                         }),
                         TOLVEX_ROW_NAMES(code));

class PlusCodeDecodeTest : public ::testing::TestWithParam<PlusCodeCase> {};

// The corners are sums of exact fractions; a double off by its last bit is still the corner.
TEST_P(PlusCodeDecodeTest, MatchesTheStandard) {
  const PlusCodeCase& c = GetParam();
  const auto area = DecodePlusCode(c.code);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->length, c.length);
  EXPECT_NEAR(area->south, c.latitude, 1e-10);
  EXPECT_NEAR(area->west, c.longitude, 1e-10);
  EXPECT_NEAR(area->north, c.north, 1e-10);
  EXPECT_NEAR(area->east, c.east, 1e-10);
}

INSTANTIATE_TEST_SUITE_P(
    Standard, PlusCodeDecodeTest,
    ::testing::ValuesIn(std::initializer_list<PlusCodeCase>{
        {"7FG49Q00+", 20.35, 2.75, 6, 20.4, 2.8},
        {"7fg49qcj+2vx", 20.3701, 2.78221875, 11, 20.370125, 2.78225},
        {"7FG49QCJ+2VXGJ", 20.370113, 2.782234375, 13, 20.370114, 2.78223632813},
        {"CFX3X2X2+X2", 89.999875, 1, 10, 90, 1.000125},
        {"84000000+", 30, -140, 2, 50, -120},
        {"849VGJQF+VX7QR3J7QR3J", 37.53966912, -122.3750698242, 15, 37.53966916, -122.3750697021},
    }),
    TOLVEX_ROW_NAMES(code));

struct RecoveryCase {
  const char* short_code;
  double latitude;  // the reference
  double longitude;
  const char* full_code;
};

class PlusCodeRecoveryTest : public ::testing::TestWithParam<RecoveryCase> {};

TEST_P(PlusCodeRecoveryTest, FindsTheNearestFullCode) {
  const RecoveryCase& c = GetParam();
  EXPECT_EQ(RecoverNearestPlusCode(c.short_code, {c.latitude, c.longitude}), c.full_code);
}

INSTANTIATE_TEST_SUITE_P(Standard, PlusCodeRecoveryTest,
                         ::testing::ValuesIn(std::initializer_list<RecoveryCase>{
                             {"+2VX", 51.3701125, -1.217765625, "9C3W9QCJ+2VX"},
                             {"CJ+2VX", 51.3708675, -1.217765625, "9C3W9QCJ+2VX"},
                             {"9QCJ+2VX", 51.3701125, -1.232865625, "9C3W9QCJ+2VX"},
                             {"22+", 42.899, 9.012, "8FJFW222+"},
                             {"XGRF+PM", 47.00, 8.55, "8FRCXGRF+PM"},
                             {"2222+22", 89.6, 0.0, "CFX22222+22"},
                             {"XXXXXX+XX", -81.0, 0.0, "2CXXXXXX+XX"},
                             {"mp5w+c5", 35.6895, 139.6917, "8Q7XMP5W+C5"},
                         }),
                         TOLVEX_ROW_NAMES(short_code));

// Links go both ways: every shipped map's link for a place, read back, names the place (to the
// six decimals the templates write) and, where the template carries $zoom, the zoom.
struct ShippedMap {
  std::string file;
  MapOption map;
};

class ShippedMapTest : public ::testing::TestWithParam<ShippedMap> {};

TEST_P(ShippedMapTest, LinkReadsBack) {
  const MapOption& map = GetParam().map;
  for (const Location& place : {Location{{35.658581, 139.745433}, "SD9.XC4.EQ2.CV5", 12},
                                Location{{-33.856784, -70.100001}, "IC8.HY3.MT0.RQ2", 7}}) {
    const std::string link = ExpandCommandTemplate(place, CommandOptionOf(map), ".");
    const PlaceTextReading reading = ReadPlaceText(link);
    ASSERT_TRUE(reading.location) << link << ": " << reading.message;
    EXPECT_NEAR(reading.location->position.latitude, place.position.latitude, 1e-6) << link;
    EXPECT_NEAR(reading.location->position.longitude, place.position.longitude, 1e-6) << link;
    if (map.command_template.find("$zoom") != std::string::npos) {
      EXPECT_EQ(reading.location->zoom, place.zoom) << link;
    }
  }
}

std::vector<ShippedMap> ShippedMaps() {
  std::vector<ShippedMap> rows;
  for (const char* file : {"tolvexgwcatalogue.xml", "tolvexgwoption.xml"}) {
    auto document = platform::CreateXmlDocument();
    if (!document->Load(std::string(TOLVEX_SOURCE_DIR "/resources/") + file)) continue;
    for (MapOption& map : ReadMapOptions(*document)) rows.push_back({file, std::move(map)});
  }
  return rows;
}

TEST(ShippedMapsTest, BothFilesAreRead) { EXPECT_GE(ShippedMaps().size(), 16u); }

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedMapTest, ::testing::ValuesIn(ShippedMaps()),
                         [](const auto& row) {
                           return test::RowName(row.param.file.substr(10, 3), row.param.map.id);
                         });

}  // namespace
}  // namespace tolvex
