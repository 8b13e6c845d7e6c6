#include <gtest/gtest.h>

#include <string>

#include "gateway/request.h"

namespace tolvex {
namespace {

struct ClassifyCase {
  const char* argument;
  RequestKind kind;
  const char* text;  // what the message quotes (invalid kinds)
  double latitude = 0.0;
  double longitude = 0.0;
  const char* geocode = "";
};

constexpr auto kLocation = RequestKind::kLocation;
constexpr auto kOption = RequestKind::kOptionDialog;
constexpr auto kBadLocation = RequestKind::kInvalidLocation;
constexpr auto kBadData = RequestKind::kInvalidData;

TEST(ClassifyArgumentTest, Requests) {
  const ClassifyCase cases[] = {
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("argument: [") + c.argument + "]");
    const Request request = ClassifyArgument(c.argument, ".");
    ASSERT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.text, c.text);
    if (c.kind == kLocation) {
      EXPECT_EQ(request.state.latitude, c.latitude);
      EXPECT_EQ(request.state.longitude, c.longitude);
      EXPECT_EQ(request.state.geocode, c.geocode);
    }
  }
}

TEST(ClassifyArgumentTest, CommaLocale) {
  const Request whole = ClassifyArgument("TolVex:35;139", ",");
  ASSERT_EQ(whole.kind, kLocation);
  EXPECT_EQ(whole.state.latitude, 35.0);
  EXPECT_EQ(whole.state.longitude, 139.0);
  // The comma splits first, so decimals written with it make three elements.
  EXPECT_EQ(ClassifyArgument("TolVex:35,6;139,5", ",").kind, kBadLocation);
  EXPECT_EQ(ClassifyArgument("TolVex:35.6;139.5", ",").kind, kBadLocation);
}

struct PairCase {
  const char* text;
  const char* separator;
  bool is_pair;
};

TEST(IsCoordinatePairTest, Pairs) {
  const PairCase cases[] = {
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
      {"SD9.XC4.EQ2.CV5", ".", false},
      {"option", ".", false},
      {"", ".", false},
      {"1,5;2,5", ",", false},
      {"1,5;2,5", ".", false},
      {"1e1,0", ".", false},
      {"inf,0", ".", false},
      {"nan,0", ".", false},
      {"0x1,0", ".", false},
      {"35.6\n,139", ".", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsCoordinatePair(c.text, c.separator), c.is_pair)
        << "[" << c.text << "] with \"" << c.separator << "\"";
  }
}

TEST(MessageTest, TextsQuoteTheOffendingInput) {
  EXPECT_EQ(InvalidLocationMessage("91,0"), "Invalid Location: \"91,0\"");
  EXPECT_EQ(InvalidDataMessage(""), "Invalid Data: \"\"");
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
  EXPECT_EQ(ClipForMessage(wide), kept + "\u2026");
  EXPECT_EQ(ClipForMessage(kept), kept);
}

}  // namespace
}  // namespace tolvex
