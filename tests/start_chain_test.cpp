// Which starts of the gateway are refused as part of an endless chain, and what each start
// leaves for the next one (the mark its launches inherit, the per-user record).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "gateway/start_chain_check.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

constexpr std::int64_t kNow = 1'800'000'000'000;
constexpr const char* kHere = "SD9.XC4.EQ2.CV5";
constexpr const char* kThere = "SB4.XB0.LO4.CX1";

// A record line: a start `ms_ago`, of `kind` (o: launched a command that could come back, w: a
// web address, r: refused), of the chain begun `chain_ms_ago` when that is not negative.
std::string Line(std::int64_t ms_ago, char kind = 'o', const char* location = kHere,
                 std::int64_t chain_ms_ago = -1) {
  const std::string chain = chain_ms_ago < 0 ? "" : ' ' + std::to_string(kNow - chain_ms_ago);
  return std::to_string(kNow - ms_ago) + ' ' + location + ' ' + kind + chain + '\n';
}

// `count` starts of kHere, `gap_ms` apart, the latest `gap_ms` ago.
std::string Starts(int count, std::int64_t gap_ms, char kind = 'o',
                   std::int64_t chain_ms_ago = -1) {
  std::string text;
  for (int i = count; i >= 1; --i) text += Line(i * gap_ms, kind, kHere, chain_ms_ago);
  return text;
}

// A mark without its chain names the chain by its own time.
std::string MarkOf(int count, std::int64_t ms_ago, const char* location = kHere,
                   std::int64_t chain_ms_ago = -1) {
  return std::to_string(count) + ' ' + std::to_string(kNow - ms_ago) + ' ' + location +
         (chain_ms_ago < 0 ? "" : ' ' + std::to_string(kNow - chain_ms_ago));
}

constexpr std::int64_t kForked = 15000;  // a chain that forks began 15 s ago

struct ChainCase {
  const char* name;
  std::optional<std::string> mark;    // inherited through the environment
  std::optional<std::string> record;  // nullopt: none, or it cannot be read
  bool refuse;
  bool say_so = true;         // when refused
  int passed_on = 0;          // the count of the mark handed on, when not refused
  bool may_come_back = true;  // the command is not a web address
  std::int64_t chain = 0;     // how long ago the chain of this start began
};

class StartChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(StartChainTest, RefusesOnlyAChain) {
  const ChainCase& c = GetParam();
  const ChainVerdict verdict = JudgeStart(kHere, c.may_come_back, kNow, c.mark, c.record);
  EXPECT_EQ(verdict.refuse, c.refuse);
  if (c.refuse) {
    EXPECT_EQ(verdict.say_so, c.say_so);
    EXPECT_EQ(verdict.mark, "");
  } else {
    EXPECT_EQ(verdict.mark, MarkOf(c.passed_on, 0, kHere, c.chain));
  }
  // This start is the record's last line, with its chain unless it opened a web address; the
  // record stays bounded and keeps a chain's refusal.
  const char kind = c.refuse ? 'r' : c.may_come_back ? 'o' : 'w';
  EXPECT_TRUE(verdict.record.ends_with(Line(0, kind, kHere, kind == 'w' ? -1 : c.chain)))
      << verdict.record;
  const std::string before = c.record.value_or("");
  if (const std::string first = before.substr(0, before.find('\n') + 1); first.find(" r ") < 40) {
    EXPECT_NE(verdict.record.find(first), std::string::npos) << verdict.record;
  }
  EXPECT_LE(std::count(verdict.record.begin(), verdict.record.end(), '\n'), kMaxRecordedStarts);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartChainTest,
    ::testing::ValuesIn(std::initializer_list<ChainCase>{
        {"FirstStartOpens", std::nullopt, std::nullopt, false, true, 1},
        {"FiveClicksInTwoSecondsOpen", std::nullopt, Starts(4, 400), false, true, 1},
        {"AStartHalfASecondAfterTheGatewaysLaunchOpens", MarkOf(1, 500), Starts(1, 500), false,
         true, 2, true, 500},
        {"AStartAnHourLaterOpensAsANewChain", MarkOf(10, 3'600'000), Line(3'600'000), false, true,
         1},
        {"TwoDifferentLinksOpen", MarkOf(10, 10, kThere),
         Line(10, 'o', kThere) + Line(5, 'o', kThere), false, true, 1},
        {"TheTenthChainedStartOpens", MarkOf(9, 10), Starts(9, 10), false, true, 10, true, 10},
        {"TheEleventhChainedStartIsRefused", MarkOf(10, 10), Starts(10, 10), true, true, 0, true,
         10},
        {"TheEleventhIsRefusedWithoutARecord", MarkOf(10, 10), std::nullopt, true, true, 0, true,
         10},
        // A running browser hands the link back: the environment does not travel with it.
        {"AChainWithoutTheMarkIsRefusedByTheRecord", std::nullopt, Starts(10, 100), true},
        {"AForkedChainIsToldOnce", MarkOf(10, 10), Line(30) + Line(20, 'r'), true, false, 0, true,
         10},
        // A chain that forks: once one of its starts was refused, its other branches are too,
        // seconds later and whatever the record holds since; another chain of the link is not.
        {"AForkedChainsOtherBranchesAreRefusedUntold", MarkOf(4, 10, kHere, kForked),
         Line(3000, 'r', kHere, kForked) + Starts(40, 1000), true, false, 0, true, kForked},
        // Its branches' starts count together, however slowly a busy machine makes them.
        {"TheTenthStartOfAForkedChainOpens", MarkOf(3, 10, kHere, kForked),
         Starts(9, 1200, 'o', kForked), false, true, 4, true, kForked},
        {"TheEleventhStartOfAForkedChainIsRefused", MarkOf(3, 10, kHere, kForked),
         Starts(10, 1200, 'o', kForked), true, true, 0, true, kForked},
        {"StartsOfAnotherChainCountForNothing", MarkOf(3, 10, kHere, kForked),
         Starts(10, 1200, 'o', 20000), false, true, 4, true, kForked},
        {"ARefusalOfAnotherChainStopsNothing", MarkOf(4, 10, kHere, kForked),
         Line(3000, 'r', kHere, 9000) + Line(10), false, true, 5, true, kForked},
        {"ARefusalEndsTheRecordedChain", std::nullopt,
         Line(600) + Line(550) + Line(500, 'r') + Starts(9, 50), false, true, 1},
        {"StartsASecondApartAreNoChainInTheRecord", std::nullopt, Starts(20, 1000), false, true, 1},
        {"WebAddressesAreNoChainInTheRecord", std::nullopt, Starts(30, 2, 'w'), false, true, 1,
         false},
        {"AGarbledMarkAndRecordStopNothing", "ten 1 " + std::string(kHere),
         "1 2\n\xff\xfe 3\n" + std::to_string(kNow) + " SD9 x\n", false, true, 1},
        {"StartsAfterNowAreLeftOut", MarkOf(10, -10), Starts(10, -10), false, true, 1},
        {"AFullRecordKeepsTheNewest", std::nullopt, Starts(40, 2000), false, true, 1},
    }),
    TOLVEX_ROW_NAMES(name));

}  // namespace
}  // namespace tolvex
