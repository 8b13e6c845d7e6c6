// Taking turns at changing a file: every writer of the option file holds an exclusive lock on
// a lock file beside it from reading the file to replacing it, so that two writers never work
// from the same old copy. Readers take no lock. One backend per OS.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace tolvex::platform {

// Held while it lives; the lock file itself stays (deleting it could let a third writer lock
// a new file while the second still holds the old one).
class FileLock {
 public:
  virtual ~FileLock() = default;
};

enum class LockResult { kLocked, kBusy, kFailed };

struct HeldLock {
  LockResult result = LockResult::kFailed;
  std::unique_ptr<FileLock> lock;  // set when locked
};

// Locks the lock file of `path` (".NAME.lock" in its folder, created when missing, with the
// folder the file goes in). Waits up to `wait` for another writer to let go: kBusy then;
// kFailed when the lock file cannot be made (a folder this user may not write).
HeldLock LockForChange(const std::string& path, std::chrono::milliseconds wait);

// True when `path` names something (a writer's question: has another writer made the file?).
bool FileExists(const std::string& path);

// True when the file's own permissions forbid this user to write it (its mode bits on POSIX,
// even for root; the read-only attribute on Windows). False for a file that does not exist.
bool IsReadOnlyFile(const std::string& path);

}  // namespace tolvex::platform
