// scripts/desktop-install into a scratch home: the program folder, desktop entries whose Exec=
// survives any path, the TolVex: handler registered with xdg-mime, and an uninstall that
// keeps an option file holding the user's choice.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace tolvex {
namespace {

namespace fs = std::filesystem;
using testing::ProcessOptions;
using testing::ProcessResult;
using testing::ReadFile;
using testing::RunProcess;
using testing::TempDir;

class DesktopInstallTest : public ::testing::Test {
 protected:
  ProcessResult Script(const std::vector<std::string>& args) {
    ProcessOptions options;
    options.env_set = {"HOME=" + home_.path().string(),
                       "XDG_CONFIG_HOME=" + (home_.path() / ".config").string(),
                       "XDG_DATA_HOME=" + (home_.path() / ".local/share").string()};
    return RunProcess("/bin/bash", args, options);
  }
  ProcessResult Install(const fs::path& prefix) {
    return Script({kScript, "install", TOLVEX_BIN_DIR, prefix.string()});
  }
  ProcessResult Uninstall(const fs::path& prefix) {
    return Script({kScript, "uninstall", prefix.string()});
  }
  std::string DefaultHandler(const std::string& scheme) {
    ProcessResult r = Script({"-c", "xdg-mime query default x-scheme-handler/" + scheme});
    return r.out;
  }

  const std::string kScript = std::string(TOLVEX_SOURCE_DIR) + "/scripts/desktop-install";
  TempDir home_;
};

// The Exec= line for a program folder under each prefix, as the desktop entry format wants it.
TEST_F(DesktopInstallTest, ExecLineQuotesWhatThePathNeeds) {
  struct Case {
    std::string prefix_name;
    std::string exec_prefix;  // how the prefix reads in Exec=
  };
  const std::string root = home_.path().string();
  const Case cases[] = {
      {"plain", root + "/plain"},
      {"with space", "\"" + root + "/with space"},
      {"q\"b`c$d\\e", "\"" + root + "/q\\\\\"b\\\\`c\\\\$d\\\\\\\\e"},
      {"50%", root + "/50%%"},
      {"a&b", "\"" + root + "/a&b"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.prefix_name);
    const fs::path prefix = home_.path() / c.prefix_name;
    const ProcessResult result = Install(prefix);
    ASSERT_EQ(result.exit_status, 0) << result.out << result.err;
    const bool quoted = c.exec_prefix.front() == '"';
    const std::string exec = "Exec=" + c.exec_prefix + "/lib/tolvexgateway/tolvexgateway" +
                             (quoted ? "\"" : "") + " %u\n";
    const std::string entry = ReadFile(prefix / "share/applications/tolvexgateway.desktop");
    EXPECT_NE(entry.find(exec), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=x-scheme-handler/tolvex;"), std::string::npos);
    ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  }
}

TEST_F(DesktopInstallTest, InstallsTheProgramFolderAndRegistersTheHandler) {
  const fs::path prefix = home_.path() / ".local";
  const ProcessResult result = Install(prefix);
  ASSERT_EQ(result.exit_status, 0) << result.out << result.err;
  const fs::path dir = prefix / "lib/tolvexgateway";
  for (const char* file : {"tolvexgateway", "tolvex_ui.so", "tolvexgwoption.xml", "manual.htm"}) {
    EXPECT_EQ(ReadFile(dir / file), ReadFile(fs::path(TOLVEX_BIN_DIR) / file)) << file;
  }
  EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/32x32/apps/tolvexgateway.png"));
  EXPECT_TRUE(fs::exists(prefix / "share/applications/tolvexgateway-option.desktop"));
  EXPECT_EQ(fs::read_symlink(prefix / "bin/tolvexgateway"), dir / "tolvexgateway");
  EXPECT_EQ(DefaultHandler("tolvex"), "tolvexgateway.desktop\n");
  EXPECT_EQ(DefaultHandler("TolVex"), "tolvexgateway.desktop\n");

  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_FALSE(fs::exists(prefix / "bin/tolvexgateway"));
  EXPECT_FALSE(fs::exists(prefix / "share/applications/tolvexgateway.desktop"));
  EXPECT_EQ(DefaultHandler("tolvex"), "");
}

TEST_F(DesktopInstallTest, TheUsersOptionFileSurvivesReinstallAndUninstall) {
  const fs::path prefix = home_.path() / ".local";
  ASSERT_EQ(Install(prefix).exit_status, 0);
  const fs::path options = prefix / "lib/tolvexgateway/tolvexgwoption.xml";
  const std::string chosen = "<tolvexgateway_optionlist currentsetting=\"Mine\"/>\n";
  home_.Write(".local/lib/tolvexgateway/tolvexgwoption.xml", chosen);
  ASSERT_EQ(Install(prefix).exit_status, 0);
  EXPECT_EQ(ReadFile(options), chosen);
  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_EQ(ReadFile(options), chosen);
  EXPECT_FALSE(fs::exists(prefix / "lib/tolvexgateway/tolvexgateway"));
}

}  // namespace
}  // namespace tolvex
