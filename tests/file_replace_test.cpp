// Replacing the option file: the new contents arrive whole, permissions and links are kept,
// and when anything fails (a full disk half way through, an I/O error, a read-only folder)
// the original stays byte for byte and no temporary file is left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_replace.h"
#include "platform/posix/file_calls_posix.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace tolvex {
namespace {

using platform::posix::FileCalls;
using test::ReadFile;
using test::TempDir;

const std::string kOld = "<tolvexgateway_optionlist currentsetting=\"Viewer\"/>\n";
const std::string kNew = "<!-- kept -->\n<tolvexgateway_optionlist currentsetting=\"Atlas\"/>\n";

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

// Records every call by name and fails the one numbered `fail_at` (1-based) with `error`.
// Writes take at most `write_chunk` bytes at a time, so a failing write can land half way.
class FaultyCalls : public FileCalls {
 public:
  int fail_at = 0;
  int error = 0;
  std::size_t write_chunk = 0;  // 0: no limit
  std::vector<std::string> calls;

  int Stat(const char* p, struct stat* s) override {
    return Fails("stat") ? -1 : FileCalls::Stat(p, s);
  }
  int Open(const char* p, int f, mode_t m) override {
    return Fails("open") ? -1 : FileCalls::Open(p, f, m);
  }
  ssize_t Write(int fd, const void* d, std::size_t n) override {
    if (Fails("write")) return -1;
    return FileCalls::Write(fd, d, write_chunk == 0 ? n : std::min(n, write_chunk));
  }
  int Fchmod(int fd, mode_t m) override { return Fails("fchmod") ? -1 : FileCalls::Fchmod(fd, m); }
  int Fchown(int fd, uid_t u, gid_t g) override {
    return Fails("fchown") ? -1 : FileCalls::Fchown(fd, u, g);
  }
  int Fstat(int fd, struct stat* s) override {
    return Fails("fstat") ? -1 : FileCalls::Fstat(fd, s);
  }
  int Fsync(int fd) override { return Fails("fsync") ? -1 : FileCalls::Fsync(fd); }
  int Close(int fd) override {
    // A failing close still releases the descriptor, as on Linux.
    const bool failed = Fails("close");
    const int rc = FileCalls::Close(fd);
    return failed ? -1 : rc;
  }
  int Rename(const char* a, const char* b) override {
    return Fails("rename") ? -1 : FileCalls::Rename(a, b);
  }
  int Unlink(const char* p) override { return Fails("unlink") ? -1 : FileCalls::Unlink(p); }

 private:
  // Records the call; true, with errno set, when it is the one to fail.
  bool Fails(const char* name) {
    calls.push_back(name);
    if (static_cast<int>(calls.size()) != fail_at) return false;
    errno = error;
    return true;
  }
};

TEST(ReplaceFileContents, ReplacesTheWholeFileAndKeepsItsMode) {
  for (const mode_t mode : {0600u, 0640u, 0664u, 0444u}) {
    SCOPED_TRACE(mode);
    TempDir dir;
    const std::string file = dir.File("tolvexgwoption.xml");
    WriteFile(file, std::string(100000, 'x'));  // longer than the new contents
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    EXPECT_TRUE(platform::ReplaceFileContents(file, kNew));
    EXPECT_EQ(ReadFile(file), kNew);
    EXPECT_EQ(ModeOf(file), mode);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"tolvexgwoption.xml"});
  }
}

// Temporary files that killed saves left are removed by the next save; one that a save in
// progress holds locked, and files of other names, stay.
TEST(ReplaceFileContents, RemovesTheTemporaryFilesOfKilledSaves) {
  TempDir dir;
  WriteFile(dir.File("o.xml"), kOld);
  for (const char* name : {".o.xml.tmp-1", ".o.xml.tmp-22", ".o.xml.tmp-3", ".o.xml.tmp-x",
                           ".p.xml.tmp-4", "o.xml.tmp-5"})
    WriteFile(dir.File(name), "left");
  const int held = ::open(dir.File(".o.xml.tmp-3").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  EXPECT_TRUE(platform::ReplaceFileContents(dir.File("o.xml"), kNew));
  ::close(held);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".o.xml.tmp-3", ".o.xml.tmp-x", ".p.xml.tmp-4",
                                                     "o.xml", "o.xml.tmp-5"}));
}

TEST(ReplaceFileContents, FollowsASymbolicLinkAndKeepsTheLink) {
  TempDir dir;
  WriteFile(dir.File("real.xml"), kOld);
  std::filesystem::create_symlink("real.xml", dir.path() / "tolvexgwoption.xml");
  EXPECT_TRUE(platform::ReplaceFileContents(dir.File("tolvexgwoption.xml"), kNew));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "tolvexgwoption.xml"));
  EXPECT_EQ(ReadFile(dir.File("real.xml")), kNew);
}

TEST(ReplaceFileContents, NeverCreatesAFileAndRefusesWhatIsNoRegularFile) {
  TempDir dir;
  EXPECT_FALSE(platform::ReplaceFileContents(dir.File("missing.xml"), kNew));
  std::filesystem::create_symlink("nowhere.xml", dir.path() / "dangling.xml");
  EXPECT_FALSE(platform::ReplaceFileContents(dir.File("dangling.xml"), kNew));
  std::filesystem::create_directory(dir.path() / "folder.xml");
  EXPECT_FALSE(platform::ReplaceFileContents(dir.File("folder.xml"), kNew));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"dangling.xml", "folder.xml"}));
}

// Every call of a successful save, failed in turn with each error a save can meet. Up to the
// rename the original must survive untouched; after it the new contents are in place and
// the save counts as done (only the folder's fsync is left, which some file systems refuse).
TEST(ReplaceFileContents, EveryFailingCallLeavesTheOriginalOrTheWholeNewFile) {
  std::vector<std::string> successful_run;
  {
    TempDir dir;
    WriteFile(dir.File("o.xml"), kOld);
    FaultyCalls recorder;
    recorder.write_chunk = 16;
    ASSERT_TRUE(platform::posix::ReplaceFileContents(recorder, dir.File("o.xml"), kNew));
    successful_run = recorder.calls;
  }
  const auto rename_at = std::find(successful_run.begin(), successful_run.end(), "rename");
  ASSERT_NE(rename_at, successful_run.end());
  const int last_undoable = static_cast<int>(rename_at - successful_run.begin()) + 1;
  ASSERT_GT(std::count(successful_run.begin(), successful_run.end(), "write"), 2);

  for (const int error : {ENOSPC, EIO, EACCES, EDQUOT}) {
    for (int n = 1; n <= static_cast<int>(successful_run.size()); ++n) {
      SCOPED_TRACE(std::string(std::strerror(error)) + " at call " + std::to_string(n) + " (" +
                   successful_run[static_cast<std::size_t>(n - 1)] + ")");
      TempDir dir;
      const std::string file = dir.File("o.xml");
      WriteFile(file, kOld);
      ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
      FaultyCalls calls;
      calls.write_chunk = 16;
      calls.fail_at = n;
      calls.error = error;
      const bool saved = platform::posix::ReplaceFileContents(calls, file, kNew);
      if (n <= last_undoable) {
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadFile(file), kOld);
      } else {
        EXPECT_TRUE(saved);
        EXPECT_EQ(ReadFile(file), kNew);
      }
      EXPECT_EQ(ModeOf(file), 0640u);
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.xml"});
    }
  }
}

// A write that keeps returning 0 makes no progress; it must end as a failure, not a hang.
TEST(ReplaceFileContents, AWriteThatMakesNoProgressFails) {
  struct StuckWrites : FileCalls {
    ssize_t Write(int, const void*, std::size_t) override { return 0; }
  } calls;
  TempDir dir;
  WriteFile(dir.File("o.xml"), kOld);
  EXPECT_FALSE(platform::posix::ReplaceFileContents(calls, dir.File("o.xml"), kNew));
  EXPECT_EQ(ReadFile(dir.File("o.xml")), kOld);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.xml"});
}

TEST(ReplaceFileContents, AnInterruptedWriteIsRetried) {
  TempDir dir;
  WriteFile(dir.File("o.xml"), kOld);
  FaultyCalls calls;
  calls.fail_at = 5;  // stat, open, fchmod, fstat, then the first write
  calls.error = EINTR;
  ASSERT_TRUE(platform::posix::ReplaceFileContents(calls, dir.File("o.xml"), kNew));
  ASSERT_EQ(calls.calls[4], "write");
  EXPECT_EQ(ReadFile(dir.File("o.xml")), kNew);
}

// In a folder the user may not write to no temporary file can be made, even though the file
// itself is writable.
TEST(ReplaceFileContents, AReadOnlyFolderLeavesTheOriginal) {
  TempDir dir;
  const std::string file = dir.File("o.xml");
  WriteFile(file, kOld);
  ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  const int status =
      test::RunUnprivileged([&] { return platform::ReplaceFileContents(file, kNew) ? 1 : 0; });
  EXPECT_EQ(status, 0) << "1: the save claimed success";
  EXPECT_EQ(ReadFile(file), kOld);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.xml"});
}

}  // namespace
}  // namespace tolvex
