#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvex::platform {
namespace {

struct SplitCase {
  const char* name;
  std::string command_line;
  std::string argument_text;
};

class ArgumentTextOfCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ArgumentTextOfCommandLineTest, TakesWhatFollowsTheProgramName) {
  EXPECT_EQ(ArgumentTextOfCommandLine(GetParam().command_line), GetParam().argument_text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentTextOfCommandLineTest,
    ::testing::Values(
        SplitCase{"QuotedNameWithSpaces",
                  R"("C:\Program Files\Tolvex\TolvexGateway.exe" TolVex:SD9.XC4.EQ2.CV5)",
                  "TolVex:SD9.XC4.EQ2.CV5"},
        SplitCase{"ArgumentKeepsItsQuotes", R"(C:\T\TolvexGateway.exe "TolVex:35.6, 139.7")",
                  R"("TolVex:35.6, 139.7")"},
        SplitCase{"InnerQuotesAndBlanksStay", R"(x.exe "a"  "b" )", R"("a"  "b" )"},
        SplitCase{"SeveralBlanksAndTabsAfterTheName", "x.exe \t  option", "option"},
        SplitCase{"TrailingBlanksStay", "x.exe option  ", "option  "},
        SplitCase{"ArgumentGluedToQuotedName", R"("C:\a b\x.exe"option)", "option"},
        SplitCase{"QuoteInsideUnquotedNameIsPartOfIt", R"(C:\a"b.exe TolVex:1,2)", "TolVex:1,2"},
        SplitCase{"NameOnly", "TolvexGateway.exe", ""},
        SplitCase{"QuotedNameOnly", R"("C:\a b\x.exe")", ""},
        SplitCase{"NameAndBlanksOnly", "x.exe   ", ""},
        SplitCase{"UnterminatedQuotedNameTakesEverything", R"("C:\a b\x.exe option)", ""},
        SplitCase{"EmptyQuotedName", R"("" option)", "option"},
        SplitCase{"EmptyCommandLine", "", ""},
        SplitCase{"NonAsciiNameAndArgument", "\"C:\\\xe5\x9c\xb0\xe5\x9b\xb3\\x.exe\" \xe6\x9d\xb1",
                  "\xe6\x9d\xb1"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tolvex::platform
