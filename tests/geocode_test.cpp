#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "geocode/datum.h"
#include "geocode/ostraline.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

using internal::kGridSize;

struct CheckCase {
  const char* name;
  std::string text;
  bool valid;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class IsOstralineCodeTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(IsOstralineCodeTest, AcceptsExactlyThePattern) {
  EXPECT_EQ(IsOstralineCode(GetParam().text), GetParam().valid) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsOstralineCodeTest,
    ::testing::Values(
        CheckCase{"Lowest", "AA0.AA0.AA0.AA0", true}, CheckCase{"Highest", "ZZ9.ZZ9.ZZ9.ZZ9", true},
        CheckCase{"Example", "SD9.XC4.EQ2.CV5", true},
        CheckCase{"LowerCase", "sd9.xc4.eq2.cv5", false},
        CheckCase{"OneLowerLetter", "SD9.XC4.EQ2.cV5", false},
        CheckCase{"Short", "SD9.XC4.EQ2.CV", false}, CheckCase{"Long", "SD9.XC4.EQ2.CV55", false},
        CheckCase{"LeadingBlank", " SD9.XC4.EQ2.CV5", false},
        CheckCase{"TrailingBlank", "SD9.XC4.EQ2.CV5 ", false}, CheckCase{"Empty", "", false},
        CheckCase{"CommaSeparator", "SD9,XC4.EQ2.CV5", false},
        CheckCase{"DashSeparator", "SD9.XC4-EQ2.CV5", false},
        CheckCase{"LastSeparator", "SD9.XC4.EQ2:CV5", false},
        CheckCase{"DotAtLetter", "S.9.XC4.EQ2.CV5", false},
        CheckCase{"DotAtDigit", "SD..XC4.EQ2.CV5", false},
        CheckCase{"DigitAtLetter", "S19.XC4.EQ2.CV5", false},
        CheckCase{"LetterAtDigit", "SDX.XC4.EQ2.CV5", false},
        CheckCase{"LetterAtLastDigit", "SD9.XC4.EQ2.CVX", false},
        CheckCase{"AtSignBelowA", "@D9.XC4.EQ2.CV5", false},
        CheckCase{"BracketAboveZ", "S[9.XC4.EQ2.CV5", false},
        CheckCase{"SlashBelowZero", "SD/.XC4.EQ2.CV5", false},
        CheckCase{"ColonAboveNine", "SD:.XC4.EQ2.CV5", false},
        CheckCase{"EmbeddedNul", std::string("SD9.XC4\0EQ2.CV5", 15), false},
        // Full-width forms are three bytes each in UTF-8: wrong length and never ASCII.
        CheckCase{"FullWidthLetter",
                  "\xEF\xBC\xB3"
                  "D9.XC4.EQ2.CV5",
                  false},
        CheckCase{"FullWidthDigitSameLength", "SD\xEF\xBC\x99XC4.EQ2.C", false},
        // Bytes with the high bit set must not wrap onto an accepted code.
        CheckCase{"HighByteA",
                  "\xC1"
                  "D9.XC4.EQ2.CV5",
                  false},
        CheckCase{"HighByteDigit", "SD\xB9.XC4.EQ2.CV5", false},
        CheckCase{"HighByteDot",
                  "SD9\xAE"
                  "XC4.EQ2.CV5",
                  false}),
    [](const auto& row) { return std::string(row.param.name); });

struct DecodeCase {
  const char* code;
  std::int32_t latitude_index;
  std::int32_t longitude_index;
  double latitude;
  double longitude;
};

class OstralineDecodeTableTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(OstralineDecodeTableTest, KnownNodes) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(internal::LatitudeIndex(c.code), c.latitude_index);
  EXPECT_EQ(internal::LongitudeIndex(c.code), c.longitude_index);
  // The table's decimals are rounded to eight places (or are exact for the edge nodes).
  EXPECT_NEAR(OstralineToLatitude(c.code), c.latitude, 5e-9);
  EXPECT_NEAR(OstralineToLongitude(c.code), c.longitude, 5e-9);
}

INSTANTIATE_TEST_SUITE_P(Nodes, OstralineDecodeTableTest,
                         ::testing::ValuesIn(std::initializer_list<DecodeCase>{
                             {"AA0.AA0.AA0.AA0", 0, 0, -90.0, -180.0},
                             {"ZZ9.ZZ9.ZZ9.ZZ9", 45697599, 45697599, 89.99999606106229,
                              179.99999212212458},
                             {"NA0.NA0.AA0.AA0", 22848800, 22848800, 0.0, 0.0},
                             {"SD9.XC4.EQ2.CV5", 31901642, 40587775, 35.65858076, 139.74543521},
                         }),
                         TOLVEX_ROW_NAMES(code));

TEST(OstralineDecodeTest, ExactDoubles) {
  // The exact doubles, from the fixed evaluation order.
  EXPECT_EQ(OstralineToLatitude("ZZ9.ZZ9.ZZ9.ZZ9"), 89.99999606106229);
  EXPECT_EQ(OstralineToLongitude("ZZ9.ZZ9.ZZ9.ZZ9"), 179.99999212212458);
  EXPECT_EQ(OstralineToLatitude("SD9.XC4.EQ2.CV5"), 31901642.0 * 180.0 / 45697600.0 - 90.0);
}

TEST(OstralineDecodeTest, ShortTextDoesNotReadOutOfBounds) {
  EXPECT_EQ(OstralineToLatitude("SD9"), -90.0);
  EXPECT_EQ(OstralineToLongitude(""), -180.0);
}

struct EncodeCase {
  const char* name;
  double latitude;
  double longitude;
  const char* code;
};

class OstralineEncodeTableTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(OstralineEncodeTableTest, KnownPositions) {
  EXPECT_EQ(LatLonToOstraline(GetParam().latitude, GetParam().longitude), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, OstralineEncodeTableTest,
    ::testing::ValuesIn(std::initializer_list<EncodeCase>{
        {"TokyoTower", 35.658581, 139.745433, "SD9.XC4.EQ2.CV5"},
        {"SouthWestCorner", -90.0, -180.0, "AA0.AA0.AA0.AA0"},
        {"Origin", 0.0, 0.0, "NA0.NA0.AA0.AA0"},
        // Edge rules: 90 stays on the top row, 180 wraps to -180.
        {"NorthEastCorner", 90.0, 180.0, "ZZ9.AA0.ZZ9.AA0"},
        {"JustShortOfTheNorthEastCorner", 89.999999, 179.999999, "ZZ9.AA0.ZZ9.AA0"},
        // Exact ties go to the even index: 71402.5 -> 71402, 214207.5 -> 214208.
        {"ExactTiesNearTheCorner", -89.71875, -179.4375, "AB0.AB0.OQ2.OQ2"},
        {"ExactTieOnTheMeridian", -89.15625, 0.0, "AD1.NA0.RW8.AA0"},
        {"Sydney", -33.8568, 151.2153, "IC8.XX9.MS6.MR4"},
        {"Greenwich", 51.4778, -0.0015, "UL3.MZ9.HF5.ZH0"},
    }),
    TOLVEX_ROW_NAMES(name));

// Outside the precondition the code is still a valid one (nullptr: any), never a crash.
class OstralineEncodeOutsideTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(OstralineEncodeOutsideTest, StillYieldsAValidCode) {
  const std::string code = LatLonToOstraline(GetParam().latitude, GetParam().longitude);
  EXPECT_TRUE(IsOstralineCode(code)) << code;
  if (GetParam().code != nullptr) {
    EXPECT_EQ(code, GetParam().code);
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, OstralineEncodeOutsideTest,
                         ::testing::ValuesIn(std::initializer_list<EncodeCase>{
                             {"NotANumber", std::nan(""), std::nan(""), nullptr},
                             {"Infinities", INFINITY, -INFINITY, nullptr},
                             {"Huge", -1e300, 1e300, nullptr},
                             {"JustAboveTheRange", 91, 181, nullptr},
                             {"JustBelowTheRange", -91.0, -181.0, "AA0.AA0.AA0.AA0"},
                         }),
                         TOLVEX_ROW_NAMES(name));

TEST(OstralineInternalTest, CodeFromIndicesInvertsTheIndexReaders) {
  for (std::int32_t index :
       {0, 1, 9, 10, 259, 260, 6759, 6760, 67599, 67600, 1757599, 1757600, 22848800, 45697599}) {
    const std::string code = internal::CodeFromIndices(index, kGridSize - 1 - index);
    ASSERT_TRUE(IsOstralineCode(code)) << code;
    EXPECT_EQ(internal::LatitudeIndex(code), index);
    EXPECT_EQ(internal::LongitudeIndex(code), kGridSize - 1 - index);
  }
}

struct DatumCase {
  const char* name;
  double latitude;
  double longitude;
  double tokyo_latitude;
  double tokyo_longitude;
  double tolerance;  // 0: the exact double; otherwise the table's rounding
};

class ConvertToTokyoDatumTableTest : public ::testing::TestWithParam<DatumCase> {};

TEST_P(ConvertToTokyoDatumTableTest, KnownShifts) {
  const DatumCase& c = GetParam();
  const LatLon tokyo = ConvertToTokyoDatum(c.latitude, c.longitude);
  if (c.tolerance == 0.0) {
    EXPECT_EQ(tokyo.latitude, c.tokyo_latitude);
    EXPECT_EQ(tokyo.longitude, c.tokyo_longitude);
  } else {
    EXPECT_NEAR(tokyo.latitude, c.tokyo_latitude, c.tolerance);
    EXPECT_NEAR(tokyo.longitude, c.tokyo_longitude, c.tolerance);
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, ConvertToTokyoDatumTableTest,
                         ::testing::ValuesIn(std::initializer_list<DatumCase>{
                             {"TokyoTower", 35.658581, 139.745433, 35.65535210834555,
                              139.7486396891445, 0.0},
                             {"Origin", 0.0, 0.0, -0.004602, -0.010041, 0.0},
                             {"NorthPole", 90.0, 0.0, 90.0050244, -0.00589677, 1e-12},
                             {"SouthWestCorner", -90.0, -180.0, -90.01108434, -180.02913405, 1e-12},
                         }),
                         TOLVEX_ROW_NAMES(name));

}  // namespace
}  // namespace tolvex
