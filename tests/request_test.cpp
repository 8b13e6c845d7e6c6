#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "gateway/message_text.h"
#include "gateway/request.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

struct ClassifyCase {
  const char* argument;
  RequestKind kind;
  const char* text;  // what the message quotes (invalid kinds)
  double latitude = 0.0;
  double longitude = 0.0;
  const char* geocode = "";
  int zoom = -1;  // the link's zoom; -1: none
};

constexpr auto kLocation = RequestKind::kLocation;
constexpr auto kOption = RequestKind::kOptionDialog;
constexpr auto kBadLocation = RequestKind::kInvalidLocation;
constexpr auto kBadData = RequestKind::kInvalidData;
constexpr const char* kGeo356 = "SD6.XB0.ZL0.CX1";  // 35.6,139

class ClassifyArgumentTableTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyArgumentTableTest, Requests) {
  const ClassifyCase& c = GetParam();
  const Request request = ClassifyArgument(c.argument, ".");
  ASSERT_EQ(request.kind, c.kind);
  EXPECT_EQ(request.text, c.text);
  if (c.kind == kLocation) {
    EXPECT_EQ(request.location.position.latitude, c.latitude);
    EXPECT_EQ(request.location.position.longitude, c.longitude);
    EXPECT_EQ(request.location.geocode, c.geocode);
    EXPECT_EQ(request.location.zoom.value_or(-1), c.zoom);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ClassifyArgumentTableTest,
    ::testing::ValuesIn(std::initializer_list<ClassifyCase>{
        {"", kBadData, ""},
        {"    ", kBadData, ""},
        {"\"", kBadData, "\""},
        {"\"\"", kBadData, ""},
        {"TolVex:", kBadData, "TolVex:"},
        {"\"TolVex:\"", kBadData, "TolVex:"},
        {"35.6,139", kBadData, "35.6,139"},
        {"Option", kBadData, "Option"},
        {"\" TolVex:35,139\"", kBadData, " TolVex:35,139"},  // quotes removed, not trimmed again
        {"\"TolVex:35,139", kBadData, "\"TolVex:35,139"},    // one quote is no pair
        {"TolVe:35,139", kBadData, "TolVe:35,139"},
        {"option", kOption, ""},
        {"  option ", kOption, ""},
        {"\"option\"", kOption, ""},
        {"TolVex:option", kOption, ""},
        {"TolVex: option", kOption, ""},
        {"tolvex:option", kOption, ""},
        {"TolVex:Option", kBadLocation, "Option"},
        {"TolVex:sd9.xc4.eq2.cv5", kBadLocation, "sd9.xc4.eq2.cv5"},
        {"TolVex:91,0", kBadLocation, "91,0"},
        {"\"TolVex:   \"", kBadLocation, ""},
        {"TolVex:35.6,13,0", kBadLocation, "35.6,13,0"},
        {"TolVex:35.6\t,139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"TolVex:35.6,139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"tolvex:35.6,139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"TOLVEX:35.6,139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"TolVex: 35.6;139 ", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"\"TolVex:SD9.XC4.EQ2.CV5\"", kLocation, "", 35.65858075697629, 139.74543520885123,
         "SD9.XC4.EQ2.CV5"},
        {"  TolVex:  SD9.XC4.EQ2.CV5  ", kLocation, "", 35.65858075697629, 139.74543520885123,
         "SD9.XC4.EQ2.CV5"},
        {"TolVex:90;180", kLocation, "", 90.0, 180.0, "ZZ9.AA0.ZZ9.AA0"},
        {"TolVex:-90,-180", kLocation, "", -90.0, -180.0, "AA0.AA0.AA0.AA0"},
        // A full-width letter in the prefix is no prefix.
        {"\xEF\xBC\xB4olVex:35,139", kBadData, "\xEF\xBC\xB4olVex:35,139"},
        // Browsers hand links over percent-encoded, the scheme in lower case: the location text
        // is decoded once, then trimmed and classified.
        {"tolvex:35.658581,%20139.745433", kLocation, "", 35.658581, 139.745433, "SD9.XC4.EQ2.CV5"},
        {"TolVex:35.6%2C139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"TolVex:35.6%3B139", kLocation, "", 35.6, 139.0, "SD6.XB0.ZL0.CX1"},
        {"TolVex:%20SD9.XC4.EQ2.CV5%20", kLocation, "", 35.65858075697629, 139.74543520885123,
         "SD9.XC4.EQ2.CV5"},
        {"TolVex:%53d9.XC4.EQ2.CV5", kBadLocation, "Sd9.XC4.EQ2.CV5"},  // decoding keeps case
        {"TolVex:%20option", kOption, ""},
        {"TolVex:%6Fption", kOption, ""},
        {"%20option", kBadData, "%20option"},  // no prefix: nothing is decoded
        {"TolVex:35.6,139%", kBadLocation, "35.6,139%"},
        {"TolVex:%zz", kBadLocation, "%zz"},
        {"TolVex:%2", kBadLocation, "%2"},
        {"TolVex:35.6,%0A139", kBadLocation, "35.6,\n139"},  // only space and tab are blanks
        {"TolVex:%FF", kBadLocation, "\xEF\xBF\xBD"},        // no UTF-8 character: U+FFFD
        {"TolVex:%E5%9C%B0", kBadLocation, "\xE5\x9C\xB0"},  // a whole UTF-8 character
        {"TolVex:%E5%9C", kBadLocation, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"TolVex:%C0%AF", kBadLocation, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong "/"
        {"TolVex:35.6%252C139", kBadLocation, "35.6%2C139"},          // decoded once, not twice
        {"TolVex:35.6,139%22%20%26%20calc", kBadLocation, "35.6,139\" & calc"},
        {"TolVex:35.6;139%3Bcalc", kBadLocation, "35.6;139;calc"},
        // Bytes that are no UTF-8 become U+FFFD wherever they stand, decoded or not.
        {"Tol\xFF"
         "ex:35,139",
         kBadData,
         "Tol\xEF\xBF\xBD"
         "ex:35,139"},
        {"\"\x80TolVex:35,139\"", kBadData, "\xEF\xBF\xBDTolVex:35,139"},
        {"optio\xC3", kBadData, "optio\xEF\xBF\xBD"},
        {"TolVex:35,139\xE5\x9C", kBadLocation, "35,139\xEF\xBF\xBD\xEF\xBF\xBD"},
        // geo: links: an altitude is checked and dropped, crs must be WGS84, u and unknown
        // parameters are ignored, z is rounded half to even and held to 0..21 wherever written.
        {"geo:35.6,139", kLocation, "", 35.6, 139.0, kGeo356},
        {"\"GEO: 35.6 , 139,-12.5 \"", kLocation, "", 35.6, 139.0, kGeo356},
        {"geo://35.6%2C139;CRS=Wgs84;u=35;x", kLocation, "", 35.6, 139.0, kGeo356},
        {"geo:35.6,139;u=35?z=12", kLocation, "", 35.6, 139.0, kGeo356, 12},
        {"geo:35.6,139;z=12.5", kLocation, "", 35.6, 139.0, kGeo356, 12},
        {"geo:35.6,139&z=13.5", kLocation, "", 35.6, 139.0, kGeo356, 14},
        {"geo:35.6,139?Z=99", kLocation, "", 35.6, 139.0, kGeo356, 21},
        {"geo:35.6,139?z=-0.5", kLocation, "", 35.6, 139.0, kGeo356, 0},
        {"geo:35.6,139%3Fz%3D9", kLocation, "", 35.6, 139.0, kGeo356, 9},
        {"geo:35.6,139?z=far&q=Tokyo", kLocation, "", 35.6, 139.0, kGeo356},
        {"geo:0,0?q=35.6,139(Tokyo+Tower)&z=3", kLocation, "", 35.6, 139.0, kGeo356, 3},
        {"geo:0.0,-0?q=35.6,+139", kLocation, "", 35.6, 139.0, kGeo356},
        {"geo:0,0", kLocation, "", 0.0, 0.0, "NA0.NA0.AA0.AA0"},
        {"geo:0,0?q=Tokyo+Tower", kBadLocation, "0,0?q=Tokyo+Tower"},
        {"geo:0,0?q=35.6,139(Tokyo", kBadLocation, "0,0?q=35.6,139(Tokyo"},
        {"geo:0,0?q=91,0(x)", kBadLocation, "0,0?q=91,0(x)"},
        {"geo:35.6,139;crs=nad27", kBadLocation, "35.6,139;crs=nad27"},
        {"geo:35.6,139;crs", kBadLocation, "35.6,139;crs"},
        {"geo:91,0", kBadLocation, "91,0"},
        {"geo:35.6,-180.5", kBadLocation, "35.6,-180.5"},
        {"geo:35.6,139,high", kBadLocation, "35.6,139,high"},
        {"geo:35.6,139,0,1", kBadLocation, "35.6,139,0,1"},
        {"geo:35.6;139", kBadLocation, "35.6;139"},
        {"geo:SD9.XC4.EQ2.CV5", kBadLocation, "SD9.XC4.EQ2.CV5"},
        {"geo:", kBadLocation, ""},
        {"geo:35.6,139%22%20%26%20calc", kBadLocation, "35.6,139\" & calc"},
        {"geo:%FF,0", kBadLocation, "\xEF\xBF\xBD,0"},
        {"ge\xC3o:35.6,139", kBadData, "ge\xEF\xBF\xBDo:35.6,139"},
    }),
    TOLVEX_ROW_NAMES(argument));

TEST(ClassifyArgumentTest, CommaLocale) {
  const Request whole = ClassifyArgument("TolVex:35;139", ",");
  ASSERT_EQ(whole.kind, kLocation);
  EXPECT_EQ(whole.location.position.latitude, 35.0);
  EXPECT_EQ(whole.location.position.longitude, 139.0);
  // The comma splits first, so decimals written with it make three elements; links write
  // decimals with "." whatever the reader's locale.
  EXPECT_EQ(ClassifyArgument("TolVex:35,6;139,5", ",").kind, kBadLocation);
  const Request dotted = ClassifyArgument("TolVex:35.658581,139.745433", ",");
  ASSERT_EQ(dotted.kind, kLocation);
  EXPECT_EQ(dotted.location.geocode, "SD9.XC4.EQ2.CV5");
  EXPECT_EQ(ClassifyArgument("TolVex:1.5,2,5", ",").kind, kBadLocation);
}

struct PairCase {
  const char* text;
  const char* separator;
  bool is_pair;
};

class CoordinatePairTableTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(CoordinatePairTableTest, ReadAsALocation) {
  const Request request =
      ClassifyArgument(std::string(kLinkPrefix) + GetParam().text, GetParam().separator);
  EXPECT_EQ(request.kind == kLocation, GetParam().is_pair)
      << "with \"" << GetParam().separator << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, CoordinatePairTableTest,
                         ::testing::ValuesIn(std::initializer_list<PairCase>{
                             {"90;180", ".", true},
                             {"-90,-180", ".", true},
                             {"35.6, 139", ".", true},
                             {" 35.6 ; 139 ", ".", true},
                             {"+35.6,+139", ".", true},
                             {"90.1,0", ".", false},
                             {"-90.1,0", ".", false},
                             {"0,181", ".", false},
                             {"0,-181", ".", false},
                             {"35.6,13,0", ".", false},
                             {"35.6;13,0", ".", false},
                             {"35.6,139;", ".", false},
                             {"35.6,", ".", false},
                             {",139", ".", false},
                             {",", ".", false},
                             {"abc,def", ".", false},
                             {"SD9.XC4.EQ2.CV5", ".", true},  // a geocode, read before any pair
                             {"option", ".", false},
                             {"", ".", false},
                             {"1,5;2,5", ",", false},
                             {"1,5;2,5", ".", false},
                             {"35.6;139.5", ",", true},
                             {"1#5;2.5", "#", true},  // the locale's own separator, or "."
                             {"1#5.5;2", "#", false},
                             {"1e1,0", ".", false},
                             {"inf,0", ".", false},
                             {"nan,0", ".", false},
                             {"0x1,0", ".", false},
                             {"35.6\n,139", ".", false},
                         }),
                         [](const auto& row) {
                           return test::RowName(row.param.text, row.param.separator);
                         });

TEST(MessageTest, TextsQuoteTheOffendingInput) {
  EXPECT_EQ(InvalidLocationMessage("91,0"), "Invalid Location: \"91,0\"");
  EXPECT_EQ(InvalidDataMessage(""), "Invalid Data: \"\"");
  // A message never holds a line break or a NUL, whether decoded from a link or not.
  EXPECT_EQ(InvalidLocationMessage(ClassifyArgument("TolVex:a%0D%0Ab%00%7F%1F", ".").text),
            "Invalid Location: \"a%0D%0Ab%00%7F%1F\"");
  EXPECT_EQ(InvalidDataMessage(ClassifyArgument("a\tb\nc", ".").text),
            "Invalid Data: \"a%09b%0Ac\"");
  // C1 controls and the line and paragraph separators too, each byte as "%XX".
  EXPECT_EQ(QuoteForMessage("a\u0085b\u009B\u2028\u2029\u00A0\u2027"),
            "a%C2%85b%C2%9B%E2%80%A8%E2%80%A9\u00A0\u2027");
  EXPECT_EQ(InvalidLocationMessage(ClassifyArgument("TolVex:%E5%9C%B0%2520", ".").text),
            "Invalid Location: \"\xE5\x9C\xB0%20\"");
}

TEST(MessageTest, LongTextsAreCutAfter200Characters) {
  const std::string exact(200, 'x');
  EXPECT_EQ(InvalidDataMessage(exact), "Invalid Data: \"" + exact + "\"");
  EXPECT_EQ(InvalidDataMessage(std::string(100000, 'y')),
            "Invalid Data: \"" + std::string(200, 'y') + "\u2026\"");
  // Characters, not bytes: a three-byte character is never split.
  std::string wide;
  for (int i = 0; i < 201; ++i) wide += "\xE5\x9C\xB0";
  std::string kept;
  for (int i = 0; i < 200; ++i) kept += "\xE5\x9C\xB0";
  EXPECT_EQ(QuoteForMessage(wide), kept + "\u2026");
  EXPECT_EQ(QuoteForMessage(kept), kept);
  // 200 characters are counted before control characters are written out as "%XX".
  EXPECT_EQ(QuoteForMessage(std::string(300, '\n')), [] {
    std::string escaped;
    for (int i = 0; i < 200; ++i) escaped += "%0A";
    return escaped + "\u2026";
  }());
}

}  // namespace
}  // namespace tolvex
