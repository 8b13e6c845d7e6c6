#include "gateway/start_chain.h"

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

// "COUNT TIME LOCATION": the chained starts before the one that wrote it counted in.
struct Mark {
  int count = 0;
  std::int64_t time_ms = 0;
  std::string_view location;
};

std::optional<Mark> ParseMark(std::string_view text) {
  const auto count = ParseNumber<int>(NextWord(text));
  const auto time = ParseNumber<std::int64_t>(NextWord(text));
  if (!count || !time || !IsLocationWord(text)) return std::nullopt;
  return Mark{*count, *time, text};
}

// One start a line, oldest first: "TIME LOCATION KIND". Lines that do not parse, and starts
// after `now_ms` (a clock set back), are left out.
std::vector<RecordedStart> ParseRecord(std::string_view text, std::int64_t now_ms) {
  std::vector<RecordedStart> starts;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto time = ParseNumber<std::int64_t>(NextWord(line));
    const std::string_view location = NextWord(line);
    if (!time || *time > now_ms || !IsLocationWord(location) || line.size() != 1) continue;
    const char kind = line.front();
    if (kind != 'o' && kind != 'w' && kind != 'r') continue;
    starts.push_back({*time, location, static_cast<StartKind>(kind)});
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

bool RefusedMomentsAgo(const std::vector<RecordedStart>& starts, std::string_view location,
                       std::int64_t now_ms) {
  return std::any_of(starts.begin(), starts.end(), [&](const RecordedStart& start) {
    return start.kind == StartKind::kRefused && start.location == location &&
           now_ms - start.time_ms < kRecordGapMs;
  });
}

}  // namespace

ChainVerdict JudgeStart(std::string_view location, bool may_come_back, std::int64_t now_ms,
                        std::optional<std::string_view> mark,
                        std::optional<std::string_view> record) {
  int inherited = 0;
  if (const auto parsed = mark ? ParseMark(*mark) : std::nullopt;
      parsed && parsed->location == location && now_ms >= parsed->time_ms &&
      now_ms - parsed->time_ms < kChainGapMs) {
    inherited = parsed->count;
  }
  const std::vector<RecordedStart> starts =
      record ? ParseRecord(*record, now_ms) : std::vector<RecordedStart>();
  const int recorded = may_come_back ? RecordedChain(starts, location, now_ms) : 0;

  ChainVerdict verdict;
  verdict.refuse = std::max(inherited, recorded) >= kMaxChainedStarts;
  verdict.say_so = verdict.refuse && !RefusedMomentsAgo(starts, location, now_ms);
  if (!verdict.refuse) {
    verdict.mark =
        std::to_string(inherited + 1) + ' ' + std::to_string(now_ms) + ' ' + std::string(location);
  }
  // The newest starts, this one last.
  const std::size_t kept = std::min(starts.size(), kMaxRecordedStarts - 1);
  for (auto start = starts.end() - static_cast<std::ptrdiff_t>(kept); start != starts.end();
       ++start) {
    verdict.record += std::to_string(start->time_ms) + ' ' + std::string(start->location) + ' ' +
                      static_cast<char>(start->kind) + '\n';
  }
  const StartKind kind = verdict.refuse  ? StartKind::kRefused
                         : may_come_back ? StartKind::kMayComeBack
                                         : StartKind::kWebAddress;
  verdict.record +=
      std::to_string(now_ms) + ' ' + std::string(location) + ' ' + static_cast<char>(kind) + '\n';
  return verdict;
}

ChainVerdict CheckStartChain(platform::StartChain& chain, std::string_view location,
                             bool may_come_back) {
  const std::optional<std::string> mark = chain.InheritedMark();
  const std::int64_t now_ms = chain.NowMs();
  ChainVerdict verdict;
  chain.UpdateRecord([&](std::optional<std::string_view> record) {
    verdict = JudgeStart(location, may_come_back, now_ms, mark, record);
    return verdict.record;
  });
  if (!verdict.refuse) chain.PassOnMark(verdict.mark);
  return verdict;
}

}  // namespace tolvex
