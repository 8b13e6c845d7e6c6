// Named fields through the whole expansion, so that the quantities (degrees, minutes,
// seconds) are computed as the template scanner computes them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "gateway/command_template.h"
#include "gateway/field_format.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

std::string Expand(const std::string& template_text, double latitude, double longitude,
                   const char* separator = ".", const char* datum = "wgs84") {
  return ExpandCommandTemplate({{latitude, longitude}, "SD9.XC4.EQ2.CV5"}, {template_text, datum},
                               separator);
}

struct WorkedRow {
  const char* piece;
  const char* north_east;
  const char* south_west;
};

// Position 35.658581, 139.745433 and its mirror in the south and west.
class WorkedExampleTest : public ::testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedExampleTest, NorthEastAndSouthWest) {
  EXPECT_EQ(Expand(GetParam().piece, 35.658581, 139.745433), GetParam().north_east);
  EXPECT_EQ(Expand(GetParam().piece, -35.658581, -139.745433), GetParam().south_west);
}

INSTANTIATE_TEST_SUITE_P(Fields, WorkedExampleTest,
                         ::testing::ValuesIn(std::initializer_list<WorkedRow>{
                             {"$lat.d()", "35.658580999999998", "-35.658580999999998"},
                             {"$lat.d(+03.4r)", "+035.6586", "-035.6586"},
                             {"$lat.d(-03.4r)", "035.6586", "-035.6586"},
                             {"$lat.d(03.4r)", "035.6586", "-035.6586"},
                             {"$lat.d(d03.4r)", "n035.6586", "s035.6586"},
                             {"$lon.d(D03.4r)", "E139.7454", "W139.7454"},
                             {"$lon.d(d.0)", "e139", "w139"},
                             {"$lat.d(+03.4f)", "+035.6585", "-035.6585"},
                             {"$lat.d(+03.4)", "+035.6585", "-035.6585"},
                             {"$lat.d(+03.4c)", "+035.6586", "-035.6586"},
                             // Decimals 0 still round by their letter: 35.6586 is nearer to 36.
                             {"$lat.d(+03.0r)", "+036", "-036"},
                             {"$lat.d(+03.0f)", "+035", "-035"},
                             {"$lat.d(+03)", "+35.658580999999998", "-35.658580999999998"},
                             {"$lat.d(+3.4r)", "+35.6586", "-35.6586"},
                             {"$lat.d(+1.2r)", "+5.66", "-5.66"},
                             {"$lat.d(+00.4r)", "+.6586", "-.6586"},
                             {"$lat.d( 3.2r)", " 35.66", "- 35.66"},
                             {"$lat.d(+ 4.2r)", "+  35.66", "-  35.66"},
                             {"$lat.d(a.4r)", "35.6586", "-35.6586"},
                             {"$lat.m(+02.2r)", "+39.51", "-39.51"},
                             {"$lat.s(+02.1r)", "+30.9", "-30.9"},
                             {"$lat.m(,,,)", "39.514859999999885", "-39.514859999999885"},
                             {"$lat.d(+.2r,,60,)", "+2139.51", "-2139.51"},
                             {"$lat.d(+03.4r,,3600,)", "+370.8916", "-370.8916"},
                             {"$lat.d(+03.4r,-90,,)", "+054.3414", "-054.3414"},
                             {"$lat.d(+03.4r,1,2)", "+035.658580999999998", "-035.658580999999998"},
                             {"$lon.m(D02.3r)", "E44.726", "W44.726"},
                             {"$lon.s(d02.2f)", "e43.55", "w43.55"},
                         }),
                         TOLVEX_ROW_NAMES(piece));

struct EdgeRow {
  const char* piece;
  double latitude;
  const char* expected;
};

class EdgeCaseTest : public ::testing::TestWithParam<EdgeRow> {};

TEST_P(EdgeCaseTest, RendersAndRounds) {
  EXPECT_EQ(Expand(GetParam().piece, GetParam().latitude, 139.745433), GetParam().expected)
      << "at " << GetParam().latitude;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, EdgeCaseTest,
    ::testing::ValuesIn(std::initializer_list<EdgeRow>{
        {"$lat.d()", 35.0, "35"},  // no fraction: no decimal point
        {"$lat.d(+03.0r)", 35.4, "+035"},
        // Rounding carries into the whole part, also with decimals 0.
        {"$lat.d(+03.4r)", 35.99996, "+036.0000"},
        {"$lat.d(+03.0r)", 35.9, "+036"},
        {"$lat.d(+03.0f)", 35.9, "+035"},
        {"$lat.d(+03.0)", 35.9, "+035"},
        {"$lat.d(+03.0c)", 35.5, "+036"},
        {"$lat.d(+03.0c)", 35.0, "+035"},
        {"$lat.d(+1.2r)", 9.999, "+0.00"},  // the carry reaches the tens, width 1 keeps "0"
        // "c" is the ceiling: a whole scaled fraction stays.
        {"$lat.d(+03.4c)", 35.5, "+035.5000"},
        {"$lat.d(+03.1c)", 35.0, "+035.0"},
        {"$lat.d(+03.4c)", 35.12341, "+035.1235"},
        {"$lat.d(d03.2r)", 0.0, "n000.00"},
        {"$lat.d(+03.2r)", 0.0, "+000.00"},
        {"$lat.d(-03.2r)", -0.0, "000.00"},  // negative zero is north
        {"$lat.d(+3.2r)", 0.004, "+0.00"},
        // Widths: 0 writes nothing; outside 0..32767 counts as absent.
        {"$lat.d(+00.1r)", 35.25, "+.3"},
        {"$lat.d(+0.1r)", 35.25, "+35.3"},  // "0" is the pad character: no width text
        {"$lat.d(+-3.1r)", 35.25, "+35.3"},
        {"$lat.d(+40000.1r)", 35.25, "+35.3"},
        {"$lat.d(+05.1r)", 35.25, "+00035.3"},
        {"$lat.d(5.1r)", 35.25, "35.3"},  // no pad character: the spaces are trimmed
        // Decimals: a whole number 0..15, else absent.
        {"$lat.d(+2.15f)", 35.5, "+35.500000000000000"},
        {"$lat.d(+2.16r)", 35.5, "+35.5"},
        {"$lat.d(+2.-1r)", 35.5, "+35.5"},
        {"$lat.d(+2.00r)", 35.5, "+36"},
        {"$lat.d(+2.r)", 35.5, "+35.5"},
        {"$lat.d(+2.x)", 35.5, "+35.5"},
        // A fraction that fifteen digits round to 1 is a whole unit.
        {"$lat.d()", 0.9999999999999999, "1"},
        // Very small fractions are written without an exponent.
        {"$lat.d(,,,0.0000000000051)", 0.0, "0.0000000000051"},
        {"$lat.d(,,,1000000000000000)", 0.0, "1000000000000000"},
        // Radians are degrees x pi / 180.
        {"$lat.r(+1.6r)", 90.0, "+1.570796"},
        {"$lon.r(+1.6r)", 35.0, "+2.439018"},
        // Transform elements that are no number keep their defaults.
        {"$lat.d(+03.2r,x,y,z)", 35.25, "+035.25"},
        {"$lat.d(+03.2r,1e3,,)", 35.25, "+035.25"},
        {"$lat.d(+03.2r, 1 ,,)", 35.25, "+036.25"},
    }),
    [](const auto& row) {
      return test::RowName(std::string(row.param.piece) + " at " +
                           std::to_string(row.param.latitude));
    });

// Under a locale whose decimal separator is ",".
struct SeparatorCase {
  const char* piece;
  const char* expected;
};

class UserSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(UserSeparatorTest, WritesTheField) {
  EXPECT_EQ(Expand(GetParam().piece, 35.658581, 139.745433, ","), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Comma, UserSeparatorTest,
    ::testing::Values(
        SeparatorCase{"$lat.d()", "35,658580999999998"},  // the general text: the user's
        SeparatorCase{"$lat.d(+03.4r)", "+035.6586"},     // rounded decimals always use "."
        SeparatorCase{"$lat.d(+03.4r;;60;)", "+035,658580999999998"},  // ";" separates nothing
        SeparatorCase{"$lat.d(+2.2r,,0,5,)", "+35,658580999999998"}),  // five: all picture
    TOLVEX_ROW_NAMES(piece));

TEST(FieldFormatTest, UserDecimalSeparator) {
  EXPECT_EQ(FormatField("+03.4r,,0,5,1", 1.0, CoordinateKind::kLatitude, 1, ","), "+001");
  // "5.2r" is the offset here, and no number.
  EXPECT_EQ(FormatField("+1,5.2r,,,", 1.0, CoordinateKind::kLatitude, 1, ","), "+1");
}

TEST(FieldFormatTest, NonFiniteValuesWriteTheFieldItself) {
  const std::string scale_1e308 = "1" + std::string(308, '0');
  const std::string piece = "a $lat.d(+03.4r,," + scale_1e308 + ",) b";
  EXPECT_EQ(Expand(piece, 35.658581, 139.745433), piece);  // 35.66 x 1e308 overflows
  EXPECT_FALSE(FormatField(",," + scale_1e308 + ",", 2.0, CoordinateKind::kLatitude, 1, "."));
  // A finite 1e300 is written in full, here cut to the last digit by width 1.
  const auto huge = FormatField("+1.1r,,1" + std::string(300, '0') + ",", 1.0,
                                CoordinateKind::kLongitude, -1, ".");
  ASSERT_TRUE(huge.has_value());
  EXPECT_EQ(*huge, "-0.0");
}

}  // namespace
}  // namespace tolvex
