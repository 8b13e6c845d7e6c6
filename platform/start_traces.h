// The traces that starts of the gateway leave for one another, so that a command which hands
// the link back to the desktop cannot start it without end (gateway/start_chain_check.h decides
// and names them). One backend per OS.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tolvex::platform {

// What the traces are called: the backends place them, the product names them.
struct StartTraceNames {
  std::string mark_variable;  // carries the mark from a start to the programs it launches
  std::string folder;         // the record's folder, in the user's runtime folder
  std::string record;         // the record's file in that folder
};

// The record is read up to this size; a larger file is read as an empty record and rewritten.
inline constexpr std::size_t kMaxStartRecordBytes = 4096;

class StartChain {
 public:
  virtual ~StartChain() = default;

  // The mark this process inherited, or nullopt.
  virtual std::optional<std::string> InheritedMark() = 0;

  // Sets the mark that every program started from now on inherits.
  virtual void PassOnMark(std::string_view mark) = 0;

  // Calls `update` once with the record's bytes and stores what it returns, the record locked
  // meanwhile so that starts at the same moment see one another. The record is private to the
  // user (POSIX: 0600 in a 0700 folder of $XDG_RUNTIME_DIR, else a folder of the user's own in
  // the temporary folder, never through a symbolic link; Windows: the user's temporary folder).
  // When it cannot be opened, locked within about `wait_ms` milliseconds, or read, `update` gets
  // nullopt and its answer is dropped: a link never waits longer for the record or fails because of
  // it.
  virtual void UpdateRecord(
      const std::function<std::string(std::optional<std::string_view>)>& update,
      std::int64_t wait_ms) = 0;

  // The time now, in milliseconds since 1970 (the same clock in every process).
  virtual std::int64_t NowMs() = 0;
};

std::unique_ptr<StartChain> CreateSystemStartChain(StartTraceNames names);

}  // namespace tolvex::platform
