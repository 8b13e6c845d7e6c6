// The traces of earlier starts on POSIX: the mark in the environment (setenv, so that
// posix_spawn hands it on with `environ`), and the record in its folder in $XDG_RUNTIME_DIR,
// or in a folder of the user's own in the temporary folder (the folder's name, a hyphen and
// the user's id) where the session names none.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "platform/process.h"
#include "platform/start_traces.h"

namespace tolvex::platform {
namespace {

// True for a folder or file that is this user's alone: owned by the user, no rights for anyone
// else, and (for a file) no second name that another folder could hold.
bool IsPrivate(int fd, bool folder) {
  struct stat info;
  if (fstat(fd, &info) != 0 || info.st_uid != geteuid() || (info.st_mode & 077) != 0) return false;
  return folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode) && info.st_nlink == 1;
}

// The record's folder, opened; -1 when there is none that is private to the user. Neither the
// folder nor the file is ever reached through a symbolic link (O_NOFOLLOW), so nobody can
// point the record at a file of theirs or of the user's.
int OpenRecordFolder(const std::string& name) {
  std::string folder;
  if (const auto runtime = EnvironmentVariable("XDG_RUNTIME_DIR");
      runtime && runtime->starts_with('/')) {
    folder = *runtime + "/" + name;
  } else {
    const auto temporary = EnvironmentVariable("TMPDIR");
    folder = (temporary && temporary->starts_with('/') ? *temporary : std::string("/tmp")) + "/" +
             name + "-" + std::to_string(geteuid());
  }
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0 && !IsPrivate(fd, true)) {
    close(fd);
    return -1;
  }
  return fd;
}

std::int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Waits at most about `wait_ms` for the lock, by the clock rather than by counting tries (on a
// loaded machine each pause lasts longer than asked): a start never hangs on a record held
// elsewhere.
bool Lock(int fd, std::int64_t wait_ms) {
  const std::int64_t deadline = MonotonicMs() + wait_ms;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (MonotonicMs() >= deadline) return false;
    const timespec pause{0, 1000000};
    nanosleep(&pause, nullptr);
  }
}

std::optional<std::string> ReadAll(int fd) {
  std::string bytes(kMaxStartRecordBytes + 1, '\0');
  std::size_t size = 0;
  while (size < bytes.size()) {
    const ssize_t n = pread(fd, bytes.data() + size, bytes.size() - size, static_cast<off_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  // Larger than any record this program writes: begun afresh.
  bytes.resize(size > kMaxStartRecordBytes ? 0 : size);
  return bytes;
}

void WriteAll(int fd, const std::string& bytes) {
  if (bytes.size() > kMaxStartRecordBytes) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
  // Error ignored: a record that cannot be written is only a lost trace.
  (void)ftruncate(fd, static_cast<off_t>(bytes.size()));
}

class PosixStartChain final : public StartChain {
 public:
  explicit PosixStartChain(StartTraceNames names) : names_(std::move(names)) {}

  std::optional<std::string> InheritedMark() override {
    return EnvironmentVariable(names_.mark_variable.c_str());
  }

  void PassOnMark(std::string_view mark) override {
    setenv(names_.mark_variable.c_str(), std::string(mark).c_str(), 1);
  }

  void UpdateRecord(const std::function<std::string(std::optional<std::string_view>)>& update,
                    std::int64_t wait_ms) override {
    int fd = -1;
    if (const int folder = OpenRecordFolder(names_.folder); folder >= 0) {
      fd = openat(folder, names_.record.c_str(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
      close(folder);
    }
    std::optional<std::string> bytes;
    if (fd >= 0 && IsPrivate(fd, false) && Lock(fd, wait_ms)) bytes = ReadAll(fd);
    const std::string next = update(bytes);
    if (bytes) WriteAll(fd, next);
    if (fd >= 0) close(fd);  // the lock goes with it
  }

  std::int64_t NowMs() override {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  }

 private:
  StartTraceNames names_;
};

}  // namespace

std::unique_ptr<StartChain> CreateSystemStartChain(StartTraceNames names) {
  return std::make_unique<PosixStartChain>(std::move(names));
}

}  // namespace tolvex::platform
