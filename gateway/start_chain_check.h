// Whether a start takes part in an endless chain. An option whose command hands the link back
// to the desktop (xdg-open, gio, a shell, a batch file's start, a browser) starts the gateway
// again, which launches the same command again, without end. Two traces of earlier starts tell:
//
// - a mark in the environment, which every program the gateway launches inherits, and so every
//   gateway that those programs start: how many starts of this location came one from another,
//   and when the latest was. It is exact as far as the environment travels;
// - a small per-user record of the latest starts, for a chain that passes through a program
//   that was already running (a browser, a desktop's launcher), where the environment does not
//   travel: there, starts of one location less than kRecordGapMs apart, each launching a
//   command that could come back, count as one chain. The record also names the chain of each
//   start that launched, so that a chain which forks is counted in all its branches together:
//   the mark counts one branch only, and a machine too busy to start the next one within
//   kRecordGapMs would otherwise let a command that starts two run to a thousand starts.
//
// After kMaxChainedStarts such starts the next one launches nothing. What a user does on purpose
// stays far below that: a few clicks on one link, links opened later by a program the gateway
// started, different links at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gateway/product_folders.h"
#include "platform/start_traces.h"

namespace tolvex {

// The product's names for its traces: the variable that every program a start launches
// inherits, and the record's folder and file in the user's runtime folder.
inline platform::StartTraceNames ProductStartTraceNames() {
  return {"TOLVEXGATEWAY_CHAIN", std::string(kProductFolderName), "starts"};
}

inline constexpr int kMaxChainedStarts = 10;
// A start more than this long after the start that led to it begins a new chain.
inline constexpr std::int64_t kChainGapMs = 30000;
// In the record, where ancestry is not known: starts of one location closer than this.
inline constexpr std::int64_t kRecordGapMs = 1000;
// The record keeps the latest starts only, so that it stays a few kilobytes at most.
inline constexpr std::size_t kMaxRecordedStarts = 32;
// How long a start waits for the record another start holds: a link that opens hardly waits;
// a start that a start launched, and a refusal, wait longer, so that every start of a chain is
// counted and its starts agree which of them tells the user.
inline constexpr std::int64_t kRecordWaitMs = 20;
inline constexpr std::int64_t kChainRecordWaitMs = 1000;

struct ChainVerdict {
  bool refuse = false;
  // Set with refuse, unless the record shows this chain refused already (a chain that forks
  // goes on in its other branches, which are refused in turn) or a refusal of this location a
  // moment ago: the user is told once.
  bool say_so = false;
  std::string mark;    // what the programs this start launches inherit; empty when refused
  std::string record;  // the record as it is after this start
};

// Judges the start of `location` (the geocode) at `now_ms` (milliseconds since 1970) whose
// command `may_come_back` (anything but a web address), given the inherited mark and the
// record's bytes (nullopt when there is none or it cannot be read). Text that does not parse
// counts as no trace at all: a damaged trace never stops a link.
ChainVerdict JudgeStart(std::string_view location, bool may_come_back, std::int64_t now_ms,
                        std::optional<std::string_view> mark,
                        std::optional<std::string_view> record);

// JudgeStart with this system's traces: reads the mark, updates the record, and hands the new
// mark on to what is launched next, unless the start is refused.
ChainVerdict CheckStartChain(platform::StartChain& chain, std::string_view location,
                             bool may_come_back);

}  // namespace tolvex
