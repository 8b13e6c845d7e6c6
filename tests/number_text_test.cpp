#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>

#include "gateway/number_text.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

struct ParseCase {
  const char* text;
  const char* separator;
  std::optional<double> value;
};

class ParseNumberTableTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTableTest, AcceptsOnlyPlainDecimalNumbers) {
  const ParseCase& c = GetParam();
  const auto value = ParseNumber(c.text, c.separator);
  ASSERT_EQ(value.has_value(), c.value.has_value()) << "with \"" << c.separator << '"';
  if (value) {
    EXPECT_EQ(*value, *c.value);
    EXPECT_EQ(std::signbit(*value), std::signbit(*c.value));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTableTest,
    ::testing::ValuesIn(std::initializer_list<ParseCase>{
        {"35.6", ".", 35.6},
        {"  -139.745433\t", ".", -139.745433},
        {"+90", ".", 90.0},
        {".5", ".", 0.5},
        {"5.", ".", 5.0},
        {"007", ".", 7.0},
        {"-0", ".", -0.0},
        {"35,6", ",", 35.6},
        {"1\xC2\xA0"
         "5",
         "\xC2\xA0", 1.5},  // a separator of more than one byte
        // Correctly rounded, not accumulated digit by digit.
        {"0.1", ".", 0.1},
        {"35.658581", ".", 35.658581},
        {"", ".", std::nullopt},
        {"   ", ".", std::nullopt},
        {"+", ".", std::nullopt},
        {".", ".", std::nullopt},
        {"-.", ".", std::nullopt},
        {"1.2.3", ".", std::nullopt},
        {"35.6", ",", std::nullopt},   // the other locale's separator is no separator
        {"1,000", ".", std::nullopt},  // no thousands separators
        {"1e5", ".", std::nullopt},    // no exponent
        {"0x10", ".", std::nullopt},
        {"inf", ".", std::nullopt},
        {"nan", ".", std::nullopt},
        {"--1", ".", std::nullopt},
        {"+-1", ".", std::nullopt},
        {"1 2", ".", std::nullopt},
        {"- 1", ".", std::nullopt},
        {"\xEF\xBC\x91", ".", std::nullopt},  // a full-width digit
        {"1\n", ".", std::nullopt},           // only space and tab are blanks
    }),
    [](const auto& row) { return test::RowName(row.param.text, row.param.separator); });

TEST(ParseNumberTest, ValuesBeyondTheRangeOfADouble) {
  EXPECT_FALSE(ParseNumber("1" + std::string(400, '0'), ".").has_value());
  const auto tiny = ParseNumber("0." + std::string(400, '0') + "1", ".");
  ASSERT_TRUE(tiny.has_value());
  EXPECT_EQ(*tiny, 0.0);
}

struct TextCase {
  double value;
  const char* separator;
  const char* text;
};

class GeneralNumberTextTableTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(GeneralNumberTextTableTest, FifteenDigitsNeverExponent) {
  EXPECT_EQ(GeneralNumberText(GetParam().value, GetParam().separator), GetParam().text)
      << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, GeneralNumberTextTableTest,
                         ::testing::ValuesIn(std::initializer_list<TextCase>{
                             {35.0, ".", "35"},
                             {0.0, ".", "0"},
                             {-0.0, ".", "0"},
                             {0.6585809999999981, ".", "0.658580999999998"},
                             {0.6585809999999981, ",", "0,658580999999998"},
                             {35.658581, ".", "35.658581"},
                             {-35.5, ".", "-35.5"},
                             {5.1e-12, ".", "0.0000000000051"},
                             {1.1590769747272e-13, ".", "0.00000000000011590769747272"},
                             {1e15, ".", "1000000000000000"},
                             {123456789012345678.0, ".", "123456789012346000"},
                             {0.1 + 0.2, ".", "0.3"},
                             {999999999999999.9, ".", "1000000000000000"},
                             {0.5, "\xC2\xB7",
                              "0\xC2\xB7"
                              "5"},
                         }),
                         [](const auto& row) {
                           char value[32];  // every digit, so that no two rows' values read alike
                           std::snprintf(value, sizeof value, "%.17g", row.param.value);
                           return test::RowName(value, row.param.separator);
                         });

TEST(GeneralNumberTextTest, TinyValuesKeepEveryLeadingZero) {
  EXPECT_EQ(GeneralNumberText(1e-300, "."), "0." + std::string(299, '0') + "1");
}

TEST(GeneralNumberTextTest, LargestDoubleIsWrittenInFull) {
  const std::string text = GeneralNumberText(std::numeric_limits<double>::max(), ".");
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 15), "179769313486232");
  EXPECT_EQ(text.find_first_not_of('0', 15), std::string::npos);
}

}  // namespace
}  // namespace tolvex
