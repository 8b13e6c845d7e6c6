// The built tolvexgateway, run from a folder of its own with its option file, and a stand-in
// xdg-open first on PATH that records what it was asked to open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
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

// Records its working directory and arguments, NUL-separated, then renames the record into
// place so that a reader never sees half of it.
constexpr std::string_view kRecorder =
    "#!/bin/sh\n"
    "{ printf '%s\\0' \"$(pwd -P)\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; done; }"
    " > \"$TOLVEX_RECORD.tmp\" && mv \"$TOLVEX_RECORD.tmp\" \"$TOLVEX_RECORD\"\n";

std::string OptionFile(std::string_view template_text, std::string_view datum = "wgs84") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
         "  <option id=\"Map\" area=\"World\" datum=\"" +
         std::string(datum) + "\">" + std::string(template_text) +
         "</option>\n"
         "</tolvexgateway_optionlist>\n";
}

struct Launch {
  std::string directory;
  std::vector<std::string> argv;  // what the opener was started with, its own name excluded
};

class GatewayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_dir_ = new TempDir();
    const fs::path gateway = program_dir_->path() / "tolvexgateway";
    fs::copy_file(fs::path(TOLVEX_BIN_DIR) / "tolvexgateway", gateway);
    tools_dir_ = new TempDir();
    for (const char* name : {"xdg-open", "tolvex-viewer"}) {
      const std::string path = tools_dir_->Write(name, kRecorder);
      chmod(path.c_str(), 0755);
    }
  }
  static void TearDownTestSuite() {
    delete program_dir_;
    delete tools_dir_;
  }
  void SetUp() override {
    record_ = (record_dir_.path() / "record").string();
    WriteOptions(OptionFile(
        "https://example.org/?lat=$lat.d(-.6r)&amp;lon=$lon.d(-.6r)&amp;c=$ost&amp;z=$zoom"));
  }

  void WriteOptions(const std::string& bytes) { program_dir_->Write("tolvexgwoption.xml", bytes); }
  std::string Options() const { return ReadFile(program_dir_->path() / "tolvexgwoption.xml"); }

  ProcessResult Run(const std::vector<std::string>& args, std::vector<std::string> env = {},
                    std::string path = "") {
    ProcessOptions options;
    if (path.empty()) path = tools_dir_->path().string() + ":/usr/bin:/bin";
    // A runtime folder of the test's own: the starts of other tests leave no trace in it.
    options.env_set = {"PATH=" + path, "TOLVEX_RECORD=" + record_,
                       "XDG_CONFIG_HOME=" + config_dir_.path().string(),
                       "XDG_RUNTIME_DIR=" + record_dir_.path().string()};
    const bool sets_locale = std::any_of(
        env.begin(), env.end(), [](const std::string& e) { return e.starts_with("LC_ALL="); });
    if (!sets_locale) options.env_set.push_back("LC_ALL=C");
    options.env_set.insert(options.env_set.end(), env.begin(), env.end());
    options.env_unset = {"windir", "DISPLAY", "WAYLAND_DISPLAY", "TOLVEXGATEWAY_CHAIN"};
    return RunProcess((program_dir_->path() / "tolvexgateway").string(), args, options);
  }

  // What the opener recorded; waits for the detached opener to finish writing.
  std::optional<Launch> WaitForLaunch() const {
    for (int i = 0; i < 500 && !fs::exists(record_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!fs::exists(record_)) return std::nullopt;
    const std::string bytes = ReadFile(record_);
    Launch launch;
    std::size_t start = 0;
    for (std::size_t nul; (nul = bytes.find('\0', start)) != std::string::npos; start = nul + 1) {
      const std::string field = bytes.substr(start, nul - start);
      if (start == 0) {
        launch.directory = field;
      } else {
        launch.argv.push_back(field);
      }
    }
    return launch;
  }

  // Nothing may be launched: give a wrongly started opener time to write, then look.
  bool NothingLaunched() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !fs::exists(record_) && !fs::exists(record_ + ".tmp");
  }

  static TempDir* program_dir_;
  static TempDir* tools_dir_;
  TempDir record_dir_;
  TempDir config_dir_;  // the user's config folder, empty unless a test writes the user's file
  std::string record_;
};

TempDir* GatewayTest::program_dir_ = nullptr;
TempDir* GatewayTest::tools_dir_ = nullptr;

struct LinkCase {
  std::vector<std::string> args;
  std::string opened;
  std::string users_template = {};  // the user's own option file's, which then wins
};

const std::string kGeocodeUrl =
    "https://example.org/?lat=35.658581&lon=139.745435&c=SD9.XC4.EQ2.CV5&z=16";
const std::string kPairUrl =
    "https://example.org/?lat=35.658581&lon=139.745433&c=SD9.XC4.EQ2.CV5&z=16";
const std::string kPairUrlAt12 = kPairUrl.substr(0, kPairUrl.size() - 2) + "12";

class LocationLinkTest : public GatewayTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LocationLinkTest, OpensTheExpandedTemplate) {
  if (!GetParam().users_template.empty()) {
    fs::create_directory(config_dir_.path() / "tolvexgateway");
    config_dir_.Write("tolvexgateway/tolvexgwoption.xml", OptionFile(GetParam().users_template));
  }
  const ProcessResult result = Run(GetParam().args);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv, std::vector<std::string>{GetParam().opened});
}

INSTANTIATE_TEST_SUITE_P(
    Links, LocationLinkTest,
    ::testing::ValuesIn(std::vector<LinkCase>{
        {{"TolVex:SD9.XC4.EQ2.CV5"}, kGeocodeUrl},
        {{"tolvex:SD9.XC4.EQ2.CV5"}, kGeocodeUrl},
        {{"\"TOLVEX:SD9.XC4.EQ2.CV5\""}, kGeocodeUrl},
        {{"TolVex:35.658581,139.745433"}, kPairUrl},
        {{"TolVex: 35.658581;139.745433 "}, kPairUrl},
        {{"TolVex:35.658581,", "139.745433"}, kPairUrl},  // words are joined with one space
        // As browsers hand links over: the scheme in lower case, the text percent-encoded.
        {{"tolvex:35.658581,%20139.745433"}, kPairUrl},
        {{"TolVex:35.658581%2C139.745433"}, kPairUrl},
        {{"TolVex:-33.8568,151.2153"},
         "https://example.org/?lat=-33.856800&lon=151.215300&c=IC8.XX9.MS6.MR4&z=16"},
        // geo: links as contact cards, mails and phones write them.
        {{"geo:35.658581,139.745433;u=35?z=12"}, kPairUrlAt12},
        {{"GEO:0,0?q=35.658581,139.745433(Tokyo)"}, kPairUrl},
        {{"geo://35.658581%2C139.745433,40;crs=wgs84&z=11.5"}, kPairUrlAt12},
        {{"\"geo:0,0?z=12.5&q=35.658581%2C139.745433+(Tokyo+Tower)\""}, kPairUrlAt12},
        {{"TolVex:SD9.XC4.EQ2.CV5"},
         "https://own.example/SD9.XC4.EQ2.CV5",
         "https://own.example/$ost"},
    }),
    [](const auto& row) {
      return test::RowName(row.param.args.front() + row.param.users_template);
    });

// The shipped option file: OpenStreetMap at the link's zoom, else at the option's.
struct ShippedGeoCase {
  const char* link;
  const char* zoom;
};

class ShippedGeoTest : public GatewayTest, public ::testing::WithParamInterface<ShippedGeoCase> {};

TEST_P(ShippedGeoTest, OpensTheShippedMapAtItsZoom) {
  WriteOptions(ReadFile(fs::path(TOLVEX_BIN_DIR) / "tolvexgwoption.xml"));
  const std::string osm = "https://www.openstreetmap.org/?mlat=35.658581&mlon=139.745433#map=";
  ASSERT_EQ(Run({GetParam().link}).exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv,
            std::vector<std::string>{osm + GetParam().zoom + "/35.658581/139.745433"});
}

INSTANTIATE_TEST_SUITE_P(
    Links, ShippedGeoTest,
    ::testing::Values(ShippedGeoCase{"geo:35.658581,139.745433;u=35?z=12", "12"},
                      ShippedGeoCase{"geo:0,0?q=35.658581,139.745433(Tokyo)", "16"}),
    TOLVEX_ROW_NAMES(link));

TEST_F(GatewayTest, EveryFieldKindAndTheTokyoDatum) {
  WriteOptions(
      OptionFile("geo:$lat.d(d03.4r),$lon.d(D03.4r);m=$lat.m(02.2r);s=$lon.s(02.1r);"
                 "r=$lat.r(.4r);x=$$;$ost",
                 "tokyo"));
  ASSERT_EQ(Run({"TolVex:35.658581,139.745433"}).exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv, std::vector<std::string>{"geo:n035.6554,E139.7486;m=39.32;s=55.1;"
                                                   "r=0.6223;x=$;SD9.XC4.EQ2.CV5"});
  // A command that could come back: the start noted itself in the user's runtime folder.
  EXPECT_TRUE(fs::is_regular_file(record_dir_.path() / "tolvexgateway" / "starts"));
}

TEST_F(GatewayTest, ProgramWithArgumentsStartsWithoutAShell) {
  WriteOptions(OptionFile("tolvex-viewer --lat $lat.d(+03.4r) \"two words\" $(reboot) ; `id` | x"));
  ASSERT_EQ(Run({"TolVex:SD9.XC4.EQ2.CV5"}).exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv, (std::vector<std::string>{"--lat", "+035.6586", "two words", "$(reboot)",
                                                    ";", "`id`", "|", "x"}));
}

TEST_F(GatewayTest, WorkingDirectoryIsWindir) {
  TempDir windir;
  ASSERT_EQ(Run({"TolVex:SD9.XC4.EQ2.CV5"}, {"windir=" + windir.path().string()}).exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(fs::path(launch->directory), fs::canonical(windir.path()));
}

struct ErrorCase {
  std::vector<std::string> args;
  std::string options;
  std::string message;
};

const std::string kGoodOptions = OptionFile("https://example.org/$ost");

class ErrorTest : public GatewayTest, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ErrorTest, ShowsItsMessageAndLaunchesNothing) {
  WriteOptions(GetParam().options);
  const ProcessResult result = Run(GetParam().args);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err, GetParam().message);
  EXPECT_TRUE(NothingLaunched());
  EXPECT_EQ(Options(), GetParam().options);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorTest,
    ::testing::ValuesIn(std::vector<ErrorCase>{
        {{}, kGoodOptions, "TolvexGateway: Invalid Data: \"\"\n"},
        {{"TolVex:"}, kGoodOptions, "TolvexGateway: Invalid Data: \"TolVex:\"\n"},
        {{"35.6,139"}, kGoodOptions, "TolvexGateway: Invalid Data: \"35.6,139\"\n"},
        {{"TolVex:91,0"}, kGoodOptions, "TolvexGateway: Invalid Location: \"91,0\"\n"},
        {{"TolVex:sd9.xc4.eq2.cv5"},
         kGoodOptions,
         "TolvexGateway: Invalid Location: \"sd9.xc4.eq2.cv5\"\n"},
        {{"TolVex:1,2\" --x \""},
         kGoodOptions,
         "TolvexGateway: Invalid Location: \"1,2\" --x \"\"\n"},
        // A link back to this program would start it again, and again: refused.
        {{"TolVex:SD9.XC4.EQ2.CV5"},
         OptionFile("tolvex:$ost"),
         "TolvexGateway: The active option's command would start TolvexGateway again: "
         "\"tolvex:SD9.XC4.EQ2.CV5\"\n"},
        {{"TolVex:35,139"},
         OptionFile(" \"%54OLVEX%3a$lat.d(),$lon.d()"),
         "TolvexGateway: The active option's command would start TolvexGateway again: "
         "\"\"%54OLVEX%3a35,139\"\n"},
        {{"TolVex:SD9.XC4.EQ2.CV5"}, "", "TolvexGateway: Can't Load Option File\n"},
        {{"TolVex:SD9.XC4.EQ2.CV5"},
         "<tolvexgateway_optionlist><option",
         "TolvexGateway: Can't Load Option File\n"},
        {{"TolVex:SD9.XC4.EQ2.CV5"},
         "<tolvexgateway_optionlist><option id='Map' "
         "area='a'>x</option></tolvexgateway_optionlist>",
         "TolvexGateway: Can't Load Option file. XML file may be collasped.\n"},
        {{"TolVex:SD9.XC4.EQ2.CV5"},
         "<tolvexgateway_optionlist currentsetting='Gone'><option id='Map' area='a'>x</option>"
         "</tolvexgateway_optionlist>",
         "TolvexGateway: Can't Load Current Value. XML file may be collasped.\n"},
    }),
    [](const auto& row) {
      return test::RowName(row.param.message.substr(row.param.message.find(' ')) +
                           (row.param.args.empty() ? "" : row.param.args[0]) + row.param.options);
    });

// A link of another scheme goes out only when its handler, as xdg-open finds it, is not this
// program: the user's mimeapps.list names the desktop entry, found on XDG_DATA_HOME.
TEST_F(GatewayTest, ALinkWhoseHandlerIsThisProgramIsRefused) {
  TempDir data;
  fs::create_directory(data.path() / "applications");
  data.Write("applications/self.desktop", "[Desktop Entry]\nType=Application\nName=S\nExec=\"" +
                                              (program_dir_->path() / "tolvexgateway").string() +
                                              "\" %u\n");
  data.Write("applications/other.desktop",
             "[Desktop Entry]\nType=Application\nName=O\nExec=tolvex-viewer %u\n");
  WriteOptions(OptionFile("geo:$lat.d(.1r),$lon.d(.1r)"));
  const auto run = [&](const char* handler) {
    config_dir_.Write("mimeapps.list", "[Default Applications]\nx-scheme-handler/geo=" +
                                           std::string(handler) + "\n");
    return Run({"TolVex:35.6,139.7"}, {"XDG_DATA_HOME=" + data.path().string()});
  };
  const ProcessResult self = run("self.desktop");
  EXPECT_EQ(self.exit_status, 1);
  EXPECT_EQ(self.err,
            "TolvexGateway: The active option's command would start TolvexGateway again: "
            "\"geo:35.6,139.7\" (TolvexGateway handles geo: links)\n");
  EXPECT_TRUE(NothingLaunched());
  EXPECT_EQ(run("other.desktop").exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv, std::vector<std::string>{"geo:35.6,139.7"});
}

TEST_F(GatewayTest, MissingOptionFileIsNotCreated) {
  fs::remove(program_dir_->path() / "tolvexgwoption.xml");
  const ProcessResult result = Run({"TolVex:SD9.XC4.EQ2.CV5"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err, "TolvexGateway: Can't Load Option File\n");
  EXPECT_FALSE(fs::exists(program_dir_->path() / "tolvexgwoption.xml"));
  EXPECT_TRUE(NothingLaunched());
}

class OptionRequestTest : public GatewayTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OptionRequestTest, WithoutADisplayLaunchesNothing) {
  const std::string before = Options();
  const ProcessResult result = Run({GetParam()});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("TolvexGateway: "), std::string::npos);
  EXPECT_TRUE(NothingLaunched());
  EXPECT_EQ(Options(), before);
}

INSTANTIATE_TEST_SUITE_P(Arguments, OptionRequestTest,
                         ::testing::Values("option", "TolVex:option", "TolVex: option"),
                         [](const auto& row) { return test::RowName(row.param); });

TEST_F(GatewayTest, NoOpenerAtAllExitsWithTwo) {
  TempDir empty;
  const ProcessResult result = Run({"TolVex:SD9.XC4.EQ2.CV5"}, {}, empty.path().string());
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_NE(result.err.find("cannot start \"xdg-open\""), std::string::npos) << result.err;
}

TEST_F(GatewayTest, UnknownProgramExitsWithTwo) {
  WriteOptions(OptionFile("no-such-program-anywhere $ost"));
  const ProcessResult result = Run({"TolVex:SD9.XC4.EQ2.CV5"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_NE(result.err.find("no-such-program-anywhere"), std::string::npos) << result.err;
  EXPECT_TRUE(NothingLaunched());
}

struct NotStartedCase {
  const char* name;
  std::string template_text;
  std::string message;  // the whole line on standard error
};

// What cannot be started is named in one short line, however long the command line.
class NotStartedTest : public GatewayTest, public ::testing::WithParamInterface<NotStartedCase> {};

TEST_P(NotStartedTest, SaysSoInOneShortLine) {
  WriteOptions(OptionFile(GetParam().template_text));
  const ProcessResult result = Run({"TolVex:SD9.XC4.EQ2.CV5"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(result.err, GetParam().message);
  EXPECT_TRUE(NothingLaunched());
}

std::vector<NotStartedCase> NotStartedCases() {
  const std::string megabyte(1 << 20, 'x');
  const std::string long_name = "no-such-program-" + std::string(220, 'y');
  const std::string cut_name = long_name.substr(0, 200) + "\u2026";
  return {
      // One argument above the kernel's limit for a single string: "Argument list too long".
      {"ArgumentListTooLong", "tolvex-viewer $ost " + megabyte,
       "TolvexGateway: cannot start \"tolvex-viewer\" to open \"tolvex-viewer SD9.XC4.EQ2.CV5 " +
           megabyte.substr(0, 200 - 30) + "\u2026\": Argument list too long\n"},
      {"LongUnknownProgram", long_name + " $ost",
       "TolvexGateway: cannot start \"" + cut_name + "\" to open \"" + cut_name +
           "\": No such file or directory\n"},
  };
}

INSTANTIATE_TEST_SUITE_P(Templates, NotStartedTest, ::testing::ValuesIn(NotStartedCases()),
                         TOLVEX_ROW_NAMES(name));

struct HostileCase {
  std::string argument;
  std::string message;  // what follows "TolvexGateway: "
};

std::vector<HostileCase> HostileCases() {
  const std::string far(100000, 'A');
  const std::string stray(100000, '\x80');  // bytes that start no UTF-8 character
  std::string replaced;
  for (int i = 0; i < 200; ++i) replaced += "\uFFFD";
  return {
      {"TolVex:" + stray, "Invalid Location: \"" + replaced + "\u2026\""},
      {stray, "Invalid Data: \"" + replaced + "\u2026\""},
      {"\"TolVex:35,139\xC0\"", "Invalid Location: \"35,139\uFFFD\""},
      {"\xFEoption", "Invalid Data: \"\uFFFDoption\""},
      {"TolVex:1,2\" --x \"", "Invalid Location: \"1,2\" --x \"\""},
      {"TolVex:35,139 --help", "Invalid Location: \"35,139 --help\""},
      {"TolVex:-35,-139 -rf", "Invalid Location: \"-35,-139 -rf\""},
      {"TolVex:$(reboot)", "Invalid Location: \"$(reboot)\""},
      {"TolVex:35,139$(id)", "Invalid Location: \"35,139$(id)\""},
      {"TolVex:`id`", "Invalid Location: \"`id`\""},
      {"TolVex:35,139;id", "Invalid Location: \"35,139;id\""},
      {"TolVex:35,139 && id", "Invalid Location: \"35,139 && id\""},
      {"TolVex:35,139|id", "Invalid Location: \"35,139|id\""},
      {"TolVex:35^,139", "Invalid Location: \"35^,139\""},
      {"TolVex:%PATH%,139", "Invalid Location: \"%PATH%,139\""},
      {"TolVex:35,139\\\"", "Invalid Location: \"35,139\\\"\""},
      {"geo:35,139\" --x \"", "Invalid Location: \"35,139\" --x \"\""},
      {"geo:$(id),139", "Invalid Location: \"$(id),139\""},
      {"geo:35,139,`id`", "Invalid Location: \"35,139,`id`\""},
      {"geo:35,139;crs=wgs84%0Acalc", "Invalid Location: \"35,139;crs=wgs84%0Acalc\""},
      {"geo:0,0?q=%24(reboot)", "Invalid Location: \"0,0?q=$(reboot)\""},
      {"geo:" + stray, "Invalid Location: \"" + replaced + "\u2026\""},
      // A message never holds a line break or a NUL: control characters show as "%XX".
      {"TolVex:35,139\n", "Invalid Location: \"35,139%0A\""},
      {"TolVex:35,139\r", "Invalid Location: \"35,139%0D\""},
      {"TolVex:SD9.XC4.EQ2.CV5\n", "Invalid Location: \"SD9.XC4.EQ2.CV5%0A\""},
      {"TolVex:SD9.XC4.EQ2.CV5%0A", "Invalid Location: \"SD9.XC4.EQ2.CV5%0A\""},
      {"TolVex:35,139%00", "Invalid Location: \"35,139%00\""},
      {"line\nbreak", "Invalid Data: \"line%0Abreak\""},
      // Encoded quotes, ampersands, semicolons and spaces decode to text that is no pair.
      {"TolVex:1,2%22%20--x%20%22", "Invalid Location: \"1,2\" --x \"\""},
      {"TolVex:35,139%20%26%26%20id", "Invalid Location: \"35,139 && id\""},
      {"TolVex:35,139%3Bid", "Invalid Location: \"35,139;id\""},
      {"TolVex:35%3B139%3Bid", "Invalid Location: \"35;139;id\""},
      {"TolVex:35,139%26id%3D1", "Invalid Location: \"35,139&id=1\""},
      {"TolVex:35%2C139%2C0", "Invalid Location: \"35,139,0\""},
      {"TolVex:%2524(id),139", "Invalid Location: \"%24(id),139\""},
      {"TolVex:\xEF\xBC\x93\xEF\xBC\x95,139", "Invalid Location: \"\xEF\xBC\x93\xEF\xBC\x95,139\""},
      {"TolVex:\xEF\xBC\xB3"
       "D9.XC4.EQ2.CV5",
       "Invalid Location: \"\xEF\xBC\xB3"
       "D9.XC4.EQ2.CV5\""},
      {"TolVex%3A35,139", "Invalid Data: \"TolVex%3A35,139\""},
      {"TolVex:1e1,0", "Invalid Location: \"1e1,0\""},
      {"TolVex:0x10,0", "Invalid Location: \"0x10,0\""},
      {"TolVex:inf,nan", "Invalid Location: \"inf,nan\""},
      {"--help", "Invalid Data: \"--help\""},
      {"", "Invalid Data: \"\""},
      {"TolVex:" + far, "Invalid Location: \"" + far.substr(0, 200) + "\u2026\""},
      {far, "Invalid Data: \"" + far.substr(0, 200) + "\u2026\""},
  };
}

// Links any web page can contain: each is refused with its message and launches nothing.
class HostileLinkTest : public GatewayTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileLinkTest, LaunchesNothing) {
  const ProcessResult result = Run({GetParam().argument});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err, "TolvexGateway: " + GetParam().message + "\n");
  EXPECT_TRUE(NothingLaunched());
}

INSTANTIATE_TEST_SUITE_P(Links, HostileLinkTest, ::testing::ValuesIn(HostileCases()),
                         TOLVEX_ROW_NAMES(argument));

// Odd but valid links: only the rendered numbers and the geocode reach the command line.
struct ValidLinkCase {
  std::string argument;
  std::vector<std::string> words;
};

class ValidLinkTest : public GatewayTest, public ::testing::WithParamInterface<ValidLinkCase> {};

TEST_P(ValidLinkTest, PassesOnlyNumbersAndTheGeocode) {
  WriteOptions(OptionFile("tolvex-viewer $lat.d() $lon.d() $ost $zoom"));
  ASSERT_EQ(Run({GetParam().argument}).exit_status, 0);
  const auto launch = WaitForLaunch();
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->argv, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ValidLinkTest,
    ::testing::ValuesIn(std::vector<ValidLinkCase>{
        {"TolVex:+35.60000000000000000000000001,\t139 ",
         {"35.600000000000001", "139", "SD6.XB0.ZL0.CX1", "16"}},
        {"\"TolVex:  -0;-0  \"", {"0", "0", "NA0.NA0.AA0.AA0", "16"}},
        {"TOLVEX:90;-180.0", {"90", "-180", "ZZ9.AA0.ZZ9.AA0", "16"}},
        // Labels, searches, parameters and a zoom that is no number never reach the command.
        {"geo:0,0;u=$(id);crs=WGS84;x=`id`?q=35.6,139($(reboot)%22+calc)&z=3;rm&u=%0A",
         {"35.600000000000001", "139", "SD6.XB0.ZL0.CX1", "16"}},
        {"geo:35.6,139,0;z=1e9&z=100?q=\" --x",
         {"35.600000000000001", "139", "SD6.XB0.ZL0.CX1", "21"}},
    }),
    TOLVEX_ROW_NAMES(argument));

// Under a locale whose decimal separator is the comma, fields are written with it, and links,
// which do not know the reader's locale, are still read with ".". The locale is compiled into a
// folder of the test's own (LOCPATH), so that no system locale needs to be installed.
class CommaLocaleTest : public GatewayTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CommaLocaleTest, WritesFieldsInTheLocaleAndReadsLinksWithADot) {
  TempDir locales;
  const std::string locale = std::string(GetParam()) + ".UTF-8";
  const std::string compile = "localedef -i " + std::string(GetParam()) + " -f UTF-8 " +
                              (locales.path() / locale).string() + " 2>/dev/null";
  ASSERT_EQ(std::system(compile.c_str()), 0) << "localedef (package locales) is needed";
  const std::vector<std::string> env = {"LOCPATH=" + locales.path().string(), "LC_ALL=" + locale};
  WriteOptions(OptionFile("tolvex-viewer $lat.d() $lat.d(+03.4r) $lon.d(.2r)"));

  for (const char* link :
       {"TolVex:SD9.XC4.EQ2.CV5", "TolVex:35.65858075697629,139.74543520885123"}) {
    SCOPED_TRACE(link);
    fs::remove(record_);
    ASSERT_EQ(Run({link}, env).exit_status, 0);
    const auto launch = WaitForLaunch();
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->argv,
              (std::vector<std::string>{"35,658580756976292", "+035.6586", "139.75"}));
  }
  fs::remove(record_);
  ASSERT_EQ(Run({"TolVex:35;139"}, env).exit_status, 0);
  ASSERT_TRUE(WaitForLaunch());

  fs::remove(record_);
  const ProcessResult result = Run({"TolVex:35,6;139,5"}, env);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err, "TolvexGateway: Invalid Location: \"35,6;139,5\"\n");
  EXPECT_TRUE(NothingLaunched());
}

INSTANTIATE_TEST_SUITE_P(Locales, CommaLocaleTest, ::testing::Values("de_DE", "fr_FR"),
                         [](const auto& row) { return std::string(row.param); });

TEST_F(GatewayTest, LongArgumentIsQuotedShort) {
  const ProcessResult result = Run({"TolVex:" + std::string(100000, '9')});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err,
            "TolvexGateway: Invalid Location: \"" + std::string(200, '9') + "\u2026\"\n");
}

}  // namespace
}  // namespace tolvex
