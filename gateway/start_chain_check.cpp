#include "gateway/start_chain_check.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace tolvex {
namespace {

// What a record line says about one start: it launched a command that could come back, a web
// address, or was refused.
enum class StartKind : char { kMayComeBack = 'o', kWebAddress = 'w', kRefused = 'r' };

struct RecordedStart {
  std::int64_t time_ms = 0;
  std::string_view location;
  StartKind kind = StartKind::kMayComeBack;
  std::int64_t chain = 0;  // the chain (the time of its first start); 0: not known
};

// Splits `text` at the first blank: the word before it, and `text` after it.
std::string_view NextWord(std::string_view& text) {
  const std::size_t blank = text.find(' ');
  const std::string_view word = text.substr(0, blank);
  text.remove_prefix(blank == std::string_view::npos ? text.size() : blank + 1);
  return word;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view word) {
  Number value{};
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < 0) return std::nullopt;
  return value;
}

// A location as a trace may name it: a geocode's letters, digits and dots, nothing to split on.
bool IsLocationWord(std::string_view word) {
  return !word.empty() && word.size() <= 32 && std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
  });
}

// "COUNT TIME LOCATION CHAIN": the chained starts before the one that wrote it counted in, and
// the time of the chain's first start, which names the chain however it branches (a mark
// without it names the chain by its own time).
struct Mark {
  int count = 0;
  std::int64_t time_ms = 0;
  std::string_view location;
  std::int64_t chain = 0;
};

std::optional<Mark> ParseMark(std::string_view text) {
  const auto count = ParseNumber<int>(NextWord(text));
  const auto time = ParseNumber<std::int64_t>(NextWord(text));
  const std::string_view location = NextWord(text);
  const auto chain = text.empty() ? time : ParseNumber<std::int64_t>(text);
  if (!count || !time || !IsLocationWord(location) || !chain) return std::nullopt;
  return Mark{*count, *time, location, *chain};
}

// The inherited mark when it chains this start: a mark of `location`, left less than
// kChainGapMs ago (a program the gateway started keeps its mark long after).
std::optional<Mark> ChainingMark(std::optional<std::string_view> mark, std::string_view location,
                                 std::int64_t now_ms) {
  auto parsed = mark ? ParseMark(*mark) : std::nullopt;
  if (!parsed || parsed->location != location || now_ms < parsed->time_ms ||
      now_ms - parsed->time_ms >= kChainGapMs) {
    return std::nullopt;
  }
  return parsed;
}

// One start a line, oldest first: "TIME LOCATION KIND", followed by its chain unless it opened
// a web address (a record of an earlier version names only a refusal's). Lines that do not
// parse, and starts after `now_ms` (a clock set back), are left out.
std::vector<RecordedStart> ParseRecord(std::string_view text, std::int64_t now_ms) {
  std::vector<RecordedStart> starts;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto time = ParseNumber<std::int64_t>(NextWord(line));
    const std::string_view location = NextWord(line);
    const std::string_view kind = NextWord(line);
    if (!time || *time > now_ms || !IsLocationWord(location) || kind.size() != 1) continue;
    if (kind != "o" && kind != "w" && kind != "r") continue;
    const auto chain = line.empty() || kind == "w" ? std::optional<std::int64_t>(0)
                                                   : ParseNumber<std::int64_t>(line);
    if (!chain) continue;
    starts.push_back({*time, location, static_cast<StartKind>(kind.front()), *chain});
  }
  return starts;
}

// How many starts of `location` that could come back led up to now, one less than
// kRecordGapMs after the other, since the last refusal or web address of it.
int RecordedChain(const std::vector<RecordedStart>& starts, std::string_view location,
                  std::int64_t now_ms) {
  int count = 0;
  std::int64_t later = now_ms;
  for (std::size_t i = starts.size(); i-- > 0;) {
    const RecordedStart& start = starts[i];
    if (start.location != location) continue;
    if (later - start.time_ms >= kRecordGapMs || start.kind != StartKind::kMayComeBack) break;
    ++count;
    later = start.time_ms;
  }
  return count;
}

// How many starts of `chain` launched a command in the last kChainGapMs, in all its branches.
int ChainStarts(const std::vector<RecordedStart>& starts, std::string_view location,
                std::int64_t chain, std::int64_t now_ms) {
  return static_cast<int>(std::count_if(starts.begin(), starts.end(), [&](const RecordedStart& s) {
    return s.kind == StartKind::kMayComeBack && s.location == location && s.chain == chain &&
           now_ms - s.time_ms < kChainGapMs;
  }));
}

// A refusal of `chain` in the record: the chain was stopped, and its user told.
bool ChainWasRefused(const std::vector<RecordedStart>& starts, std::string_view location,
                     std::int64_t chain) {
  return std::any_of(starts.begin(), starts.end(), [&](const RecordedStart& start) {
    return start.kind == StartKind::kRefused && start.location == location && start.chain == chain;
  });
}

// A refusal of `location` a moment ago, of whatever chain: starts that the record alone ties
// together (their mark lost on the way) belong to it.
bool RefusedMomentsAgo(const std::vector<RecordedStart>& starts, std::string_view location,
                       std::int64_t now_ms) {
  return std::any_of(starts.begin(), starts.end(), [&](const RecordedStart& start) {
    return start.kind == StartKind::kRefused && start.location == location &&
           now_ms - start.time_ms < kRecordGapMs;
  });
}

// The starts that the next record keeps, oldest first: the newest ones, and for each chain
// refused in the last kChainGapMs its latest refusal, which tells the chain's later starts
// that it was stopped; kMaxRecordedStarts - 1 at most, room left for the start being judged.
std::vector<RecordedStart> KeptStarts(const std::vector<RecordedStart>& starts,
                                      std::int64_t now_ms) {
  constexpr std::size_t kMaxKeptRefusals = 8;
  std::vector<bool> keep(starts.size(), false);
  std::vector<std::int64_t> chains;
  for (std::size_t i = starts.size(); i-- > 0 && chains.size() < kMaxKeptRefusals;) {
    const RecordedStart& start = starts[i];
    if (start.kind == StartKind::kRefused && now_ms - start.time_ms < kChainGapMs &&
        std::find(chains.begin(), chains.end(), start.chain) == chains.end()) {
      chains.push_back(start.chain);
      keep[i] = true;
    }
  }
  std::size_t kept = chains.size();
  for (std::size_t i = starts.size(); i-- > 0 && kept < kMaxRecordedStarts - 1;) {
    if (!keep[i]) {
      keep[i] = true;
      ++kept;
    }
  }
  std::vector<RecordedStart> result;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    if (keep[i]) result.push_back(starts[i]);
  }
  return result;
}

std::string RecordLine(const RecordedStart& start) {
  std::string line = std::to_string(start.time_ms) + ' ' + std::string(start.location) + ' ' +
                     static_cast<char>(start.kind);
  if (start.kind != StartKind::kWebAddress) line += ' ' + std::to_string(start.chain);
  return line + '\n';
}

}  // namespace

ChainVerdict JudgeStart(std::string_view location, bool may_come_back, std::int64_t now_ms,
                        std::optional<std::string_view> mark,
                        std::optional<std::string_view> record) {
  int inherited = 0;
  std::int64_t chain = now_ms;  // a start that inherits no mark begins a chain
  if (const auto parsed = ChainingMark(mark, location, now_ms)) {
    inherited = parsed->count;
    chain = parsed->chain;
  }
  const std::vector<RecordedStart> starts =
      record ? ParseRecord(*record, now_ms) : std::vector<RecordedStart>();
  const int recorded = may_come_back ? RecordedChain(starts, location, now_ms) : 0;
  // A chain that forks goes on in its other branches after one of its starts was refused:
  // those are refused too, and the user, told once, is not told again.
  const bool refused_before = inherited > 0 && ChainWasRefused(starts, location, chain);
  const int branched = inherited > 0 ? ChainStarts(starts, location, chain, now_ms) : 0;

  ChainVerdict verdict;
  verdict.refuse = std::max({inherited, recorded, branched}) >= kMaxChainedStarts || refused_before;
  verdict.say_so =
      verdict.refuse && !refused_before && !RefusedMomentsAgo(starts, location, now_ms);
  if (!verdict.refuse) {
    verdict.mark = std::to_string(inherited + 1) + ' ' + std::to_string(now_ms) + ' ' +
                   std::string(location) + ' ' + std::to_string(chain);
  }
  // The newest starts and the chains refused of late, this one last.
  for (const RecordedStart& start : KeptStarts(starts, now_ms)) verdict.record += RecordLine(start);
  const StartKind kind = verdict.refuse  ? StartKind::kRefused
                         : may_come_back ? StartKind::kMayComeBack
                                         : StartKind::kWebAddress;
  verdict.record += RecordLine({now_ms, location, kind, chain});
  return verdict;
}

ChainVerdict CheckStartChain(platform::StartChain& chain, std::string_view location,
                             bool may_come_back) {
  const std::optional<std::string> mark = chain.InheritedMark();
  const std::int64_t now_ms = chain.NowMs();
  ChainVerdict verdict;
  bool recorded = false;
  const auto judge = [&](std::optional<std::string_view> record) {
    verdict = JudgeStart(location, may_come_back, now_ms, mark, record);
    recorded = record.has_value();
    return verdict.record;
  };
  // A start that a start launched waits longer for the record: a chain that forks starts many
  // at once, and they queue for it; one left out of the record would not be counted. A refusal
  // waits as long, as the record alone tells whether the chain was told already.
  const bool chained = ChainingMark(mark, location, now_ms).has_value();
  chain.UpdateRecord(judge, chained ? kChainRecordWaitMs : kRecordWaitMs);
  if (verdict.refuse && !recorded) chain.UpdateRecord(judge, kChainRecordWaitMs);
  if (!verdict.refuse) chain.PassOnMark(verdict.mark);
  return verdict;
}

}  // namespace tolvex
