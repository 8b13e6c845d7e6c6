// The built tolvexgateway with its UI module beside it: the module is loaded only for a window
// or a message box, a missing or dead display falls back to standard error without a crash,
// and under an X server of the test's own (Xvfb) the option window, its Maps tab, the place
// card and the message box show, answer the keyboard and end the run, and the server ending
// under them ends the run cleanly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <future>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/row_name.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace tolvex {
namespace {

namespace fs = std::filesystem;
using test::ProcessOptions;
using test::ProcessResult;
using test::ReadFile;
using test::RunProcess;
using test::TempDir;

constexpr const char* kOptions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
    "  <option id=\"Map\" area=\"World\">true $ost</option>\n"
    "</tolvexgateway_optionlist>\n";
constexpr const char* kNoDisplay = "TolvexGateway: no display is available for the option dialog\n";
const std::string kCannotShow = "TolvexGateway: the option window cannot be shown: ";
constexpr const char* kModuleLoaded = "tolvex_ui.so";  // as LD_DEBUG=files names what it maps

bool IsExecutable(const char* path) { return ::access(path, X_OK) == 0; }

// An X server of the test's own on a free display number, ended with the test.
class Xvfb {
 public:
  Xvfb() {
    if (!IsExecutable("/usr/bin/Xvfb")) return;
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 2);
      // A key that xdotool holds down on a busy machine must not repeat: the autorepeat delay
      // is a minute.
      ::execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
              "1024x768x24", "-ardelay", "60000", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~Xvfb() { Stop(); }

  // Ends the server, as a logout or a lost X server would for its clients.
  void Stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // Empty when no server could be started.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

class UiModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"tolvexgateway", "tolvex_ui.so"}) {
      fs::copy_file(fs::path(TOLVEX_BIN_DIR) / file, dir_.path() / file);
    }
    dir_.Write("tolvexgwoption.xml", kOptions);
  }

  // Runs the gateway with `display` as DISPLAY (none when empty); at most `seconds` long.
  ProcessResult Run(const std::string& argument, const std::string& display,
                    std::vector<std::string> env = {}, int seconds = 30) {
    ProcessOptions options;
    options.env_unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LD_DEBUG"};
    // No option file of the user's own: the one beside the program is read and written.
    options.env_set = {"PATH=/usr/bin:/bin", "LC_ALL=C", "XDG_CONFIG_HOME=" + dir_.path().string()};
    if (!display.empty()) options.env_set.push_back("DISPLAY=" + display);
    options.env_set.insert(options.env_set.end(), env.begin(), env.end());
    return RunProcess("/usr/bin/timeout", {std::to_string(seconds), Gateway(), argument}, options);
  }
  std::string Gateway() const { return (program_dir_ / "tolvexgateway").string(); }
  std::string Options() const { return ReadFile(dir_.path() / "tolvexgwoption.xml"); }

  // A display number that no server answers.
  static std::string DeadDisplay() {
    for (int n = 97;; ++n) {
      if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n))) return ":" + std::to_string(n);
    }
  }

  TempDir dir_;
  fs::path program_dir_ = dir_.path();  // where the gateway runs from
};

// Location requests never pay for the toolkit, whatever the display.
TEST_F(UiModuleTest, LocationRequestsNeverLoadTheModule) {
  for (const std::string& display : {std::string(), DeadDisplay()}) {
    SCOPED_TRACE(display);
    const ProcessResult result = Run("TolVex:SD9.XC4.EQ2.CV5", display, {"LD_DEBUG=files"});
    EXPECT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.err.find(kModuleLoaded), std::string::npos) << result.err;
  }
}

TEST_F(UiModuleTest, WithoutADisplayMessagesGoToStandardErrorOnly) {
  const ProcessResult message = Run("TolVex:91,0", "", {"LD_DEBUG=files"});
  EXPECT_EQ(message.exit_status, 1);
  EXPECT_NE(message.err.find("TolvexGateway: Invalid Location: \"91,0\"\n"), std::string::npos);
  EXPECT_EQ(message.err.find(kModuleLoaded), std::string::npos) << message.err;

  const ProcessResult option = Run("option", "");
  EXPECT_EQ(option.exit_status, 1);
  EXPECT_EQ(option.err, kNoDisplay);
  EXPECT_EQ(Options(), kOptions);
}

// A display that does not answer must not let the toolkit end the process.
TEST_F(UiModuleTest, ADeadDisplayFallsBackWithoutACrash) {
  const std::string dead = DeadDisplay();
  const ProcessResult message = Run("TolVex:91,0", dead);
  EXPECT_EQ(message.exit_status, 1);
  EXPECT_EQ(message.err, "TolvexGateway: Invalid Location: \"91,0\"\n");
  const ProcessResult option = Run("option", dead);
  EXPECT_EQ(option.exit_status, 1);
  EXPECT_EQ(option.err, kNoDisplay);
  EXPECT_EQ(Options(), kOptions);
}

// With a display named, a module that cannot be loaded is the reason the option window gives,
// in one line of at most 200 quoted characters; a message for a box still reaches standard
// error, alone.
struct BrokenModuleCase {
  const char* name;
  std::string folder;        // the program's folder under the test's own; "" for that
  const char* built_module;  // a stand-in module put in place of tolvex_ui.so; or nullptr
  const char* module_bytes;  // else written as tolvex_ui.so; nullptr: there is none
  std::string reason_head;   // how the reason starts; "@" stands for the test's folder
  std::string reason_tail;   // and ends
};

class BrokenModuleTest : public UiModuleTest,
                         public ::testing::WithParamInterface<BrokenModuleCase> {};

TEST_P(BrokenModuleTest, TheOptionWindowNamesTheReason) {
  const BrokenModuleCase& c = GetParam();
  program_dir_ = dir_.path() / c.folder;
  fs::create_directories(program_dir_);
  fs::copy_file(fs::path(TOLVEX_BIN_DIR) / "tolvexgateway", program_dir_ / "tolvexgateway",
                fs::copy_options::overwrite_existing);
  fs::remove(program_dir_ / "tolvex_ui.so");
  if (c.built_module != nullptr) {
    fs::copy_file(fs::path(TOLVEX_BIN_DIR) / c.built_module, program_dir_ / "tolvex_ui.so");
  } else if (c.module_bytes != nullptr) {
    dir_.Write((fs::path(c.folder) / "tolvex_ui.so").string(), c.module_bytes);
  }
  dir_.Write((fs::path(c.folder) / "tolvexgwoption.xml").string(), kOptions);
  Xvfb x;
  const std::string display = x.display().empty() ? DeadDisplay() : x.display();

  const ProcessResult option = Run("option", display);
  EXPECT_EQ(option.exit_status, 1);
  std::string head = c.reason_head;
  if (const auto at = head.find('@'); at != std::string::npos) {
    head.replace(at, 1, dir_.path().string());
  }
  EXPECT_TRUE(option.err.starts_with(kCannotShow + head)) << option.err;
  EXPECT_TRUE(option.err.ends_with(c.reason_tail + "\n")) << option.err;
  EXPECT_EQ(option.err.find('\n'), option.err.size() - 1) << option.err;
  // 200 characters, the quotes and the ellipsis at most; all ASCII here.
  EXPECT_LE(option.err.size(), kCannotShow.size() + 200 + 2 + 3 + 1) << option.err;
  EXPECT_EQ(ReadFile(program_dir_ / "tolvexgwoption.xml"), kOptions);

  const ProcessResult message = Run("TolVex:91,0", display);
  EXPECT_EQ(message.exit_status, 1);
  EXPECT_EQ(message.err, "TolvexGateway: Invalid Location: \"91,0\"\n");
}

const std::string kLongFolder(250, 'y');  // the path passes 200 characters within it

INSTANTIATE_TEST_SUITE_P(
    Modules, BrokenModuleTest,
    ::testing::Values(BrokenModuleCase{"Missing", "", nullptr, nullptr,
                                       "\"@/tolvex_ui.so: cannot open shared object file", "\""},
                      BrokenModuleCase{"NotASharedObject", "", nullptr, "not a shared object",
                                       "\"@/tolvex_ui.so: file too short\"", ""},
                      BrokenModuleCase{"AnotherVersion", "", "ui_module_other_version.so", nullptr,
                                       "the module is of another version", "version"},
                      BrokenModuleCase{"WithoutTheEntry", "", "ui_module_without_entry.so", nullptr,
                                       "\"@/tolvex_ui.so: undefined symbol: tolvex_ui_module\"",
                                       ""},
                      BrokenModuleCase{"LineBreakInTheFolder", "line\nbreak", nullptr, nullptr,
                                       "\"@/line%0Abreak/tolvex_ui.so: cannot open", "\""},
                      BrokenModuleCase{"LongFolder", kLongFolder, nullptr, nullptr, "\"@/yyyyyyyy",
                                       "yyyy\u2026\""}),
    [](const auto& row) { return std::string(row.param.name); });

// xdotool with a time limit, against the test's X server.
ProcessResult Xdotool(const std::string& display, std::vector<std::string> args) {
  ProcessOptions options;
  options.env_set = {"DISPLAY=" + display};
  args.insert(args.begin(), {"10", "/usr/bin/xdotool"});
  return RunProcess("/usr/bin/timeout", args, options);
}

// The id of the first shown window whose name is exactly `title`; with `wait`, once one has
// appeared.
std::optional<std::string> FindWindow(const std::string& display, const std::string& title,
                                      bool wait = false) {
  std::vector<std::string> args = {"search", "--onlyvisible", "--limit",
                                   "1",      "--name",        "^" + title + "$"};
  if (wait) args.insert(args.begin() + 1, "--sync");
  const ProcessResult found = Xdotool(display, args);
  if (found.exit_status != 0 || found.out.empty()) return std::nullopt;
  return found.out.substr(0, found.out.find('\n'));
}

class UiUnderXvfbTest : public UiModuleTest {
 protected:
  void SetUp() override {
    // Without its X server the test cannot show what it is for: it fails, as the Wine tests
    // do when their session does not start.
    UiModuleTest::SetUp();
    ASSERT_TRUE(IsExecutable("/usr/bin/xdotool")) << "xdotool is not installed";
    ASSERT_FALSE(x_.display().empty()) << "Xvfb could not start";
  }
  // Presses `key` in the window named `title` until the run ends. The window is looked up
  // afresh each time: Qt may replace a window's X window while it sets it up. Without a window
  // manager nothing gives a new window the keyboard: the test does, as a user's click would.
  ProcessResult PressKeyUntilDone(std::future<ProcessResult>& run, const std::string& title,
                                  const char* key) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      if (const auto window = FindWindow(x_.display(), title)) {
        Xdotool(x_.display(), {"windowfocus", *window});
        Xdotool(x_.display(), {"key", "--window", *window, key});
      }
      if (run.wait_for(std::chrono::milliseconds(200)) == std::future_status::ready) break;
    }
    return run.get();
  }
  // Waits for the window `title`, gives it the keyboard and presses `keys` in it, one after
  // the other; a key "type:TEXT" types TEXT instead, and "close:KEY" presses KEY until the
  // window has gone (xdotool's keys can get lost on a busy machine; a closing key is
  // pressed again, as a user would).
  void PressKeys(const std::string& title, const std::vector<std::string>& keys) {
    ASSERT_TRUE(FindWindow(x_.display(), title, true)) << "no window " << title;
    // What the keys before opened or closed settles first.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const auto window = FindWindow(x_.display(), title);
    ASSERT_TRUE(window) << "no window " << title;
    Xdotool(x_.display(), {"windowfocus", "--sync", *window});
    for (const std::string& key : keys) {
      if (key.starts_with("type:")) {
        Xdotool(x_.display(), {"type", "--delay", "20", "--window", *window, key.substr(5)});
      } else if (key.starts_with("close:")) {
        for (int attempt = 0; attempt < 20 && FindWindow(x_.display(), title); ++attempt) {
          if (const auto shown = FindWindow(x_.display(), title)) {
            Xdotool(x_.display(), {"windowfocus", *shown});
            Xdotool(x_.display(), {"key", "--window", *shown, key.substr(6)});
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
      } else {
        Xdotool(x_.display(), {"key", "--window", *window, key});
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  // Saves the screen as artifacts/NAME.png, to look at.
  void Screenshot(const std::string& name) {
    if (!IsExecutable("/usr/bin/import")) return;
    fs::create_directories(TOLVEX_ARTIFACT_DIR);
    ProcessOptions options;
    options.env_set = {"DISPLAY=" + x_.display()};
    RunProcess("/usr/bin/import",
               {"-window", "root", std::string(TOLVEX_ARTIFACT_DIR) + "/" + name + ".png"},
               options);
  }
  Xvfb x_;
};

// A stand-in map program: writes its arguments, one a line, to RECORD beside it.
constexpr const char* kRecorder =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$(dirname \"$0\")/record\"\n";

class MapsUnderXvfbTest : public UiUnderXvfbTest {
 protected:
  void SetUp() override {
    UiUnderXvfbTest::SetUp();
    if (IsSkipped()) return;
    const std::string recorder = dir_.Write("recorder", kRecorder);
    ::chmod(recorder.c_str(), 0755);
  }
  // The option file, "REC" standing for the recorder's path.
  std::string OptionsWith(std::string text) const {
    for (std::size_t at; (at = text.find("REC")) != std::string::npos;) {
      text.replace(at, 3, (dir_.path() / "recorder").string());
    }
    return text;
  }
  // What the last map opened was started with, one argument a line; "" when none was.
  std::string Launched(int milliseconds = 3000) const {
    const fs::path record = dir_.path() / "record";
    for (int waited = 0; waited < milliseconds && !fs::exists(record); waited += 20) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!fs::exists(record)) return "";
    std::string launched = ReadFile(record);
    fs::remove(record);
    return launched;
  }
  std::string Clipboard() const {
    ProcessOptions options;
    options.env_set = {"DISPLAY=" + x_.display()};
    return RunProcess("/usr/bin/timeout", {"5", "/usr/bin/xclip", "-o", "-selection", "clipboard"},
                      options)
        .out;
  }
  // Whether a process of the test's gateway still runs (the one that serves the clipboard).
  bool GatewayRuns() const {
    for (const auto& entry : fs::directory_iterator("/proc")) {
      std::error_code error;
      if (fs::read_symlink(entry.path() / "exe", error) == fs::path(Gateway())) return true;
    }
    return false;
  }
};

constexpr const char* kAskingOptions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist currentsetting=\"Map\" ask=\"true\">\n"
    "  <option id=\"Map\" area=\"World\">REC Map $ost</option>\n"
    "  <option id=\"Atlas\" area=\"Japan\">REC Atlas $ost</option>\n"
    "</tolvexgateway_optionlist>\n";
constexpr const char* kTokyoTower = "TolVex:35.658581,139.745433";

// The place card, shown for a link when the option file asks at each link, through the keys.
struct CardCase {
  const char* name;
  std::vector<std::string> keys;
  const char* launched;   // what the opened map was started with; "" for nothing
  const char* clipboard;  // what the clipboard holds after the card; nullptr: not looked at
  bool stored;            // the choice is stored: the file no longer asks and the next link
                          // launches the map at once
};

class CardTest : public MapsUnderXvfbTest, public ::testing::WithParamInterface<CardCase> {};

TEST_P(CardTest, TheKeysOpenCopyOrStoreAndTheRunEndsAtOnce) {
  const CardCase& c = GetParam();
  const std::string options = OptionsWith(kAskingOptions);
  dir_.Write("tolvexgwoption.xml", options);
  auto run = std::async(std::launch::async, [&] { return Run(kTokyoTower, x_.display()); });
  PressKeys("TolvexGateway   - Open -", {});
  Screenshot(std::string("card_") + c.name);
  PressKeys("TolvexGateway   - Open -", c.keys);
  const ProcessResult result = run.get();
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(Launched(std::string(c.launched).empty() ? 300 : 3000), c.launched);
  if (c.clipboard != nullptr) {
    EXPECT_EQ(Clipboard(), c.clipboard);
    // The program serves the clipboard until another program takes it, and no longer.
    EXPECT_TRUE(GatewayRuns());
    // xclip stays in the background to serve what it took, its output streams let go.
    ProcessOptions take;
    take.env_set = {"DISPLAY=" + x_.display()};
    RunProcess("/bin/sh", {"-c", "printf taken | xclip -selection clipboard -i >/dev/null 2>&1"},
               take);
    for (int i = 0; i < 100 && GatewayRuns(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_FALSE(GatewayRuns());
  } else {
    EXPECT_FALSE(GatewayRuns());
  }
  if (!c.stored) {
    EXPECT_EQ(Options(), options);
    return;
  }
  std::string stored = options;
  const std::string asking = "\"Map\" ask=\"true\"";
  stored.replace(stored.find(asking), asking.size(), "\"Atlas\"");
  EXPECT_EQ(Options(), stored);
  const ProcessResult next = Run(kTokyoTower, x_.display());
  EXPECT_EQ(next.exit_status, 0) << next.err;
  EXPECT_EQ(Launched(), c.launched);
  EXPECT_FALSE(FindWindow(x_.display(), "TolvexGateway   - Open -"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CardTest,
    ::testing::ValuesIn(std::initializer_list<CardCase>{
        {"DownEnterOpensTheSecondMap",
         {"Down", "Return"},
         "Atlas\nSD9.XC4.EQ2.CV5\n",
         nullptr,
         false},
        {"EscapeOpensNothing", {"Escape"}, "", nullptr, false},
        {"TypingAnIdSelectsIt", {"a", "t", "Return"}, "Atlas\nSD9.XC4.EQ2.CV5\n", nullptr, false},
        {"UpAfterEndOpensTheFirstMap",
         {"End", "Up", "Return"},
         "Map\nSD9.XC4.EQ2.CV5\n",
         nullptr,
         false},
        {"CopiedCoordinatesOutliveTheCard",
         {"ctrl+c", "Escape"},
         "",
         "35.658581, 139.745433",
         false},
        {"AlwaysStoresTheChoice",
         {"End", "alt+a", "Return"},
         "Atlas\nSD9.XC4.EQ2.CV5\n",
         nullptr,
         true},
    }),
    TOLVEX_ROW_NAMES(name));

// "tolvexgateway open" with a map service's link on the clipboard: the card shows its place;
// the Place box typed over names another place, or none, and Enter opens what it names.
struct OpenCase {
  const char* name;
  std::vector<std::string> keys;
  const char* launched;  // "" for nothing
};

class OpenByHandTest : public MapsUnderXvfbTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenByHandTest, EnterOpensThePlaceTheBoxNames) {
  dir_.Write("tolvexgwoption.xml", OptionsWith(kAskingOptions));
  ProcessOptions clipboard;
  clipboard.env_set = {"DISPLAY=" + x_.display()};
  RunProcess("/bin/sh",
             {"-c", "printf %s \"$0\" | xclip -selection clipboard -i >/dev/null 2>&1",
              "https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7428526,17z/"
              "data=!3m1!4b1!8m2!3d35.6585805!4d139.7454329"},
             clipboard);
  auto run = std::async(std::launch::async, [&] { return Run("open", x_.display()); });
  PressKeys("TolvexGateway   - Open -", GetParam().keys);
  const ProcessResult result = run.get();
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(Launched(*GetParam().launched == '\0' ? 300 : 3000), GetParam().launched);
}

INSTANTIATE_TEST_SUITE_P(Keys, OpenByHandTest,
                         ::testing::ValuesIn(std::initializer_list<OpenCase>{
                             {"TheClipboardsLink", {"Return"}, "Map\nSD9.XC4.EQ2.CV5\n"},
                             {"TypedCoordinates",
                              {"alt+p", "ctrl+a", "type:35.6586N 139.7454E", "Return"},
                              "Map\nSD9.XC4.EQ7.CV1\n"},
                             {"NoPlaceOpensNothing",
                              {"alt+p", "ctrl+a", "type:Tokyo Tower", "Return", "close:Escape"},
                              ""},
                         }),
                         TOLVEX_ROW_NAMES(name));

TEST_F(UiUnderXvfbTest, TheOptionWindowShowsAndEscapeEndsTheRunUnsaved) {
  auto run = std::async(std::launch::async, [&] { return Run("option", x_.display()); });
  const std::string title = "TolvexGateway   - Option -";
  ASSERT_TRUE(FindWindow(x_.display(), title, true)) << "no option window appeared";
  const ProcessResult result = PressKeyUntilDone(run, title, "Escape");
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(Options(), kOptions);
}

// The option window's Maps tab through the keyboard: the catalogue, the editor, deleting, OK
// and Cancel, and the editor's refusals.
constexpr const char* kMapsOptions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- the user's maps -->\n"
    "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
    "  <option id=\"Map\" area=\"World\">REC Map $ost</option>\n"
    "  <option id=\"Atlas\" area=\"Japan\" datum=\"tokyo\">REC Atlas $ost</option>\n"
    "</tolvexgateway_optionlist>\n";
constexpr const char* kCatalogue =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist>\n"
    "  <option id=\"Map\" area=\"World\">x</option>\n"
    "  <option id=\"Viewer\" area=\"Japan\" zoom=\"15\">REC Viewer $ost $zoom</option>\n"
    "</tolvexgateway_optionlist>\n";
constexpr const char* kMapsOptionsAndOther =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- the user's maps -->\n"
    "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
    "  <option id=\"Map\" area=\"World\">REC Map $ost</option>\n"
    "  <option id=\"Atlas\" area=\"Japan\" datum=\"tokyo\">REC Atlas $ost</option>\n"
    "  <option id=\"Other\" area=\"Mars\">REC Other $ost</option>\n"
    "</tolvexgateway_optionlist>\n";
constexpr const char* kAtlasOnly =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist currentsetting=\"Atlas\">\n"
    "  <option id=\"Atlas\" area=\"Japan\" datum=\"tokyo\">REC Atlas $ost</option>\n"
    "</tolvexgateway_optionlist>\n";
const std::string kOptionTitle = "TolvexGateway   - Option -";
const std::string kEditorTitle = "TolvexGateway   - Map -";

struct KeysIn {
  std::string title;  // of the window they go to; kMeanwhile: another program's write instead
  std::vector<std::string> keys;
};
// A step in which another program writes the option file (its one "key") while the window is
// open.
const std::string kMeanwhile;

struct MapsCase {
  const char* name;
  std::vector<KeysIn> steps;
  const char* saved;     // the option file afterwards; nullptr: unchanged
  const char* launched;  // what a link then opens; nullptr: not tried
  const char* message;   // how the message on standard error starts; nullptr: none
};

class MapsTabTest : public MapsUnderXvfbTest, public ::testing::WithParamInterface<MapsCase> {};

TEST_P(MapsTabTest, TheKeysEditTheMapsAndOnlyOkSavesThem) {
  const MapsCase& c = GetParam();
  const std::string options = OptionsWith(kMapsOptions);
  dir_.Write("tolvexgwoption.xml", options);
  dir_.Write("tolvexgwcatalogue.xml", OptionsWith(kCatalogue));
  auto run = std::async(std::launch::async, [&] { return Run("option", x_.display()); });
  for (std::size_t step = 0; step < c.steps.size(); ++step) {
    if (c.steps[step].title == kMeanwhile) {
      dir_.Write("tolvexgwoption.xml", OptionsWith(c.steps[step].keys.at(0)));
      continue;
    }
    std::vector<std::string> keys;
    for (const std::string& key : c.steps[step].keys) keys.push_back(OptionsWith(key));
    PressKeys(c.steps[step].title, keys);
    Screenshot(std::string("maps_") + c.name + "_" + std::to_string(step));
  }
  ASSERT_EQ(run.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  const ProcessResult result = run.get();
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(Options(), c.saved != nullptr ? OptionsWith(c.saved) : options);
  if (c.message != nullptr) {
    EXPECT_NE(result.err.find("TolvexGateway: " + std::string(c.message)), std::string::npos)
        << result.err;
  }
  if (c.launched != nullptr) {
    EXPECT_EQ(Run(kTokyoTower, x_.display()).exit_status, 0);
    EXPECT_EQ(Launched(), c.launched);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MapsTabTest,
    ::testing::ValuesIn(std::initializer_list<MapsCase>{
        {"CatalogueEditDeleteOk",
         {{kOptionTitle, {"ctrl+Tab", "alt+c"}},
          {"TolvexGateway   - Catalogue -", {"Return"}},
          {kOptionTitle, {"alt+m", "Home", "alt+e"}},
          {kEditorTitle,
           {"alt+c", "ctrl+a", "type:REC a&b<c \"x y\" $ost", "alt+i", "close:Return"}},
          {kOptionTitle, {"alt+m", "Down", "alt+d", "ctrl+Tab", "shift+Tab", "close:space"}}},
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- the user's maps -->\n"
         "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
         "  <option id=\"Map\" area=\"World\">REC a&amp;b&lt;c \"x y\" $ost</option>\n"
         "  <option id=\"Viewer\" area=\"Japan\" zoom=\"15\">REC Viewer $ost $zoom</option>\n"
         "</tolvexgateway_optionlist>\n",
         "a&b<c\nx y\nSD9.XC4.EQ2.CV5\n",
         nullptr},
        // The window's edits are made again at OK in the file as another program left it.
        {"AMapAddedMeanwhileStays",
         {{kOptionTitle, {}},
          {kMeanwhile, {kMapsOptionsAndOther}},
          {kOptionTitle,
           {"ctrl+Tab", "alt+m", "Home", "alt+d", "ctrl+Tab", "shift+Tab", "close:space"}}},
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- the user's maps -->\n"
         "<tolvexgateway_optionlist currentsetting=\"Atlas\">\n"
         "  <option id=\"Atlas\" area=\"Japan\" datum=\"tokyo\">REC Atlas $ost</option>\n"
         "  <option id=\"Other\" area=\"Mars\">REC Other $ost</option>\n"
         "</tolvexgateway_optionlist>\n",
         "Atlas\nSD9.XC4.EQ2.CV5\n",
         nullptr},
        {"AnEditOfAMapDeletedMeanwhileIsRefused",
         {{kOptionTitle, {"ctrl+Tab", "alt+m", "Home", "alt+e"}},
          {kEditorTitle, {"alt+c", "ctrl+a", "type:REC Changed $ost", "alt+i", "close:Return"}},
          {kMeanwhile, {kAtlasOnly}},
          {kOptionTitle, {"ctrl+Tab", "shift+Tab", "space"}},
          {"TolVex Gateway: Error", {"close:Return"}},
          {kOptionTitle, {"close:Escape"}}},
         kAtlasOnly,
         nullptr,
         "Another program changed the option file meanwhile; nothing was saved. Editing the map "
         "\"Map\": No map has the id \"Map\""},
        {"CancelDropsTheEdits",
         {{kOptionTitle, {"ctrl+Tab", "alt+m", "Home", "alt+d", "alt+l", "close:Escape"}}},
         nullptr,
         nullptr,
         nullptr},
        {"ZoomOutOfRangeIsRefused",
         {{kOptionTitle, {"ctrl+Tab", "alt+n"}},
          {kEditorTitle, {"type:Z", "alt+z", "type:22", "alt+c", "type:true", "alt+i", "Return"}},
          {"TolVex Gateway: Error", {"close:Return"}},
          {kEditorTitle, {"close:Escape"}},
          {kOptionTitle, {"close:Escape"}}},
         nullptr,
         nullptr,
         "The zoom must be blank or a whole number from 0 to 21"},
        {"AnotherMapsIdIsRefused",
         {{kOptionTitle, {"ctrl+Tab", "alt+n"}},
          {kEditorTitle, {"type:Atlas", "alt+c", "type:true", "alt+i", "Return"}},
          {"TolVex Gateway: Error", {"close:Return"}},
          {kEditorTitle, {"close:Escape"}},
          {kOptionTitle, {"close:Escape"}}},
         nullptr,
         nullptr,
         "Another map already has the id "},
    }),
    TOLVEX_ROW_NAMES(name));

// Every message a run ends with shows in a box too: one that the user who clicked a link sees.
struct BoxCase {
  const char* name;
  const char* argument;
  const char* template_text;  // the active option's command
  int exit_status;
  const char* message;
};

class MessageBoxTest : public UiUnderXvfbTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, ShowsAndReturnEndsTheRun) {
  dir_.Write("tolvexgwoption.xml",
             std::string(kOptions).replace(std::string(kOptions).find("true $ost"), 9,
                                           GetParam().template_text));
  auto run = std::async(std::launch::async, [&] { return Run(GetParam().argument, x_.display()); });
  ASSERT_TRUE(FindWindow(x_.display(), "TolvexGateway", true)) << "no message box appeared";
  const ProcessResult result = PressKeyUntilDone(run, "TolvexGateway", "Return");
  EXPECT_EQ(result.exit_status, GetParam().exit_status);
  // Qt may add a warning of its own after the line.
  EXPECT_TRUE(result.err.starts_with("TolvexGateway: " + std::string(GetParam().message) + "\n"))
      << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageBoxTest,
    ::testing::ValuesIn(std::initializer_list<BoxCase>{
        {"InvalidLocation", "TolVex:91,0", "true $ost", 1, "Invalid Location: \"91,0\""},
        {"NoSuchProgram", "TolVex:35,139", "no-such-program $ost", 2,
         "cannot start \"no-such-program\" to open \"no-such-program SB4.XB0.LO4.CX1\": No "
         "such file or directory"},
        {"LinkBackHere", "TolVex:35,139", "TOLVEX:$ost", 1,
         "The active option's command would start TolvexGateway again: "
         "\"TOLVEX:SB4.XB0.LO4.CX1\""},
    }),
    TOLVEX_ROW_NAMES(name));

// Under weston (headless) and no X display the option window and a box show as toplevel surfaces
// titled as on X (the client's WAYLAND_DEBUG log); without Qt's Wayland plugin the window says
// what to install. The plugin is taken away in a mount namespace of the run's own, where a copy
// of Qt's platform plugin folder without it stands in Qt's folder's place.
struct WaylandCase {
  const char* name;
  const char* argument;
  bool plugin;        // Qt's Wayland plugin is installed
  const char* title;  // of the toplevel surface that shows; nullptr: none shows
  const char* err;    // standard error, when no surface shows
};

class WaylandTest : public UiModuleTest, public ::testing::WithParamInterface<WaylandCase> {
 protected:
  void SetUp() override {
    UiModuleTest::SetUp();
    fs::create_directory(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all);
    if (!IsExecutable("/usr/bin/weston")) GTEST_SKIP() << "weston is not installed";
    weston_ = ::fork();
    if (weston_ == 0) {
      ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::execl("/usr/bin/weston", "weston", "--backend=headless-backend.so", "--socket=tolvex-test",
              "--idle-time=0", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 300 && !fs::exists(runtime_ / "tolvex-test"); ++i) ::usleep(100000);
    if (!fs::exists(runtime_ / "tolvex-test")) GTEST_SKIP() << "weston could not start";
  }
  void TearDown() override {
    if (weston_ > 0 && ::kill(weston_, SIGTERM) == 0) ::waitpid(weston_, nullptr, 0);
  }
  fs::path runtime_ = dir_.path() / "run";
  pid_t weston_ = -1;
};

// True when the protocol log sets `title` on a toplevel surface: xdg_toplevel@N.set_title("…").
bool SetsToplevelTitle(const std::string& log, std::string_view title) {
  constexpr std::string_view kSurface = "xdg_toplevel@";
  const std::string call = ".set_title(\"" + std::string(title) + "\")";
  for (auto at = log.find(call); at != std::string::npos; at = log.find(call, at + 1)) {
    auto start = at;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(log[start - 1])) != 0) --start;
    if (start < at && start >= kSurface.size() &&
        log.compare(start - kSurface.size(), kSurface.size(), kSurface) == 0) {
      return true;
    }
  }
  return false;
}

TEST_P(WaylandTest, ShowsOrSaysWhatToInstall) {
  const WaylandCase& c = GetParam();
  std::vector<std::string> command = {"15", Gateway(), c.argument};
  if (!c.plugin) {
    const std::string plugins =
        RunProcess("/usr/bin/qtpaths6", {"--query", "QT_INSTALL_PLUGINS"}).out;
    const fs::path platforms = plugins.substr(0, plugins.find('\n')) + "/platforms";
    const fs::path copy = dir_.path() / "platforms";
    fs::create_directory(copy);
    for (const auto& entry : fs::directory_iterator(platforms)) {
      if (!entry.path().filename().string().starts_with("libqwayland-")) {
        fs::copy_file(entry.path(), copy / entry.path().filename());
      }
    }
    if (RunProcess("/usr/bin/unshare", {"-rm", "true"}).exit_status != 0) GTEST_SKIP();
    command.insert(command.begin() + 1, {"/usr/bin/unshare", "-rm", "/bin/sh", "-c",
                                         "mount --bind \"$0\" \"$1\" && shift && exec \"$@\"",
                                         copy.string(), platforms.string()});
  }
  ProcessOptions options;
  options.env_unset = {"DISPLAY", "QT_QPA_PLATFORM", "QT_PLUGIN_PATH",
                       "QT_QPA_PLATFORM_PLUGIN_PATH"};
  options.env_set = {"PATH=/usr/bin:/bin",
                     "LC_ALL=C",
                     "XDG_CONFIG_HOME=" + dir_.path().string(),
                     "XDG_RUNTIME_DIR=" + runtime_.string(),
                     "WAYLAND_DISPLAY=tolvex-test",
                     "WAYLAND_DEBUG=1"};
  const ProcessResult result = RunProcess("/usr/bin/timeout", command, options);
  if (c.title != nullptr) {
    // The window waits for the user: the time limit ends it.
    EXPECT_TRUE(SetsToplevelTitle(result.err, c.title)) << result.err;
  } else {
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_EQ(Options(), kOptions);
}

INSTANTIATE_TEST_SUITE_P(
    Surfaces, WaylandTest,
    ::testing::ValuesIn(std::initializer_list<WaylandCase>{
        {"OptionWindow", "option", true, "TolvexGateway   - Option -", nullptr},
        {"MessageBox", "TolVex:91,0", true, "TolvexGateway", nullptr},
        {"OptionWindowWithoutThePlugin", "option", false, nullptr,
         "TolvexGateway: the option window cannot be shown: Qt's Wayland plugin is not installed "
         "(qt6-wayland)\n"},
        {"MessageWithoutThePlugin", "TolVex:91,0", false, nullptr,
         "TolvexGateway: Invalid Location: \"91,0\"\n"},
    }),
    TOLVEX_ROW_NAMES(name));

// The display going away under a message box or the option window ends the run with status 1
// and says so, without a crash and without writing the option file.
struct LostDisplayCase {
  const char* name;
  const char* argument;
  const char* title;  // of the window that is up when the server ends
  bool option_file;   // false: none, so that the dialog's load message comes up
};

void PrintTo(const LostDisplayCase& c, std::ostream* os) { *os << c.name; }

class LostDisplayTest : public UiUnderXvfbTest,
                        public ::testing::WithParamInterface<LostDisplayCase> {};

TEST_P(LostDisplayTest, EndsWithStatusOneAndAMessageAndWritesNothing) {
  const LostDisplayCase& c = GetParam();
  if (!c.option_file) fs::remove(dir_.path() / "tolvexgwoption.xml");
  auto run = std::async(std::launch::async, [&] { return Run(c.argument, x_.display()); });
  ASSERT_TRUE(FindWindow(x_.display(), c.title, true)) << "no window appeared";
  x_.Stop();
  const ProcessResult result = run.get();
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_NE(result.err.find("TolvexGateway: the display was lost\n"), std::string::npos)
      << result.err;
  if (c.option_file) {
    EXPECT_EQ(Options(), kOptions);
  } else {
    EXPECT_FALSE(fs::exists(dir_.path() / "tolvexgwoption.xml"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, LostDisplayTest,
    ::testing::Values(LostDisplayCase{"MessageBox", "TolVex:91,0", "TolvexGateway", true},
                      LostDisplayCase{"OptionWindow", "option", "TolvexGateway   - Option -", true},
                      LostDisplayCase{"OptionWindowMessage", "option", "TolVex Gateway: Error",
                                      false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tolvex
