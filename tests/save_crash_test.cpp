// Saving under a crash and under concurrent readers: a save killed at any moment leaves the
// old or the new file, never a mix, and the gateway's loader never sees a broken file while
// saves go on.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "gateway/option_store.h"
#include "platform/file_replace.h"
#include "platform/xml_document.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace tolvex {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;

// Two option files of a few hundred kilobytes, so that writing one takes a while.
std::string OptionFile(const std::string& current) {
  std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- ";
  file.append(300'000, current[0]);
  file += " -->\n<tolvexgateway_optionlist currentsetting=\"" + current +
          "\">\n  <option id=\"A\" area=\"a\">open-a $ost</option>\n"
          "  <option id=\"B\" area=\"b\">open-b $ost</option>\n</tolvexgateway_optionlist>\n";
  return file;
}

class SaveLoop {
 public:
  SaveLoop(const std::string& target, const std::string& first, const std::string& second) {
    const std::string program = std::string(TOLVEX_BIN_DIR) + "/save_loop";
    std::string args[] = {program, target, first, second};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), nullptr};
    EXPECT_EQ(posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ), 0);
  }
  ~SaveLoop() { Kill(); }
  SaveLoop(const SaveLoop&) = delete;
  SaveLoop& operator=(const SaveLoop&) = delete;

  // kill -9, and true when the loop was still running (it never stops by itself).
  bool Kill() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = 0;
};

class SaveCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first_ = OptionFile("A");
    second_ = OptionFile("B");
    first_path_ = dir_.Write("first.xml", first_);
    second_path_ = dir_.Write("second.xml", second_);
    target_ = dir_.Write("tolvexgwoption.xml", first_);
  }

  TempDir dir_;
  std::string first_, second_, first_path_, second_path_, target_;
};

TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewFile) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> delay_us(0, 30'000);
  for (int round = 0; round < 200; ++round) {
    SaveLoop loop(target_, first_path_, second_path_);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ASSERT_TRUE(loop.Kill()) << "the save loop stopped by itself";
    const std::string now = ReadFile(target_);
    ASSERT_TRUE(now == first_ || now == second_)
        << "round " << round << ": " << now.size() << " bytes of neither version";
    const auto document = platform::CreateXmlDocument();
    ASSERT_EQ(LoadActiveOption(*document, target_).error, OptionLoadError::kNone);
    // The next save takes away what the killed one left.
    ASSERT_TRUE(platform::ReplaceFileContents(target_, now));
    ASSERT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 3);
  }
}

TEST_F(SaveCrashTest, ReadersNeverSeeABrokenFileWhileSavesGoOn) {
  SaveLoop loop(target_, first_path_, second_path_);
  // The reads begin once the loop saves: when the second version has landed.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ReadFile(target_) != second_) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the save loop saved nothing";
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  int seen_first = 0;
  int seen_second = 0;
  int changes = 0;  // reads that saw another version than the read before
  std::string previous;
  for (int i = 0; i < 300; ++i) {
    auto document = platform::CreateXmlDocument();
    const ActiveOption active = LoadActiveOption(*document, target_);
    ASSERT_EQ(active.error, OptionLoadError::kNone) << "read " << i;
    if (active.option.command_template == "open-a $ost") ++seen_first;
    if (active.option.command_template == "open-b $ost") ++seen_second;
    if (!previous.empty() && active.option.command_template != previous) ++changes;
    previous = active.option.command_template;
  }
  EXPECT_TRUE(loop.Kill()) << "the save loop stopped by itself";
  EXPECT_EQ(seen_first + seen_second, 300);
  EXPECT_GT(changes, 0) << "no save landed while the reads ran";
}

}  // namespace
}  // namespace tolvex
