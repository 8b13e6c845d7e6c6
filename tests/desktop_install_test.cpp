// scripts/desktop-install into a scratch home: the program folder under any prefix, desktop
// entries in the user's data folder whose Exec= every launcher can start, the TolVex: handler
// registered with xdg-mime and checked, files that pass their validators, links opened by
// xdg-open and gio, and an uninstall that finds the registration and keeps an option file
// holding the user's choice.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
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

const std::string kProgramFolder = "lib/tolvexgateway";

class DesktopInstallTest : public ::testing::Test {
 protected:
  // The environment of a desktop session without a desktop environment: nothing of the
  // machine's own session (desktop, D-Bus, display) leaks in.
  ProcessOptions Session() const {
    ProcessOptions options;
    options.env_set = {"HOME=" + home_.path().string(),
                       "XDG_CONFIG_HOME=" + config_home().string(),
                       "XDG_DATA_HOME=" + data_home_.string(),
                       "XDG_DATA_DIRS=/usr/local/share:/usr/share",
                       "XDG_CONFIG_DIRS=/etc/xdg",
                       "XDG_RUNTIME_DIR=" + runtime_.path().string(),
                       "LC_ALL=C.UTF-8"};
    options.env_unset = {"XDG_CURRENT_DESKTOP",      "XDG_SESSION_DESKTOP",
                         "DESKTOP_SESSION",          "GNOME_DESKTOP_SESSION_ID",
                         "KDE_FULL_SESSION",         "MATE_DESKTOP_SESSION_ID",
                         "DBUS_SESSION_BUS_ADDRESS", "DISPLAY",
                         "WAYLAND_DISPLAY",          "BROWSER"};
    return options;
  }
  ProcessResult Script(const std::vector<std::string>& args) const {
    return RunProcess("/bin/bash", args, Session());
  }
  ProcessResult Install(const fs::path& prefix) const {
    return Script({kScript, "install", TOLVEX_BUILD_DIR, prefix.string()});
  }
  ProcessResult Uninstall(const fs::path& prefix) const {
    return Script({kScript, "uninstall", prefix.string()});
  }
  std::string DefaultHandler(const std::string& scheme) const {
    return Script({"-c", "xdg-mime query default x-scheme-handler/" + scheme}).out;
  }
  fs::path config_home() const { return home_.path() / ".config"; }
  fs::path Entry(const std::string& name) const { return data_home_ / "applications" / name; }

  const std::string kScript = std::string(TOLVEX_SOURCE_DIR) + "/scripts/desktop-install";
  TempDir home_;
  fs::path data_home_ = home_.path() / ".local/share";
  TempDir runtime_;  // the session's own, private as a login makes it: the handler's record
};

// The Exec= line under each prefix and data folder. xdg-open without a desktop environment
// splits Exec= at blanks and knows no quotes, so a path that needs quoting is reached through a
// link in the data folder; only when that folder needs quoting too does Exec= quote the path.
struct ExecCase {
  std::string prefix_name;
  std::string data_home_name;
  std::string exec;  // @P@ stands for the prefix, @D@ for the data folder
};

class ExecLineTest : public DesktopInstallTest, public ::testing::WithParamInterface<ExecCase> {};

const std::string kExecProgram = "/" + kProgramFolder + "/tolvexgateway";
const std::string kExecLink = "@D@/tolvexgateway/tolvexgateway";

TEST_P(ExecLineTest, EveryLauncherCanStart) {
  const ExecCase& c = GetParam();
  data_home_ = home_.path() / c.data_home_name;
  const fs::path prefix = home_.path() / c.prefix_name;
  const ProcessResult result = Install(prefix);
  ASSERT_EQ(result.exit_status, 0) << result.out << result.err;

  // How the prefix reads inside the quotes: "%" doubled, \ " ` $ escaped twice.
  std::string quoted_prefix;
  for (const char ch : prefix.string()) {
    if (ch == '%')
      quoted_prefix += "%%";
    else if (ch == '\\')
      quoted_prefix += "\\\\\\\\";
    else if (ch == '"' || ch == '`' || ch == '$')
      quoted_prefix += std::string("\\\\") + ch;
    else
      quoted_prefix += ch;
  }
  std::string exec = c.exec;
  if (auto at = exec.find("@P@"); at != std::string::npos) {
    const bool quoted = exec.front() == '"';
    exec.replace(at, 3, quoted ? quoted_prefix : prefix.string());
  }
  if (auto at = exec.find("@D@"); at != std::string::npos) exec.replace(at, 3, data_home_.string());

  const std::string entry = ReadFile(Entry("tolvexgateway.desktop"));
  EXPECT_NE(entry.find("\nExec=" + exec + " %u\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("MimeType=x-scheme-handler/tolvex;"), std::string::npos);
  if (c.exec == kExecLink) {
    EXPECT_EQ(fs::read_symlink(data_home_ / "tolvexgateway/tolvexgateway"),
              prefix / kProgramFolder / "tolvexgateway");
  }
  EXPECT_FALSE(fs::exists(prefix / "share/applications"));
  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_FALSE(fs::exists(Entry("tolvexgateway.desktop")));
  EXPECT_FALSE(fs::exists(data_home_ / "tolvexgateway"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ExecLineTest,
    ::testing::Values(ExecCase{"plain", "data", "@P@" + kExecProgram},
                      ExecCase{"with space", "data", kExecLink}, ExecCase{"50%", "data", kExecLink},
                      ExecCase{"a&b", "data", kExecLink},
                      ExecCase{"q\"b`c$d\\e", "data", kExecLink},
                      ExecCase{"with space", "data$", "\"@P@" + kExecProgram + "\""},
                      ExecCase{"50%", "data%", "\"@P@" + kExecProgram + "\""},
                      ExecCase{"q\"b`c$d\\e", "data$", "\"@P@" + kExecProgram + "\""}),
    [](const auto& row) { return test::RowName(row.param.prefix_name, row.param.data_home_name); });

bool HasSymbolTable(const fs::path& file) {
  return RunProcess("/usr/bin/readelf", {"-S", "-W", file.string()}).out.find(" .symtab ") !=
         std::string::npos;
}

TEST_F(DesktopInstallTest, InstallsTheProgramFolderAndRegistersTheHandler) {
  const fs::path prefix = home_.path() / "opt/tolvex";
  const ProcessResult result = Install(prefix);
  ASSERT_EQ(result.exit_status, 0) << result.out << result.err;
  const fs::path dir = prefix / kProgramFolder;
  for (const char* file : {"tolvexgwoption.xml", "tolvexgwcatalogue.xml", "manual.htm",
                           "place-card.png", "maps-tab.png"}) {
    EXPECT_EQ(ReadFile(dir / file), ReadFile(fs::path(TOLVEX_BIN_DIR) / file)) << file;
  }
  for (const char* file : {"tolvexgateway", "tolvex", "tolvex_ui.so"}) {
    ASSERT_TRUE(fs::exists(dir / file)) << file;
    EXPECT_FALSE(HasSymbolTable(dir / file)) << file << " is not stripped";
  }
  const ProcessResult tool = RunProcess((prefix / "bin/tolvex").string(), {"--version"});
  EXPECT_EQ(tool.exit_status, 0) << tool.err;
  // The manual pages' footer names the installed version ("tolvex 1.0.0" gives "1.0.0").
  const std::size_t blank = tool.out.find(' ');
  const std::string version = tool.out.substr(blank + 1, tool.out.find('\n') - blank - 1);
  for (const char* page : {"tolvex.1", "tolvexgateway.1"}) {
    EXPECT_NE(ReadFile(prefix / "share/man/man1" / page).find("\"TolvexGateway " + version + "\""),
              std::string::npos)
        << page;
  }
  EXPECT_TRUE(fs::equivalent(prefix / "bin/tolvexgateway", dir / "tolvexgateway"));
  for (const char* file : {"share/man/man1/tolvex.1", "share/man/man1/tolvexgateway.1",
                           "share/metainfo/org.example.TolvexGateway.metainfo.xml"}) {
    EXPECT_TRUE(fs::exists(prefix / file)) << file;
  }
  EXPECT_TRUE(fs::exists(data_home_ / "icons/hicolor/32x32/apps/tolvexgateway.png"));
  EXPECT_TRUE(fs::exists(Entry("tolvexgateway-option.desktop")));
  EXPECT_EQ(DefaultHandler("tolvex"), "tolvexgateway.desktop\n");
  EXPECT_EQ(DefaultHandler("TolVex"), "tolvexgateway.desktop\n");
  EXPECT_EQ(DefaultHandler("geo"), "tolvexgateway.desktop\n");  // no program had geo: links

  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_FALSE(fs::exists(dir));
  for (const char* file : {"bin/tolvexgateway", "bin/tolvex", "share/man/man1/tolvex.1",
                           "share/metainfo/org.example.TolvexGateway.metainfo.xml"}) {
    EXPECT_FALSE(fs::exists(prefix / file)) << file;
  }
  EXPECT_FALSE(fs::exists(Entry("tolvexgateway.desktop")));
  EXPECT_FALSE(fs::exists(data_home_ / "icons/hicolor/32x32/apps/tolvexgateway.png"));
  EXPECT_EQ(DefaultHandler("tolvex"), "");
  EXPECT_EQ(DefaultHandler("geo"), "");
}

// A program that already opens geo: links keeps them through install, reinstall and uninstall.
TEST_F(DesktopInstallTest, AnExistingGeoDefaultIsLeftAlone) {
  fs::create_directories(config_home());
  fs::create_directories(data_home_ / "applications");
  home_.Write(".local/share/applications/maps.desktop",
              "[Desktop Entry]\nType=Application\nName=Maps\nExec=/bin/true %u\n"
              "MimeType=x-scheme-handler/geo;\n");
  home_.Write(".config/mimeapps.list",
              "[Default Applications]\nx-scheme-handler/geo=maps.desktop\n");
  const fs::path prefix = home_.path() / "opt";
  for (int run = 0; run < 2; ++run) {
    const ProcessResult result = Install(prefix);
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find("geo: links stay with maps.desktop"), std::string::npos);
    EXPECT_EQ(DefaultHandler("geo"), "maps.desktop\n");
  }
  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_EQ(DefaultHandler("geo"), "maps.desktop\n");
}

// Uninstall removes the registration from where install put it, even when the session's data
// folder has changed since; and it leaves a registration that a later install made its own.
TEST_F(DesktopInstallTest, UninstallRemovesOnlyItsOwnRegistration) {
  const fs::path first = home_.path() / "first";
  const fs::path second = home_.path() / "second prefix";
  const fs::path install_data = data_home_;
  ASSERT_EQ(Install(first).exit_status, 0);
  data_home_ = home_.path() / "elsewhere";
  ASSERT_EQ(Uninstall(first).exit_status, 0);
  data_home_ = install_data;
  EXPECT_FALSE(fs::exists(Entry("tolvexgateway.desktop")));
  EXPECT_EQ(DefaultHandler("tolvex"), "");

  ASSERT_EQ(Install(first).exit_status, 0);
  ASSERT_EQ(Install(second).exit_status, 0);
  const ProcessResult result = Uninstall(first);
  ASSERT_EQ(result.exit_status, 0) << result.err;
  EXPECT_NE(result.out.find("registered by another install"), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(first / kProgramFolder));
  EXPECT_TRUE(fs::exists(Entry("tolvexgateway.desktop")));
  EXPECT_EQ(fs::read_symlink(data_home_ / "tolvexgateway/tolvexgateway"),
            second / kProgramFolder / "tolvexgateway");
  EXPECT_EQ(DefaultHandler("tolvex"), "tolvexgateway.desktop\n");
  ASSERT_EQ(Uninstall(second).exit_status, 0);
  EXPECT_FALSE(fs::exists(Entry("tolvexgateway.desktop")));
}

// Install asks xdg-mime what a TolVex: link opens, and fails saying so when the answer is not
// the handler just installed: a desktop-specific mimeapps.list outranks the one xdg-mime writes,
// and xdg-mime passes over an entry whose Exec= is quoted (a prefix and a data folder that both
// hold a blank).
struct UnreachedCase {
  std::string name;
  std::string desktop;    // XDG_CURRENT_DESKTOP
  std::string data_home;  // inside the scratch home
  std::string prefix;
  std::string answer;  // what xdg-mime answers
};

class UnreachedHandlerTest : public DesktopInstallTest,
                             public ::testing::WithParamInterface<UnreachedCase> {};

TEST_P(UnreachedHandlerTest, InstallFailsSayingWhatXdgMimeAnswers) {
  const UnreachedCase& c = GetParam();
  fs::create_directories(config_home());
  home_.Write(".config/x-test-mimeapps.list",
              "[Default Applications]\nx-scheme-handler/tolvex=other.desktop\n");
  fs::create_directories(data_home_ / "applications");
  home_.Write(".local/share/applications/other.desktop",
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %u\n"
              "MimeType=x-scheme-handler/tolvex;\n");
  data_home_ = home_.path() / c.data_home;
  ProcessOptions options = Session();
  if (!c.desktop.empty()) options.env_set.push_back("XDG_CURRENT_DESKTOP=" + c.desktop);
  const ProcessResult result = RunProcess(
      "/bin/bash", {kScript, "install", TOLVEX_BUILD_DIR, (home_.path() / c.prefix).string()},
      options);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("TolVex: links will not open with it: \"xdg-mime query default "
                            "x-scheme-handler/tolvex\" answers \"" +
                            c.answer + "\""),
            std::string::npos)
      << result.err;
}

INSTANTIATE_TEST_SUITE_P(Sessions, UnreachedHandlerTest,
                         ::testing::Values(UnreachedCase{"DesktopSpecificDefault", "X-Test",
                                                         ".local/share", "p", "other.desktop"},
                                           UnreachedCase{"QuotedExec", "", "data home",
                                                         "with space", ""}),
                         TOLVEX_ROW_NAMES(name));

// The option file after a reinstall and an uninstall: the user's choice stays, while a file
// still equal to the default an earlier install recorded follows the new default and goes.
struct OptionFileCase {
  const char* name;
  bool recorded_default;  // the file is the earlier install's default, its hash recorded
};

class OptionFileUpgradeTest : public DesktopInstallTest,
                              public ::testing::WithParamInterface<OptionFileCase> {};

TEST_P(OptionFileUpgradeTest, OnlyTheRecordedDefaultIsReplacedAndRemoved) {
  const fs::path prefix = home_.path() / ".local";
  ASSERT_EQ(Install(prefix).exit_status, 0);
  const fs::path options = prefix / kProgramFolder / "tolvexgwoption.xml";
  const fs::path recorded = prefix / kProgramFolder / ".option-default";
  const std::string earlier = "<tolvexgateway_optionlist currentsetting=\"Mine\"/>\n";
  home_.Write(".local/lib/tolvexgateway/tolvexgwoption.xml", earlier);
  if (GetParam().recorded_default) {
    ASSERT_EQ(Script({"-c", "sha256sum <\"$0\" | cut -d' ' -f1 >\"$1\"", options.string(),
                      recorded.string()})
                  .exit_status,
              0);
  }
  ASSERT_EQ(Install(prefix).exit_status, 0);
  const std::string shipped = ReadFile(fs::path(TOLVEX_BIN_DIR) / "tolvexgwoption.xml");
  EXPECT_EQ(ReadFile(options), GetParam().recorded_default ? shipped : earlier);
  ASSERT_EQ(Uninstall(prefix).exit_status, 0);
  EXPECT_EQ(fs::exists(options), !GetParam().recorded_default);
  if (!GetParam().recorded_default) {
    EXPECT_EQ(ReadFile(options), earlier);
  }
  EXPECT_FALSE(fs::exists(recorded));
  EXPECT_FALSE(fs::exists(prefix / kProgramFolder / "tolvexgateway"));
}

INSTANTIATE_TEST_SUITE_P(Files, OptionFileUpgradeTest,
                         ::testing::ValuesIn(std::vector<OptionFileCase>{
                             {"TheUsersChoiceSurvives", false},
                             {"AnUnchangedDefaultFollowsTheUpgrade", true},
                         }),
                         [](const auto& row) { return std::string(row.param.name); });

// Each installed document passes the tool that its readers use: man renders the pages without a
// warning, AppStream accepts the metadata, desktop-file-validate the entries.
struct ValidatorCase {
  std::string name;
  std::string command;  // run by sh -c; @F@ is the installed file
  std::string file;     // @P@ the prefix, @D@ the data folder
};

class InstalledFileTest : public DesktopInstallTest,
                          public ::testing::WithParamInterface<ValidatorCase> {};

TEST_P(InstalledFileTest, PassesItsValidator) {
  const ValidatorCase& c = GetParam();
  const fs::path prefix = home_.path() / "opt";
  ASSERT_EQ(Install(prefix).exit_status, 0);
  std::string file = c.file;
  file.replace(0, 3, c.file[1] == 'P' ? prefix.string() : data_home_.string());
  ASSERT_TRUE(fs::exists(file)) << file;
  std::string command = c.command;
  command.replace(command.find("@F@"), 3, "'" + file + "'");
  const ProcessResult result = RunProcess("/bin/sh", {"-c", command});
  EXPECT_EQ(result.exit_status, 0) << result.out << result.err;
  EXPECT_EQ(result.out + result.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Documents, InstalledFileTest,
    ::testing::Values(
        ValidatorCase{"ManPageOfTheTool", "MANWIDTH=80 man --warnings -l @F@ >/dev/null",
                      "@P@/share/man/man1/tolvex.1"},
        ValidatorCase{"ManPageOfTheGateway", "MANWIDTH=80 man --warnings -l @F@ >/dev/null",
                      "@P@/share/man/man1/tolvexgateway.1"},
        ValidatorCase{"AppStreamMetadata", "appstreamcli validate --no-net @F@ >/dev/null",
                      "@P@/share/metainfo/org.example.TolvexGateway.metainfo.xml"},
        ValidatorCase{"HandlerEntry", "desktop-file-validate @F@",
                      "@D@/applications/tolvexgateway.desktop"},
        ValidatorCase{"OptionsEntry", "desktop-file-validate @F@",
                      "@D@/applications/tolvexgateway-option.desktop"},
        ValidatorCase{"OpenAPlaceEntry", "desktop-file-validate @F@",
                      "@D@/applications/tolvexgateway-open.desktop"}),
    TOLVEX_ROW_NAMES(name));

// The clients that browsers and desktops hand links to, against the handler as installed:
// xdg-open in a session with a display (Xvfb) and no desktop environment, which takes its own
// generic path, and gio. The installed option file is replaced by one whose template runs a
// recorder, so that what the link expanded to is seen.
struct ClientCase {
  std::string name;
  std::vector<std::string> client;  // the command, the link follows
  std::string link;
  std::string recorded;  // the recorder's arguments, one a line
};

void PrintTo(const ClientCase& c, std::ostream* os) { *os << c.name; }

class RealClientTest : public DesktopInstallTest,
                       public ::testing::WithParamInterface<ClientCase> {};

constexpr std::string_view kRecordedPair = "35.658581\n139.745433\nSD9.XC4.EQ2.CV5\n16\n";
constexpr std::string_view kRecordedGeocode = "35.658581\n139.745435\nSD9.XC4.EQ2.CV5\n16\n";

TEST_P(RealClientTest, OpensTheLinkThroughTheInstalledHandler) {
  const ClientCase& c = GetParam();
  const fs::path prefix = home_.path() / "opt/tolvex gateway";
  const ProcessResult installed = Install(prefix);
  ASSERT_EQ(installed.exit_status, 0) << installed.out << installed.err;

  const std::string record = (home_.path() / "record").string();
  const std::string recorder =
      home_.Write("recorder", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record + ".tmp' && mv '" +
                                  record + ".tmp' '" + record + "'\n");
  ::chmod(recorder.c_str(), 0755);
  home_.Write("opt/tolvex gateway/lib/tolvexgateway/tolvexgwoption.xml",
              "<tolvexgateway_optionlist currentsetting=\"Recorder\">\n"
              "  <option id=\"Recorder\" area=\"World\" datum=\"wgs84\">" +
                  recorder +
                  " $lat.d(-.6r) $lon.d(-.6r) $ost $zoom</option>\n"
                  "</tolvexgateway_optionlist>\n");

  std::vector<std::string> args(c.client.begin() + 1, c.client.end());
  args.push_back(c.link);
  const ProcessResult opened = RunProcess(c.client.front(), args, Session());
  EXPECT_EQ(opened.exit_status, 0) << opened.out << opened.err;
  // The handler runs detached from the client: wait for its record.
  for (int i = 0; i < 200 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(fs::exists(record)) << "the recorder never ran; " << opened.err;
  EXPECT_EQ(ReadFile(record), c.recorded);
}

struct Client {
  std::string name;
  std::vector<std::string> command;
};

// A client that does not return (a message box on the display) fails its row after 20 s;
// timeout ends its whole process group, the X server of xvfb-run included.
const Client kClients[] = {
    {"XdgOpen", {"/usr/bin/timeout", "-k", "5", "20", "xvfb-run", "-a", "xdg-open"}},
    {"Gio", {"/usr/bin/timeout", "-k", "5", "20", "gio", "open"}}};

// An option whose command hands the link back (a TolVex: link, or xdg-open, gio, a shell) runs
// the installed program at most eleven times, says once why it stops, within five seconds; what
// a user does on purpose still opens. A stand-in in the program's place counts the runs and
// stops a chain that does not end after 30; without the UI module no box waits.
struct ChainCase {
  std::string name;
  std::string option;  // the active option's command; @R@ stands for the recorder
  std::string script;  // run by sh under xvfb-run without a desktop; $1 and $2 are links
  int runs;            // of the installed program
  int refusals;        // messages on standard error
  int recorded = 0;    // runs of the recorder
  // `runs` and `refusals` bound those of a chain that forks: its branches race, and on a busy
  // machine a start may miss the record, which alone ties them together.
  bool at_most = false;
};

class ChainTest : public DesktopInstallTest, public ::testing::WithParamInterface<ChainCase> {};

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// How many times over the machine is busy: a chain of xdg-open's shell scripts follows the load.
TEST_P(ChainTest, EndsAfterElevenStartsAndOpensWhatTheUserAsksFor) {
  const ChainCase& c = GetParam();
  const fs::path prefix = home_.path() / "opt";
  ASSERT_EQ(Install(prefix).exit_status, 0);
  const fs::path folder = prefix / kProgramFolder;
  fs::rename(folder / "tolvexgateway", folder / "tolvexgateway.real");
  fs::remove(folder / "tolvex_ui.so");
  const std::string runs = (home_.path() / "runs").string();
  const std::string counting =
      home_.Write("opt/" + kProgramFolder + "/tolvexgateway",
                  "#!/bin/sh\ndate +%s.%N >> '" + runs + "'\n[ $(wc -l < '" + runs +
                      "') -gt 30 ] && exit 3\nexec \"$0.real\" \"$@\"\n");
  const std::string recorded = (home_.path() / "recorded").string();
  // The recorder notes its argument; told "again", its first run opens the link again half a
  // second later, as a program that the gateway started may.
  const std::string recorder = home_.Write(
      "recorder", "#!/bin/sh\necho \"$1\" >> '" + recorded + "'\n[ \"$2\" = again ] && mkdir '" +
                      recorded + ".again' && sleep 0.5 && xdg-open \"tolvex:$1\"\n");
  for (const std::string& file : {counting, recorder}) ::chmod(file.c_str(), 0755);
  std::string option = c.option;
  if (const auto at = option.find("@R@"); at != std::string::npos) option.replace(at, 3, recorder);
  home_.Write("opt/" + kProgramFolder + "/tolvexgwoption.xml",
              "<tolvexgateway_optionlist currentsetting=\"Loop\"><option id=\"Loop\" "
              "area=\"World\">" +
                  option + "</option></tolvexgateway_optionlist>\n");

  const ProcessResult opened = RunProcess("/usr/bin/timeout",
                                          {"-k", "5", "30", "xvfb-run", "-a", "sh", "-c", c.script,
                                           "sh", "TolVex:SD9.XC4.EQ2.CV5", "TolVex:35.6,139"},
                                          Session());
  // The output's pipe closes when the last program of the chain has ended.
  std::istringstream times(ReadFile(runs));
  double first = 0;
  double last = 0;
  int count = 0;
  for (double time; times >> time; ++count) (count == 0 ? first : last) = time;
  EXPECT_TRUE(c.at_most ? count <= c.runs : count == c.runs) << count << " runs; " << opened.err;
  // The chain ended by itself, before timeout's limit. How long it took is a figure for the
  // test's report, not a pass mark: every start is slower on a busy machine.
  EXPECT_NE(opened.exit_status, 124) << "the chain still ran after 30 s";
  RecordProperty("chain_seconds", std::to_string(std::max(last, first) - first));
  const int told =
      CountOf(opened.err, "The active option's command would start TolvexGateway again: \"");
  EXPECT_TRUE(c.at_most ? told >= 1 && told <= c.refusals : told == c.refusals) << opened.err;
  EXPECT_EQ(CountOf(fs::exists(recorded) ? ReadFile(recorded) : "", "\n"), c.recorded);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ChainTest,
    ::testing::ValuesIn(std::vector<ChainCase>{
        {"ALinkBackThroughXdgOpen", "tolvex:$ost", "xdg-open \"$1\"", 1, 1},
        {"ALinkBackThroughGio", "tolvex:$ost", "gio open \"$1\"", 1, 1},
        {"XdgOpenInTheOption", "xdg-open tolvex:$ost", "xdg-open \"$1\"", 11, 1},
        {"GioOpenInTheOption", "gio open tolvex:$ost", "gio open \"$1\"", 11, 1},
        {"AShellInTheOption", "sh -c \"xdg-open tolvex:$ost\"", "xdg-open \"$1\"", 11, 1},
        // Two starts per start, ten launched in all branches together (21 runs when each start
        // got the record); the branches after the first refusal are refused too, unsaid.
        {"AForkingShellInTheOption",
         "sh -c \"xdg-open tolvex:$ost &amp; xdg-open tolvex:$ost; wait\"", "xdg-open \"$1\"", 30,
         2, 0, true},
        {"AGeoLinkThroughXdgOpen", "xdg-open geo:$lat.d(-.6r),$lon.d(-.6r)", "xdg-open \"$1\"", 11,
         1},
        {"FiveQuickClicks", "@R@ $ost",
         "for i in 1 2 3 4 5; do xdg-open \"$1\" & sleep 0.3; done; wait", 5, 0, 5},
        {"TwoDifferentLinksAtOnce", "@R@ $ost", "xdg-open \"$1\" & xdg-open \"$2\"; wait", 2, 0, 2},
        {"ALinkTheOpenedProgramOpensHalfASecondLater", "@R@ $ost again", "xdg-open \"$1\"", 2, 0,
         2},
    }),
    [](const auto& row) { return row.param.name; });

std::vector<ClientCase> ClientCases() {
  struct Link {
    std::string name;
    std::string text;
    std::string_view recorded;
  };
  const Link links[] = {
      {"MixedCasePair", "TolVex:35.658581,139.745433", kRecordedPair},
      {"LowerCaseGeocode", "tolvex:SD9.XC4.EQ2.CV5", kRecordedGeocode},
      {"PercentEncodedPair", "tolvex:35.658581,%20139.745433", kRecordedPair},
      {"GeoLink", "geo:0,0?q=35.658581%2C139.745433(Tokyo)&z=12",
       "35.658581\n139.745433\nSD9.XC4.EQ2.CV5\n12\n"},
  };
  std::vector<ClientCase> cases;
  for (const auto& client : kClients) {
    for (const auto& link : links) {
      cases.push_back(
          {client.name + link.name, client.command, link.text, std::string(link.recorded)});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Clients, RealClientTest, ::testing::ValuesIn(ClientCases()),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace tolvex
