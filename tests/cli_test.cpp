// The tolvex tool through its built binary: arguments, standard input, messages, exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/row_name.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"
#include "version.h"

namespace tolvex {
namespace {

using test::ProcessOptions;
using test::ProcessResult;
using test::RunProcess;
using test::TempDir;

const std::string kTolvex = std::string(TOLVEX_BIN_DIR) + "/tolvex";

// The options of expand's option files, in the layout of the shipped one.
constexpr const char* kExpandOptions =
    "  <option id=\"Geocode\" area=\"World\" zoom=\"9\">viewer $ost $zoom</option>\n"
    "  <option id=\"Map\" area=\"World\">"
    "https://map.example/?lat=$lat.d(-.6r)&amp;lon=$lon.d(-.6r)</option>\n"
    "  <option id=\"Tokyo\" area=\"Japan\" datum=\"tokyo\">"
    "viewer $lat.d(+03.4r) $lon.d(+03.4r)</option>\n"
    "  <option id=\"Tab&#9;Id\" area=\"&#x2028;\">t &amp; $zoom&#10;map:Fake&#9;&#x85;</option>\n";

struct CliCase {
  const char* name;
  std::vector<std::string> args;
  std::string input;
  int status;
  std::string out;
  std::string err_contains;  // empty: standard error must be empty
};

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

class TolvexCliTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(TolvexCliTest, Runs) {
  const CliCase& c = GetParam();
  ProcessOptions options;
  options.input = c.input;
  // Scripts get "." whatever the user's locale.
  options.env_set = {"LC_ALL=de_DE.UTF-8"};
  const auto result = RunProcess(kTolvex, c.args, options);
  EXPECT_EQ(result.exit_status, c.status) << result.err;
  EXPECT_EQ(result.out, c.out);
  if (c.err_contains.empty()) {
    EXPECT_EQ(result.err, "");
  } else {
    EXPECT_NE(result.err.find(c.err_contains), std::string::npos) << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TolvexCliTest,
    ::testing::Values(
        CliCase{"Encode", {"encode", "35.658581", "139.745433"}, "", 0, "SD9.XC4.EQ2.CV5\n", ""},
        CliCase{
            "EncodeNegative", {"encode", "-33.8568", "151.2153"}, "", 0, "IC8.XX9.MS6.MR4\n", ""},
        CliCase{"EncodeOneCommaArgument",
                {"encode", "51.4778,-0.0015"},
                "",
                0,
                "UL3.MZ9.HF5.ZH0\n",
                ""},
        CliCase{"EncodeAfterDoubleDash",
                {"encode", "--", "-90", "-180"},
                "",
                0,
                "AA0.AA0.AA0.AA0\n",
                ""},
        CliCase{"EncodePlusSign", {"encode", "+0", "+0"}, "", 0, "NA0.NA0.AA0.AA0\n", ""},
        CliCase{"Decode", {"decode", "NA0.NA0.AA0.AA0"}, "", 0, "0 0\n", ""},
        CliCase{"DecodeShortestText",
                {"decode", "ZZ9.ZZ9.ZZ9.ZZ9"},
                "",
                0,
                "89.99999606106229 179.99999212212458\n",
                ""},
        CliCase{"Tokyo",
                {"tokyo", "35.658581", "139.745433"},
                "",
                0,
                "35.65535210834555 139.7486396891445\n",
                ""},
        CliCase{"TokyoOrigin", {"tokyo", "0", "0"}, "", 0, "-0.004602 -0.010041\n", ""},
        CliCase{"LatitudeOutOfRange",
                {"encode", "91", "0"},
                "",
                1,
                "",
                "latitude \"91\" is outside -90...90"},
        CliCase{"LongitudeOutOfRange",
                {"tokyo", "0", "-180.5"},
                "",
                1,
                "",
                "longitude \"-180.5\" is outside -180...180"},
        CliCase{"NotANumber", {"encode", "35,6", "139"}, "", 1, "", "\"35,6\" is not a number"},
        CliCase{
            "TrailingGarbage", {"encode", "35.6x", "139"}, "", 1, "", "\"35.6x\" is not a number"},
        CliCase{"DoubleSign", {"encode", "+-1", "0"}, "", 1, "", "\"+-1\" is not a number"},
        // Numbers as links write them: no words, no exponent, nothing beyond a double.
        CliCase{"Infinite", {"encode", "inf", "0"}, "", 1, "", "\"inf\" is not a number"},
        CliCase{"NotFiniteNan", {"tokyo", "0", "nan"}, "", 1, "", "\"nan\" is not a number"},
        CliCase{"Exponent", {"encode", "3.5e1", "0"}, "", 1, "", "\"3.5e1\" is not a number"},
        CliCase{
            "Overflow", {"encode", "0", "1" + std::string(400, '0')}, "", 1, "", "is not a number"},
        CliCase{"QuotedAsEveryMessage", {"encode", "1\n2", "0"}, "", 1, "", "\"1%0A2\" is not"},
        CliCase{"NotAGeocode",
                {"decode", "sd9.xc4.eq2.cv5"},
                "",
                1,
                "",
                "\"sd9.xc4.eq2.cv5\" is not a geocode"},
        CliCase{"StdinEncode",
                {"encode"},
                "35.658581 139.745433\n0,0\r\n-90;-180\n",
                0,
                "SD9.XC4.EQ2.CV5\nNA0.NA0.AA0.AA0\nAA0.AA0.AA0.AA0\n",
                ""},
        CliCase{"StdinBadLinesGoOn",
                {"encode"},
                "0 0\nabc def\n\n91 0\n1 2 3\n0 0",
                1,
                "NA0.NA0.AA0.AA0\nNA0.NA0.AA0.AA0\n",
                "line 2: \"abc\" is not a number"},
        CliCase{"StdinReportsLineNumbers",
                {"decode"},
                "AA0.AA0.AA0.AA0\nnope\n",
                1,
                "-90 -180\n",
                "line 2: \"nope\" is not a geocode"},
        CliCase{"StdinOutOfRangeLine",
                {"tokyo"},
                "0 0\n0 181\n",
                1,
                "-0.004602 -0.010041\n",
                "line 2: longitude \"181\" is outside"},
        CliCase{"Version", {"--version"}, "", 0, "tolvex " TOLVEX_VERSION "\n", ""},
        CliCase{"NoCommand", {}, "", 2, "", "Usage:"},
        CliCase{"UnknownCommand", {"convert", "1", "2"}, "", 2, "", "unknown command \"convert\""},
        CliCase{"EncodeTooManyArguments", {"encode", "1", "2", "3"}, "", 2, "", "Usage:"},
        CliCase{"DecodeTwoArguments", {"decode", "AA0.AA0.AA0.AA0", "x"}, "", 2, "", "Usage:"}),
    [](const auto& row) { return std::string(row.param.name); });

// `tolvex expand`, `show` or `maps` run from a folder of its own, which holds the catalogue and
// the option file `file` (none when null) with `current` as its currentsetting; "@" in an
// argument or the message stands for the folder. Numbers are written in the user's locale, as
// the gateway writes them. A command that fails leaves the file's bytes; after `maps`, what
// `maps list` then prints follows the output.
struct ExpandCase {
  const char* name;
  std::vector<std::string> args;  // after "expand"
  const char* file;
  const char* current;
  int status;
  std::string out;
  std::string err_contains = {};  // empty: standard error must be empty
  bool comma_locale = false;      // de_DE instead of C.UTF-8
  const char* command = "expand";
  std::string file_contains = {};  // a text the option file holds afterwards
  std::string input = {};          // standard input
  unsigned mode = 0;               // the option file's mode bits, when not the default
};

void PrintTo(const ExpandCase& c, std::ostream* os) { *os << c.name; }

class TolvexExpandTest : public ::testing::TestWithParam<ExpandCase> {};

std::string WithFolder(std::string text, const std::string& folder) {
  if (const auto at = text.find('@'); at != std::string::npos) text.replace(at, 1, folder);
  return text;
}

TEST_P(TolvexExpandTest, PrintsWhatTheLinkWouldOpen) {
  const ExpandCase& c = GetParam();
  TempDir dir;
  const std::string tool = (dir.path() / "tolvex").string();
  std::filesystem::copy_file(kTolvex, tool);
  std::filesystem::copy_file(std::string(TOLVEX_BIN_DIR) + "/tolvexgwcatalogue.xml",
                             dir.path() / "tolvexgwcatalogue.xml");
  // A null `current`: a root without currentsetting.
  const std::string root = c.current == nullptr ? std::string("<tolvexgateway_optionlist>\n")
                                                : "<tolvexgateway_optionlist currentsetting=\"" +
                                                      std::string(c.current) + "\">\n";
  const std::string bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + root + kExpandOptions +
                            "</tolvexgateway_optionlist>\n";
  if (c.file != nullptr) dir.Write(c.file, bytes);
  if (c.mode != 0) {
    ASSERT_EQ(::chmod(dir.File(c.file).c_str(), c.mode), 0);
  }
  std::vector<std::string> args = {c.command};
  std::vector<std::string> list = {"maps"};
  for (const std::string& arg : c.args) args.push_back(WithFolder(arg, dir.path().string()));
  if (args.size() > 2 && args[1] == "--options") list = {"maps", "--options", args[2]};
  list.push_back("list");
  ProcessOptions options;
  // The user's own folder, empty: the tool reads and writes the file beside it.
  options.env_set = {"LC_ALL=C.UTF-8", "XDG_CONFIG_HOME=" + dir.File("config")};
  if (c.comma_locale) options.env_set[0] = "LC_ALL=de_DE.UTF-8";  // compiled by scripts/setup
  options.input = c.input;
  auto result = RunProcess(tool, args, options);
  if (c.command == std::string("maps") && args.back() != "list") {
    result.out += RunProcess(tool, list, options).out;
  }
  // A read-only file keeps its bytes (the user's own file takes the change) unless forced,
  // and its mark in any case.
  const bool forced = std::find(c.args.begin(), c.args.end(), "--force") != c.args.end();
  const bool read_only = c.mode != 0 && (c.mode & S_IWUSR) == 0;
  if (c.file != nullptr &&
      (c.status != 0 || c.command != std::string("maps") || (read_only && !forced))) {
    EXPECT_EQ(test::ReadFile(dir.path() / c.file), bytes);
  }
  struct stat info {};
  if (c.mode != 0 && ::stat(dir.File(c.file).c_str(), &info) == 0) {
    EXPECT_EQ(info.st_mode & 07777, c.mode);
  }
  if (!c.file_contains.empty()) {
    EXPECT_NE(test::ReadFile(dir.path() / c.file).find(c.file_contains), std::string::npos);
  }
  EXPECT_EQ(result.exit_status, c.status) << result.err;
  EXPECT_EQ(result.out, c.out);
  if (c.err_contains.empty()) {
    EXPECT_EQ(result.err, "");
  } else {
    EXPECT_NE(result.err.find(WithFolder(c.err_contains, dir.path().string())), std::string::npos)
        << result.err;
  }
}

constexpr const char* kBeside = "tolvexgwoption.xml";
const std::string kAtTokyoTower = "https://map.example/?lat=35.658581&lon=139.745433\n";
const std::string kTokyoDatum = "viewer $lat.d(+03.4r) $lon.d(+03.4r)";
// `maps list` of the file, its active map marked.
std::string Listed(std::string_view active, std::string_view added = "") {
  std::string lines;
  for (const auto& [id, line] : std::vector<std::pair<std::string_view, std::string>>{
           {"Geocode", "Geocode\tWorld\t\t9\tviewer $ost $zoom\n"},
           {"Map", "Map\tWorld\t\t\thttps://map.example/?lat=$lat.d(-.6r)&lon=$lon.d(-.6r)\n"},
           {"Tokyo", "Tokyo\tJapan\ttokyo\t\tviewer $lat.d(+03.4r) $lon.d(+03.4r)\n"},
           {"Tab\tId", "Tab%09Id\t%E2%80%A8\t\t\tt & $zoom%0Amap:Fake%09%C2%85\n"}}) {
    lines += (id == active ? "* " : "  ") + line;
  }
  return lines + std::string(added);
}
// What `show` prints before the maps, and the maps' lines for Tokyo Tower's pair.
const std::string kShownPair =
    "coordinates\t35.658581, 139.745433\ndms\t35\u00B039'30.9\"N 139\u00B044'43.6\"E\n"
    "geocode\tSD9.XC4.EQ2.CV5\npluscode\t8Q7XMP5W+C5\ntolvex\tTolVex:SD9.XC4.EQ2.CV5\n"
    "geo\tgeo:35.658581,139.745433\n";
const std::string kShownMaps =
    "map:Geocode\tviewer SD9.XC4.EQ2.CV5 9\nmap:Map\t" + kAtTokyoTower +
    "map:Tokyo\tviewer +035.6554 +139.7486\nmap:Tab%09Id\tt & 16%0Amap:Fake%09%C2%85\n";
const std::string kRulesOfTheWindow = "The zoom must be blank or a whole number from 0 to 21";

// One row a line: the table reads as a table.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, TolvexExpandTest, ::testing::ValuesIn(std::vector<ExpandCase>{
    {"GeocodeLinkBesideTheTool", {"TolVex:SD9.XC4.EQ2.CV5"},
     kBeside, "Geocode", 0, "viewer SD9.XC4.EQ2.CV5 9\n"},
    {"GeoLinkWithItsZoom", {"geo:35.65858075697629,139.74543520885123;u=35?z=12"},
     kBeside, "Geocode", 0, "viewer SD9.XC4.EQ2.CV5 12\n"},
    {"PairLinkBesideTheTool", {"TolVex:35.658581,139.745433"}, kBeside, "Map", 0, kAtTokyoTower},
    {"GeocodeThroughPictures", {"TolVex:SD9.XC4.EQ2.CV5"},
     kBeside, "Map", 0, "https://map.example/?lat=35.658581&lon=139.745435\n"},
    {"PercentEncodedLowerCaseLink", {"tolvex:35.658581,%20139.745433"},
     kBeside, "Map", 0, kAtTokyoTower},
    {"BarePairWithOptions", {"--options", "@/my.xml", "35.658581;139.745433"},
     "my.xml", "Map", 0, kAtTokyoTower},
    {"WordsJoinAsTheGatewayJoinsThem", {"--options", "@/my.xml", "35.658581,", "139.745433"},
     "my.xml", "Map", 0, kAtTokyoTower},
    {"TokyoDatumOption", {"TolVex:SD9.XC4.EQ2.CV5"},
     kBeside, "Tokyo", 0, "viewer +035.6554 +139.7486\n"},
    {"TemplateWithTokyoDatum", {"--template", kTokyoDatum, "--datum", "tokyo", "SD9.XC4.EQ2.CV5"},
     nullptr, "", 0, "viewer +035.6554 +139.7486\n"},
    {"TemplateIsWgs84Otherwise", {"--template", kTokyoDatum, "SD9.XC4.EQ2.CV5"},
     nullptr, "", 0, "viewer +035.6586 +139.7454\n"},
    {"TemplateWithLineBreaksStaysOneLine", {"--template", "$ost\r\nmap:Fake\t\u2029", "SD9.XC4.EQ2.CV5"},
     nullptr, "", 0, "SD9.XC4.EQ2.CV5%0D%0Amap:Fake%09%E2%80%A9\n"},
    {"LocationAfterDoubleDash", {"--template", "$ost", "--", "-33.8568,151.2153"},
     nullptr, "", 0, "IC8.XX9.MS6.MR4\n"},
    {"CommaLocaleWritesItsSeparator",
     {"--template", "$lat.d()", "TolVex:35.65858075697629,139.74543520885123"}, nullptr, "", 0, "35,658580756976292\n", "", true},
    // Any place text: a map service's link, a pasted message, plus codes; nothing is fetched.
    {"MapServiceLink", {"--template", "$ost $zoom", "https://maps.gsi.go.jp/#12/35.658581/139.745433/"},
     nullptr, "", 0, "SD9.XC4.EQ2.CV5 12\n"},
    {"PastedMessageOnStandardInput", {"--template", "$ost $zoom", "-"}, nullptr, "", 0, "SD9.XC4.EQ2.CV5 9\n", "", false,
     "expand", "", "Meet at\nhttps://www.openstreetmap.org/#map=9/35.658581/139.745433 at six.\n"},
    {"ShortPlusCode", {"MP5W+C5", "Tokyo"}, kBeside, "Map", 1, "", "tolvex: a short plus code needs a nearby place: \"MP5W+C5 Tokyo\""},
    {"NearRecoversAShortPlusCode", {"--template", "$lat.d(-.6r),$lon.d(-.6r)", "--near", "35.68,139.69", "MP5W+C5"},
     nullptr, "", 0, "35.658563,139.745437\n"},
    {"ShortLinkIsNotFetched", {"https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6"}, kBeside, "Map", 1, "",
     "\"https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6\" is a short link: it names no place until its web server is asked."},
    {"InvalidLocation", {"TolVex:91,0"},
     kBeside, "Map", 1, "", "tolvex: Invalid Location: \"91,0\""},
    {"CommaDecimalsAreRefused", {"TolVex:35,6;139,7"},
     kBeside, "Map", 1, "", "Invalid Location: \"35,6;139,7\""},
    {"MissingOptionFile", {"--options", "@/none.xml", "SD9.XC4.EQ2.CV5"},
     nullptr, "", 1, "", "Can't Load Option File (@/none.xml)"},
    {"NoOptionFileBesideTheTool", {"SD9.XC4.EQ2.CV5"},
     nullptr, "", 1, "", "Can't Load Option File (@/tolvexgwoption.xml)"},
    {"CurrentNamesNoOption", {"SD9.XC4.EQ2.CV5"},
     kBeside, "Gone", 1, "", "Can't Load Current Value"},
    {"OptionRequest", {"option"}, kBeside, "Map", 1, "", "\"option\" opens the option dialog"},
    {"NoLocation", {}, kBeside, "Map", 2, "", "no location given"},
    {"OptionsAndTemplate", {"--options", "@/my.xml", "--template", "$ost", "SD9.XC4.EQ2.CV5"},
     "my.xml", "Map", 2, "", "--options and --template exclude each other"},
    {"DatumWithoutTemplate", {"--datum", "tokyo", "SD9.XC4.EQ2.CV5"},
     kBeside, "Map", 2, "", "--datum goes with --template"},
    {"UnknownOption", {"--dry-run", "SD9.XC4.EQ2.CV5"},
     kBeside, "Map", 2, "", "unknown option \"--dry-run\""},
    {"OptionWithoutValue", {"SD9.XC4.EQ2.CV5", "--template"},
     kBeside, "Map", 2, "", "--template needs a value"},
    // tolvex show: the place in every format, numbers with "." in every locale, then each map.
    {"ShowPair", {"--options", "@/my.xml", "TolVex:35.658581,139.745433"},
     "my.xml", "Map", 0, kShownPair + kShownMaps, "", false, "show"},
    {"ShowPairGerman", {"--options", "@/my.xml", "35.658581,139.745433"},
     "my.xml", "Map", 0, kShownPair + kShownMaps, "", true, "show"},
    {"ShowGeocodeBesideTheTool", {"SD9.XC4.EQ2.CV5"}, kBeside, "Map", 0,
     "coordinates\t35.658581, 139.745435\ndms\t35\u00B039'30.9\"N 139\u00B044'43.6\"E\n"
     "geocode\tSD9.XC4.EQ2.CV5\npluscode\t8Q7XMP5W+C5\ntolvex\tTolVex:SD9.XC4.EQ2.CV5\ngeo\tgeo:35.658581,139.745435\n"
     "map:Geocode\tviewer SD9.XC4.EQ2.CV5 9\nmap:Map\thttps://map.example/?lat=35.658581&lon=139.745435\n"
     "map:Tokyo\tviewer +035.6554 +139.7486\nmap:Tab%09Id\tt & 16%0Amap:Fake%09%C2%85\n", "", false, "show"},
    {"ShowGeoLinkWithZoom", {"geo:-33.856784,-70.1?z=12"}, kBeside, "Map", 0,
     "coordinates\t-33.856784, -70.100000\ndms\t33\u00B051'24.4\"S 70\u00B006'00.0\"W\n"
     "geocode\tIC8.HY3.MT0.RQ2\npluscode\t47RF4WV2+72\ntolvex\tTolVex:IC8.HY3.MT0.RQ2\ngeo\tgeo:-33.856784,-70.100000?z=12\n"
     "map:Geocode\tviewer IC8.HY3.MT0.RQ2 12\nmap:Map\thttps://map.example/?lat=-33.856784&lon=-70.100000\n"
     "map:Tokyo\tviewer -033.8638 -070.1174\nmap:Tab%09Id\tt & 12%0Amap:Fake%09%C2%85\n", "", false, "show"},
    {"ShowGeoLinkWithoutZoomGerman", {"geo:0,0"}, kBeside, "Map", 0,
     "coordinates\t0.000000, 0.000000\ndms\t0\u00B000'00.0\"N 0\u00B000'00.0\"E\n"
     "geocode\tNA0.NA0.AA0.AA0\npluscode\t6FG22222+22\ntolvex\tTolVex:NA0.NA0.AA0.AA0\ngeo\tgeo:0.000000,0.000000\n"
     "map:Geocode\tviewer NA0.NA0.AA0.AA0 9\nmap:Map\thttps://map.example/?lat=0.000000&lon=0.000000\n"
     "map:Tokyo\tviewer -000.0046 -000.0100\nmap:Tab%09Id\tt & 16%0Amap:Fake%09%C2%85\n", "", true, "show"},
    {"ShowRefusedLocation", {"TolVex:91,0"}, kBeside, "Map", 1, "",
     "tolvex: Invalid Location: \"91,0\"", false, "show"},
    {"ShowOption", {"option"}, kBeside, "Map", 1, "", "show needs a location", false, "show"},
    {"ShowNoLocation", {}, kBeside, "Map", 2, "", "no location given", false, "show"},
    {"ShowMissingOptionFile", {"--options", "@/none.xml", "SD9.XC4.EQ2.CV5"}, nullptr, "", 1, "",
     "Can't Load Option File (@/none.xml)", false, "show"},
    // tolvex maps: the option window's rules and messages; a refused change leaves the file.
    {"MapsList", {"--options", "@/my.xml", "list"}, "my.xml", "Map", 0, Listed("Map"), "", false,
     "maps"},
    {"MapsAdd", {"--options", "@/my.xml", "add", "New", "n?a=1&z=$zoom", "--area", "Earth",
                 "--zoom", "3", "--datum", "tokyo"}, "my.xml", "Map", 0,
     Listed("Map", "  New\tEarth\ttokyo\t3\tn?a=1&z=$zoom\n"), "", false, "maps",
     "<option id=\"New\" area=\"Earth\" datum=\"tokyo\" zoom=\"3\">n?a=1&amp;z=$zoom</option>\n"},
    {"MapsAddKeepsTheTemplateAsTyped",
     {"--options", "@/my.xml", "add", "S", "a&b <c> \"q\" <script>x()</script>"}, "my.xml", "Map",
     0, Listed("Map", "  S\t\twgs84\t\ta&b <c> \"q\" <script>x()</script>\n"), "", false, "maps"},
    {"MapsAddBesideTheTool", {"add", "B", "b"}, kBeside, "Map", 0,
     Listed("Map", "  B\t\twgs84\t\tb\n"), "", false, "maps"},
    {"MapsEmptyId", {"--options", "@/my.xml", "add", "", "t"}, "my.xml", "Map", 1, Listed("Map"),
     "tolvex: The id must not be empty", false, "maps"},
    {"MapsIdWithControlCharacter", {"--options", "@/my.xml", "add", "a\tb", "t"}, "my.xml", "Map",
     1, Listed("Map"), "The id must not hold a control character: \"a%09b\"", false, "maps"},
    {"MapsDuplicateId", {"--options", "@/my.xml", "add", "Tokyo", "t"}, "my.xml", "Map", 1,
     Listed("Map"), "Another map already has the id \"Tokyo\"", false, "maps"},
    {"MapsIdOfOnlyBlanks", {"--options", "@/my.xml", "add", "   ", "t"}, "my.xml", "Map", 1,
     Listed("Map"), "tolvex: The id must not be only blanks\n", false, "maps"},
    {"MapsIdWithANoncharacter", {"--options", "@/my.xml", "add", "Nice map\uFFFE", "t"}, "my.xml",
     "Map", 1, Listed("Map"), "The id must not hold U+FFFE, which an option file cannot hold: "
     "\"Nice map\uFFFE\"", false, "maps"},
    {"MapsAreaWithANoncharacter", {"--options", "@/my.xml", "add", "N", "t", "--area", "\uFFFF"},
     "my.xml", "Map", 1, Listed("Map"), "The area must not hold U+FFFF", false, "maps"},
    {"MapsTemplateWithANoncharacter", {"--options", "@/my.xml", "add", "N", "x\uFFFE"}, "my.xml",
     "Map", 1, Listed("Map"), "The command template must not hold U+FFFE", false, "maps"},
    {"MapsIdThatIsNotUtf8", {"--options", "@/my.xml", "add", "a\xff", "t"}, "my.xml", "Map", 1,
     Listed("Map"), "The id is not UTF-8 text: \"a\uFFFD\"", false, "maps"},
    {"MapsRootWithoutCurrentSetting", {"--options", "@/my.xml", "use", "Tokyo"}, "my.xml",
     nullptr, 1, Listed(""), "Can't Load Option file. XML file may be collasped. (@/my.xml)",
     false, "maps"},
    {"MapsReadOnlyFileNamed", {"--options", "@/my.xml", "use", "Tokyo"}, "my.xml", "Map", 1,
     Listed("Map"), "\"@/my.xml\" is read-only", false, "maps", {}, {}, 0444},
    {"MapsReadOnlyFileForced", {"--options", "@/my.xml", "--force", "use", "Tokyo"}, "my.xml",
     "Map", 0, Listed("Tokyo"), "", false, "maps", {}, {}, 0444},
    {"MapsForceWithoutOptions", {"--force", "use", "Tokyo"}, kBeside, "Map", 2, Listed("Map"),
     "--force goes with --options", false, "maps"},
    // A read-only file beside the program is the administrator's: the user's own file is made.
    {"MapsReadOnlyFileBesideWritesTheUsersOwn", {"use", "Tokyo"}, kBeside, "Map", 0,
     Listed("Tokyo"), "", false, "maps", {}, {}, 0444},
    {"MapsEmptyTemplate", {"--options", "@/my.xml", "add", "N", " "}, "my.xml", "Map", 1,
     Listed("Map"), "The command template must not be empty", false, "maps"},
    {"MapsZoomOutOfRange", {"--options", "@/my.xml", "add", "N", "t", "--zoom", "22"}, "my.xml",
     "Map", 1, Listed("Map"), kRulesOfTheWindow, false, "maps"},
    {"MapsZoomNotANumber", {"--options", "@/my.xml", "add", "N", "t", "--zoom", "x"}, "my.xml",
     "Map", 1, Listed("Map"), kRulesOfTheWindow, false, "maps"},
    {"MapsUnknownDatum", {"--options", "@/my.xml", "add", "N", "t", "--datum", "bessel"},
     "my.xml", "Map", 1, Listed("Map"), "The datum must be wgs84 or tokyo", false, "maps"},
    {"MapsRemoveTheActive", {"--options", "@/my.xml", "remove", "Map"}, "my.xml", "Map", 0,
     "* Geocode\tWorld\t\t9\tviewer $ost $zoom\n" + Listed("").substr(
         Listed("").find("  Tokyo")), "", false, "maps", "currentsetting=\"Geocode\""},
    {"MapsRemoveUnknown", {"--options", "@/my.xml", "remove", "map"}, "my.xml", "Map", 1,
     Listed("Map"), "No map has the id \"map\"", false, "maps"},
    {"MapsUse", {"--options", "@/my.xml", "use", "Tokyo"}, "my.xml", "Map", 0, Listed("Tokyo"), "",
     false, "maps"},
    {"MapsUseUnknown", {"--options", "@/my.xml", "use", "Nowhere"}, "my.xml", "Map", 1,
     Listed("Map"), "No map has the id \"Nowhere\"", false, "maps"},
    {"MapsAskOn", {"--options", "@/my.xml", "ask", "on"}, "my.xml", "Map", 0, Listed("Map"), "",
     false, "maps", "currentsetting=\"Map\" ask=\"true\">"},
    {"MapsCatalogueAdds", {"--options", "@/my.xml", "catalogue", "Waze", "GSI Maps (Japan)"},
     "my.xml", "Map", 0, Listed("Map", "  Waze\tWorld\twgs84\t16\t"
     "https://www.waze.com/ul?ll=$lat.d(-.6r)%2C$lon.d(-.6r)&zoom=$zoom\n  GSI Maps (Japan)\tJapan"
     "\twgs84\t16\thttps://maps.gsi.go.jp/#$zoom/$lat.d(-.6r)/$lon.d(-.6r)/\n"), "", false, "maps"},
    {"MapsCatalogueUnknown", {"--options", "@/my.xml", "catalogue", "Waze", "Nope"}, "my.xml",
     "Map", 1, Listed("Map"), "The catalogue has no map with the id \"Nope\"", false, "maps"},
    {"MapsMissingFile", {"--options", "@/none.xml", "use", "Map"}, nullptr, "", 1, "",
     "Can't Load Option File (@/none.xml)", false, "maps"},
    {"MapsAskNeitherOnNorOff", {"--options", "@/my.xml", "ask", "yes"}, "my.xml", "Map", 2,
     Listed("Map"), "ask takes on or off", false, "maps"},
    {"MapsZoomWithoutAdd", {"--options", "@/my.xml", "use", "Map", "--zoom", "3"}, "my.xml", "Map",
     2, Listed("Map"), "--area, --datum and --zoom go with add", false, "maps"},
    {"MapsUnknownCommand", {"--options", "@/my.xml", "rename", "Map"}, "my.xml", "Map", 2,
     Listed("Map"), "unknown maps command \"rename\"", false, "maps"},
}), TOLVEX_ROW_NAMES(name));
// clang-format on

// Writers of one option file take turns: no change is lost, and one that cannot get its turn
// says so and writes nothing.
class TolvexMapsWritersTest : public ::testing::Test {
 protected:
  TolvexMapsWritersTest()
      : file_(dir_.Write("my.xml", "<tolvexgateway_optionlist currentsetting=\"Map\">\n" +
                                       std::string(kExpandOptions) +
                                       "</tolvexgateway_optionlist>\n")) {}
  ProcessResult Maps(std::vector<std::string> args) const {
    args.insert(args.begin(), {"maps", "--options", file_});
    return RunProcess(kTolvex, args);
  }
  // Runs each command at once, each in a process of its own; their exit statuses.
  std::vector<int> AtOnce(const std::vector<std::vector<std::string>>& commands) const {
    std::vector<int> statuses(commands.size(), -1);
    std::vector<std::thread> runs;
    for (std::size_t i = 0; i < commands.size(); ++i) {
      runs.emplace_back([&, i] { statuses[i] = Maps(commands[i]).exit_status; });
    }
    for (std::thread& run : runs) run.join();
    return statuses;
  }
  TempDir dir_;
  std::string file_;
};

TEST_F(TolvexMapsWritersTest, TwentyAddsAtOnceAllLand) {
  std::vector<std::vector<std::string>> adds;
  for (int i = 0; i < 20; ++i) adds.push_back({"add", "M" + std::to_string(i), "t"});
  EXPECT_EQ(AtOnce(adds), std::vector<int>(20, 0));
  const std::string listed = Maps({"list"}).out;
  for (int i = 0; i < 20; ++i) {
    EXPECT_NE(listed.find("  M" + std::to_string(i) + "\t"), std::string::npos) << i;
  }
}

TEST_F(TolvexMapsWritersTest, AnAddBesideAUseBothLand) {
  for (int i = 0; i < 30; ++i) {
    const std::string id = "A" + std::to_string(i);
    const std::string used = i % 2 == 0 ? "Tokyo" : "Map";
    ASSERT_EQ(AtOnce({{"add", id, "t"}, {"use", used}}), (std::vector<int>{0, 0}));
    const std::string listed = Maps({"list"}).out;
    EXPECT_NE(listed.find("  " + id + "\t"), std::string::npos) << i;
    EXPECT_NE(listed.find("* " + used + "\t"), std::string::npos) << i;
  }
}

TEST_F(TolvexMapsWritersTest, AWriterThatGetsNoTurnWritesNothing) {
  const std::string before = test::ReadFile(file_);
  // Another program holds the lock for longer than a writer waits.
  const int held = ::open(dir_.File(".my.xml.lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const ProcessResult refused = Maps({"use", "Tokyo"});
  ::close(held);
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_EQ(refused.err,
            "tolvex: The option file is being changed by another program; try again.\n");
  EXPECT_EQ(test::ReadFile(file_), before);
  EXPECT_EQ(Maps({"use", "Tokyo"}).exit_status, 0);
}

TEST(TolvexCliHelpTest, HelpGoesToStandardOutput) {
  const auto result = RunProcess(kTolvex, {"--help"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_NE(result.out.find("tolvex encode"), std::string::npos);
  EXPECT_EQ(result.err, "");
}

TEST(TolvexCliStdinTest, BadLinesAreEachReported) {
  ProcessOptions options;
  options.input = "x\nAA0.AA0.AA0.AA0\ny\n";
  const auto result = RunProcess(kTolvex, {"decode"}, options);
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("line 1:"), std::string::npos);
  EXPECT_NE(result.err.find("line 3:"), std::string::npos);
  EXPECT_EQ(result.out, "-90 -180\n");
}

// The worked templates of manual.htm's "Adding a map of your own": each <option> line as the
// page shows it, pasted into an option file, makes the pair link open the address the page
// promises.
struct WorkedExample {
  std::string id;
  std::string option;
  std::string opens;
};

// The text an HTML page shows for `html`, for the few entities the examples use.
std::string PageText(std::string html) {
  for (const auto& [entity, text] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                     {"&gt;", ">"},
                                     {"&quot;", "\""},
                                     {"&amp;", "&"}}) {
    for (auto at = html.find(entity); at != std::string::npos; at = html.find(entity, at + 1)) {
      html.replace(at, entity.size(), text);
    }
  }
  return html;
}

// The text between `open` and `close` from `from` on; advances `from` past it. Empty at the end.
std::string Between(const std::string& page, std::size_t& from, const std::string& open,
                    const std::string& close) {
  const auto start = page.find(open, from);
  const auto end = start == std::string::npos ? start : page.find(close, start + open.size());
  if (end == std::string::npos) return {};
  from = end + close.size();
  return page.substr(start + open.size(), end - start - open.size());
}

std::vector<WorkedExample> WorkedExamples() {
  const std::string page = test::ReadFile(std::string(TOLVEX_BIN_DIR) + "/manual.htm");
  std::vector<WorkedExample> examples;
  std::size_t from = 0;
  for (;;) {
    WorkedExample example;
    example.option = PageText(Between(page, from, "<pre class=\"worked\">", "</pre>"));
    example.opens = PageText(Between(page, from, "<code class=\"opens\">", "</code>"));
    if (example.option.empty() || example.opens.empty()) return examples;
    std::size_t at = 0;
    example.id = Between(example.option, at, "id=\"", "\"");
    examples.push_back(example);
  }
}

class ManualExampleTest : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(ManualExampleTest, OpensWhatThePageSays) {
  const test::TempDir dir;
  const std::string options = dir.Write(
      "tolvexgwoption.xml", "<tolvexgateway_optionlist currentsetting=\"" + GetParam().id + "\">" +
                                GetParam().option + "</tolvexgateway_optionlist>");
  ProcessOptions env;
  env.env_set = {"LC_ALL=C"};
  const auto result =
      RunProcess(kTolvex, {"expand", "--options", options, "TolVex:35.658581,139.745433"}, env);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.out, GetParam().opens + "\n");
}

INSTANTIATE_TEST_SUITE_P(Manual, ManualExampleTest, ::testing::ValuesIn(WorkedExamples()),
                         TOLVEX_ROW_NAMES(id));

TEST(ManualExamplesTest, ThePageShowsFourOrMore) { EXPECT_GE(WorkedExamples().size(), 4U); }

// The page's table of what can be pasted: every example names a place.
TEST(ManualPasteTest, EveryExampleNamesAPlace) {
  const std::string page = test::ReadFile(std::string(TOLVEX_BIN_DIR) + "/manual.htm");
  std::size_t from = 0;
  int examples = 0;
  for (std::string text;
       !(text = PageText(Between(page, from, "<code class=\"paste\">", "</code>"))).empty();
       ++examples) {
    const auto result = RunProcess(kTolvex, {"expand", "--template", "$ost", text});
    EXPECT_EQ(result.exit_status, 0) << text << ": " << result.err;
  }
  EXPECT_GE(examples, 15);
}

}  // namespace
}  // namespace tolvex
