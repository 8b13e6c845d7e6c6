// The Win32 option window under Wine. Layout, fonts, icons and tab order are read by the driver
// hosting the window in its own process (font and icon handles are readable only there); the
// behaviour runs TolvexGateway.exe itself: pick, OK, Cancel, Esc, Enter, Help and the messages,
// checked against the option file's bytes afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "dialog/option_layout.h"
#include "dialog/place_card_layout.h"
#include "gateway/option_edit.h"
#include "tests/support/wine_gateway.h"
#include "version.h"

namespace tolvex::test {
namespace {

namespace fs = std::filesystem;
namespace ids = option_layout;
using layout::TwipsRect;
using Lines_ = std::vector<std::string>;

const std::string kTwoOptions =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- kept on save -->\n"
    "<tolvexgateway_optionlist currentsetting=\"Atlas\">\n"
    "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer.exe $lat.d() $lon.d()</option>\n"
    "  <option id=\"Atlas\" area=\"World\" note=\"extra\">atlas.exe $ost</option>\n"
    "</tolvexgateway_optionlist>\n";

const std::string kErrorTitle = "TolVex Gateway: Error";

std::string Box(const std::string& text) { return "box|" + kErrorTitle + "|" + text + "|OK|icon"; }

// What "read" prints: the list, then the texts of GISoptions, oscommand, datum and GISareas.
Lines_ Read(const std::string& list, const std::string& selected, const std::string& command,
            const std::string& datum, const std::string& area) {
  return {"list|" + list, "text|1003|" + selected, "text|1006|" + command, "text|1013|" + datum,
          "text|1011|" + area};
}

Lines_ Join(std::initializer_list<Lines_> parts) {
  Lines_ all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The id and text of the first match of a query, read back with the probe.
Lines_ Query(const fs::path& file, const std::vector<std::string>& queries) {
  std::vector<std::string> args = {"xml", WindowsPath(file)};
  args.insert(args.end(), queries.begin(), queries.end());
  return Lines(RunWine(WindowsBinDir() / "tolvex_probe.exe", args).out);
}

Lines_ Host(const std::string& name, const std::string& options, const Lines_& actions) {
  const fs::path folder = FreshWineFolder(name);
  WriteFile(folder / "tolvexgwoption.xml", options);
  std::vector<std::string> args = {"host", "30000", WindowsPath(folder)};
  args.insert(args.end(), actions.begin(), actions.end());
  return Lines(RunWine(WindowsBinDir() / "tolvex_driver.exe", args).out);
}

Lines_ StartingWith(const Lines_& lines, const std::string& prefix) {
  Lines_ found;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
               [&](const std::string& line) { return line.starts_with(prefix); });
  return found;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
    fields.push_back(line.substr(start, bar - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

int Pixels(int twips) { return (twips * 96 + 720) / 1440; }  // MulDiv(twips, 96, 1440)

struct ControlRow {
  int id;
  const char* class_name;
  const char* text;
  bool in_panel;
  int left, top, width, height;  // twips
  const char* font;              // "face,height,weight,charset" or "none"
  unsigned style_bits;           // all of these must be set
};

constexpr unsigned kTabStop = 0x00010000;
constexpr unsigned kReadOnly = 0x0800;
constexpr unsigned kMultiLine = 0x0004;
constexpr unsigned kDropDown = 0x0002;

const ControlRow kLayout[] = {
    {ids::kOptionTab, "SysTabControl32", "", false, 120, 120, 7815, 5205,
     "MS UI Gothic,-13,400,128", kTabStop},
    {ids::kOptionPanel, "TolvexGatewayPanel", "", false, 240, 720, 7575, 4545, "none", 0},
    {ids::kCancelButton, "Button", "Cancel", false, 6840, 5400, 1095, 375,
     "MS UI Gothic,-12,400,128", kTabStop},
    {ids::kOkButton, "Button", "OK", false, 5640, 5400, 1095, 375, "MS UI Gothic,-12,400,128",
     kTabStop},
    {ids::kApplicationLabel, "Static", "Select GIS Application", true, 240, 360, 3975, 255,
     "MS UI Gothic,-16,400,128", 0},
    {ids::kApplicationBox, "ComboBox", "", true, 240, 600, 7215, 360, "MS UI Gothic,-16,400,128",
     kTabStop | kDropDown},
    {ids::kCommandLabel, "Static", "URL/File", true, 240, 1440, 4215, 255,
     "MS UI Gothic,-16,400,128", 0},
    {ids::kCommandBox, "Edit", "", true, 240, 1680, 7215, 1095, "MS UI Gothic,-16,400,128",
     kTabStop | kReadOnly | kMultiLine},
    {ids::kPicture, "Static", "", true, 240, 3120, 1440, 1440, "none", 0},
    {ids::kVersionLine, "Static", "TolvexGateway Version " TOLVEX_VERSION, true, 1800, 3960, 5775,
     255, "MS UI Gothic,-16,400,128", 0},
    {ids::kCopyrightLine, "Static", "Copyright (C) 2026 the TolvexGateway authors", true, 1800,
     4200, 5775, 255, "MS UI Gothic,-16,400,128", 0},
    {ids::kAreaLabel, "Static", "Valid Area", true, 3600, 2955, 1215, 255,
     "MS UI Gothic,-16,400,128", 0},
    {ids::kAreaBox, "Edit", "", true, 4680, 2880, 975, 375, "MS UI Gothic,-16,400,128",
     kTabStop | kReadOnly},
    {ids::kDatumLabel, "Static", "Datum", true, 5880, 2955, 735, 255, "MS UI Gothic,-16,400,128",
     0},
    {ids::kDatumBox, "Edit", "", true, 6600, 2910, 855, 360, "MS UI Gothic,-16,400,128",
     kTabStop | kReadOnly},
};

// An empty option file keeps the boxes empty, so that only the fixed captions are compared.
TEST(OptionWindowLayoutTest, ControlsHaveTheirClassTextGeometryAndFont) {
  const Lines_ lines = Host("layout", "", {"dump", "close"});
  std::map<std::string, std::vector<std::string>> controls;  // "id|class" -> fields
  for (const std::string& line : StartingWith(lines, "control|")) {
    const auto fields = Split(line);
    controls[fields[1] + "|" + fields[2]] = fields;
  }
  for (const ControlRow& row : kLayout) {
    SCOPED_TRACE(std::to_string(row.id) + " " + row.class_name);
    const auto found = controls.find(std::to_string(row.id) + "|" + row.class_name);
    ASSERT_NE(found, controls.end());
    const auto& fields = found->second;  // control|id|class|text|parent P|x,y,w,h|font|style S
    EXPECT_EQ(fields[3], row.text);
    EXPECT_EQ(fields[4] == "parent 1002", row.in_panel) << fields[4];
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(fields[5].c_str(), "%d,%d,%d,%d", &x, &y, &w, &h), 4);
    EXPECT_EQ(x, Pixels(row.left));
    EXPECT_EQ(y, Pixels(row.top));
    EXPECT_EQ(w, Pixels(row.width));
    EXPECT_EQ(h, Pixels(row.height));
    EXPECT_EQ(fields[6], row.font);
    const unsigned style = static_cast<unsigned>(std::stoul(fields[7].substr(6)));
    EXPECT_EQ(style & row.style_bits, row.style_bits) << style;
  }
}

TEST(OptionWindowLayoutTest, WindowCaptionClientAreaMenuIconsAndTab) {
  const Lines_ lines = Host("window", kTwoOptions, {"dump", "close"});
  EXPECT_EQ(
      StartingWith(lines, "window|"),
      (Lines_{"window|TolvexGateway   - Option -|TolvexGatewayOption|client 542,392|dpi 96"}));
  EXPECT_EQ(StartingWith(lines, "menu|"), (Lines_{"menu|Help(&H)|1100|no submenu"}));
  EXPECT_EQ(StartingWith(lines, "icon|"), (Lines_{"icon|big|32x32", "icon|small|16x16"}));
  EXPECT_EQ(StartingWith(lines, "tab|"), (Lines_{"tab|Option", "tab|Maps"}));
  const Lines_ centre = StartingWith(lines, "centre-offset|");
  ASSERT_EQ(centre.size(), 1u);
  int dx = 99, dy = 99;
  ASSERT_EQ(std::sscanf(centre[0].c_str(), "centre-offset|%d,%d", &dx, &dy), 2);
  EXPECT_LE(std::abs(dx), 1);
  EXPECT_LE(std::abs(dy), 1);
}

TEST(OptionWindowLayoutTest, TabFollowsTheTabIndicesAndWraps) {
  Lines_ actions = {"focus"};
  for (int i = 0; i < 7; ++i) actions.insert(actions.end(), {"key", "tab"});
  actions.push_back("close");
  EXPECT_EQ(StartingWith(Host("tab-order", kTwoOptions, actions), "focus|"),
            (Lines_{"focus|1001|SysTabControl32", "focus|2|Button", "focus|1|Button",
                    "focus|1001|Edit",  // the text field of GISoptions
                    "focus|1006|Edit", "focus|1013|Edit", "focus|1011|Edit",
                    "focus|1001|SysTabControl32"}));
}

// At 144 DPI (the prefix's LogPixels) every twips value scales by 1.5 and the fonts with it.
class HighDpiTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLogPixels(144); }
  void TearDown() override { SetLogPixels(96); }
  static void SetLogPixels(int dpi) {
    ASSERT_EQ(RunWine("reg", {"add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                              "REG_DWORD", "/d", std::to_string(dpi), "/f"})
                  .exit_status,
              0);
  }
};

TEST_F(HighDpiTest, LayoutFontsAndIconsScaleWithTheDpi) {
  const Lines_ lines = Host("dpi-144", "", {"dump", "close"});
  EXPECT_EQ(
      StartingWith(lines, "window|"),
      (Lines_{"window|TolvexGateway   - Option -|TolvexGatewayOption|client 813,588|dpi 144"}));
  EXPECT_EQ(StartingWith(lines, "icon|"), (Lines_{"icon|big|48x48", "icon|small|24x24"}));
  const Lines_ expected_prefixes = {
      "control|1|Button|OK|",  // then 564,540,110,38
      "control|1006|Edit||parent 1002|24,168,722,110|MS UI Gothic,-24,400,128|",
      // the closed combo box as high as the table says, like every other control
      "control|1003|ComboBox||parent 1002|24,60,722,36|MS UI Gothic,-24,400,128|",
      "control|1001|SysTabControl32||",  // 12,12,782,521, 9.75 pt: -20
      "control|1008|Static|TolvexGateway Version " TOLVEX_VERSION
      "|parent 1002|180,396,578,26|"
      "MS UI Gothic,-24,400,128|"};
  for (const std::string& prefix : expected_prefixes) {
    EXPECT_EQ(StartingWith(lines, prefix).size(), 1u) << prefix;
  }
  for (const std::string& line : StartingWith(lines, "control|1|Button|OK|")) {
    EXPECT_NE(line.find("|564,540,110,38|MS UI Gothic,-18,400,128|"), std::string::npos) << line;
  }
  for (const std::string& line : StartingWith(lines, "control|1001|SysTabControl32||")) {
    EXPECT_NE(line.find("|12,12,782,521|MS UI Gothic,-20,400,128|"), std::string::npos) << line;
  }
}

// The screenshot (BMP) of the filled window, for people to look at.
TEST(OptionWindowLayoutTest, Screenshot) {
  const fs::path shot = fs::path(TOLVEX_WINE_ARTIFACT_DIR) / "option-window.bmp";
  fs::create_directories(shot.parent_path());
  fs::remove(shot);
  EXPECT_EQ(
      StartingWith(Host("screenshot", kTwoOptions, {"snap", WindowsPath(shot), "close"}), "error"),
      Lines_{});
  ASSERT_TRUE(fs::exists(shot));
  const std::string bytes = ReadFile(shot);
  ASSERT_GT(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
}

// The Maps tab, worked through the keyboard. The catalogue beside the program lacks none of its
// maps but "Globe", which "From catalogue…" offers alone.
const std::string kCatalogue =
    "<tolvexgateway_optionlist>\n"
    "  <option id=\"Atlas\" area=\"World\">atlas.exe $ost</option>\n"
    "  <option id=\"Globe\" area=\"World\" zoom=\"12\">tolvextest:globe=$ost</option>\n"
    "</tolvexgateway_optionlist>\n";
const std::string kCatalogueCaption = "TolvexGateway   - Catalogue -";
const std::string kEditorCaption = "TolvexGateway   - Map -";

// In the editor, from the id box: Tab to the template box, which the text then replaces.
Lines_ TypeTemplate(const std::string& text) {
  return {"press", "tab", "press", "tab", "press", "tab", "press", "tab", "chars", text};
}

// A new map refused in the editor: the message, then Esc leaves the editor, Cancel the window.
Lines_ RefusedNewMap(const std::string& id, const std::string& zoom) {
  return Join({{"press", "ctrl+tab", "press", "alt+n", "within", kEditorCaption, "chars",
                id,      "press",    "tab",   "press", "tab",    "press",        "tab",
                "chars", zoom,       "press", "tab",   "chars",  "tolvextest:x", "press",
                "tab",   "press",    "enter", "wait",  "press",  "esc",          "back",
                "click", "2"}});
}

// One run of TolvexGateway.exe with the option window: what the driver printed and the file.
struct DialogCase {
  const char* name;
  std::string options;  // "" for no option file
  Lines_ actions;
  Lines_ lines;         // the driver's lines
  bool file_unchanged;  // byte for byte
};

class OptionDialogTest : public ::testing::TestWithParam<DialogCase> {};

TEST_P(OptionDialogTest, ShowsAndStoresAsTheUserDid) {
  const WineGateway gateway(std::string("dialog-") + GetParam().name);
  if (!GetParam().options.empty()) gateway.WriteOptions(GetParam().options);
  WriteFile(gateway.folder() / "tolvexgwcatalogue.xml", kCatalogue);
  Lines_ actions = GetParam().actions;
  for (auto& action : actions) {
    if (action == "@option-file") action = WindowsPath(gateway.option_file());
  }
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + " option", actions),
            GetParam().lines);
  if (GetParam().options.empty()) {
    EXPECT_FALSE(fs::exists(gateway.option_file())) << "must not be created";
  } else if (GetParam().file_unchanged) {
    EXPECT_EQ(gateway.Options(), GetParam().options);
  }
  EXPECT_EQ(gateway.Recorded(), Lines_{}) << "the dialog launches nothing";
}

const std::string kDatums =
    "<tolvexgateway_optionlist currentsetting=\"None\">"
    "<option id=\"None\" area=\"a\">t</option><option id=\"Cap\" area=\"a\" "
    "datum=\"Tokyo\">t</option>"
    "<option id=\"Upper\" area=\"a\" datum=\"WGS84\">t</option>"
    "<option id=\"Tokyo\" area=\"b\" datum=\"tokyo\">t</option>"
    "<option id=\"None\" area=\"dup\" datum=\"tokyo\">second</option></tolvexgateway_optionlist>";

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionDialogTest,
    ::testing::Values(
        DialogCase{"CancelLeavesTheFile",
                   kTwoOptions,
                   {"read", "click", "2"},
                   Join({{"shown"},
                         Read("Viewer,Atlas", "Atlas", "atlas.exe $ost", "wgs84", "World"),
                         {"exit|0"}}),
                   true},
        DialogCase{"EscLeavesTheFile",
                   kTwoOptions,
                   {"pick", "0", "key", "esc"},
                   {"shown", "exit|0"},
                   true},
        DialogCase{"CloseButtonLeavesTheFile",
                   kTwoOptions,
                   {"pick", "0", "close"},
                   {"shown", "exit|0"},
                   true},
        // Enter in the text field presses nothing: there is no default button.
        DialogCase{"EnterDoesNotSave",
                   kTwoOptions,
                   {"type", "Viewer", "key", "enter", "wait", "read", "click", "2"},
                   Join({{"shown"},
                         Read("Viewer,Atlas", "Viewer", "atlas.exe $ost", "wgs84", "World"),
                         {"exit|0"}}),
                   true},
        DialogCase{
            "PickShowsTheOption",
            kTwoOptions,
            {"pick", "0", "read", "click", "2"},
            Join({{"shown"},
                  Read("Viewer,Atlas", "Viewer", "viewer.exe $lat.d() $lon.d()", "tokyo", "Japan"),
                  {"exit|0"}}),
            true},
        DialogCase{"DatumShowsTokyoOnlyForTokyo",
                   kDatums,
                   {"read", "pick", "1", "read", "pick", "2", "read", "pick", "3", "read", "pick",
                    "4", "read", "close"},
                   Join({{"shown"},
                         Read("None,Cap,Upper,Tokyo,None", "None", "t", "wgs84", "a"),
                         Read("None,Cap,Upper,Tokyo,None", "Cap", "t", "wgs84", "a"),
                         Read("None,Cap,Upper,Tokyo,None", "Upper", "t", "wgs84", "a"),
                         Read("None,Cap,Upper,Tokyo,None", "Tokyo", "t", "tokyo", "b"),
                         // the second "None" shows the first option of that id
                         Read("None,Cap,Upper,Tokyo,None", "None", "t", "wgs84", "a"),
                         {"exit|0"}}),
                   true},
        DialogCase{
            "MissingFile",
            "",
            {"read", "click", "2"},
            Join({{Box("Can't Load Option File"), "shown"}, Read("", "", "", "", ""), {"exit|0"}}),
            true},
        DialogCase{"NoCurrentSettingAndOkWritesNothing",
                   "<tolvexgateway_optionlist><option id=\"A\" area=\"x\">a</option>"
                   "</tolvexgateway_optionlist>",
                   {"read", "click", "1"},
                   Join({{Box("Can't Load Option file. XML file may be collasped."), "shown"},
                         Read("A", "", "", "", ""),
                         {"exit|0"}}),
                   true},
        DialogCase{"StaleCurrentSetting",
                   "<tolvexgateway_optionlist currentsetting=\"Gone\"><option id=\"A\" area=\"x\">a"
                   "</option><option id=\"B\" area=\"y\">b</option></tolvexgateway_optionlist>",
                   {"read", "click", "2"},
                   Join({{Box("Can't Load Current Value. XML file may be collasped."), "shown"},
                         Read("A,B", "Gone", "", "", "x"),
                         {"exit|0"}}),
                   true},
        DialogCase{"TypedIdThatNamesNoOptionIsRefused",
                   kTwoOptions,
                   {"type", "Nowhere", "click", "1", "wait", "click", "2"},
                   {"shown", Box("Can't Save Current Value. No option has this id."), "exit|0"},
                   true},
        DialogCase{
            "FailedSaveKeepsTheWindowAndTheFile",
            kTwoOptions,
            {"lock", "@option-file", "pick", "0", "click", "1", "wait", "read", "click", "2"},
            Join({{"shown", Box("Can't Save Option File")},
                  Read("Viewer,Atlas", "Viewer", "viewer.exe $lat.d() $lon.d()", "tokyo", "Japan"),
                  {"exit|0"}}),
            true},
        DialogCase{"MapsCancelDropsEveryEdit",
                   kTwoOptions,
                   Join({{"press", "ctrl+tab", "press", "alt+c", "within", kCatalogueCaption,
                          "press", "enter", "back"},
                         {"press", "alt+m", "press", "home", "press", "alt+d", "press", "alt+l"},
                         {"click", "2"}}),
                   {"shown", "exit|0"},
                   true},
        DialogCase{"MapsTakenIdIsRefused",
                   kTwoOptions,
                   RefusedNewMap("Atlas", ""),
                   {"shown", Box(std::string(kDuplicateIdMessage) + "\"Atlas\""), "exit|0"},
                   true},
        DialogCase{"MapsZoomAbove21IsRefused",
                   kTwoOptions,
                   RefusedNewMap("Fresh", "22"),
                   {"shown", Box(std::string(kZoomMessage)), "exit|0"},
                   true},
        DialogCase{"MapsLastMapCannotBeDeleted",
                   kTwoOptions,
                   {"press", "ctrl+tab", "press", "alt+m", "press", "alt+d", "press", "alt+d",
                    "wait", "click", "2"},
                   {"shown", Box(std::string(kLastMapMessage)), "exit|0"},
                   true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OptionDialogSaveTest, OkStoresThePickAndKeepsTheRest) {
  const WineGateway gateway("dialog-ok");
  gateway.WriteOptions(kTwoOptions);
  EXPECT_EQ(
      gateway.Drive("dialog", gateway.QuotedProgram() + " option", {"pick", "0", "click", "1"}),
      (Lines_{"shown", "exit|0"}));
  const std::string saved = gateway.Options();
  EXPECT_NE(saved.find("<!-- kept on save -->"), std::string::npos) << saved;
  EXPECT_NE(saved.find("note=\"extra\""), std::string::npos) << saved;
  EXPECT_EQ(Query(gateway.option_file(), {"tolvexgateway_optionlist/@currentsetting",
                                          "/tolvexgateway_optionlist/option/@id"}),
            (Lines_{"loaded", "first [Viewer]", "match [Viewer]", "first [Viewer]",
                    "match [Viewer]", "match [Atlas]"}));
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(gateway.folder())) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  // The writers' lock file stays beside the option file; no temporary file is left.
  EXPECT_EQ(left, (Lines_{".tolvexgwoption.xml.lock", "TolvexGateway.exe", "tolvexgwoption.xml"}));
}

// Japanese Windows: ids, areas and templates in Japanese are listed, shown and saved, and the
// file keeps its encoding and its other nodes. (The file is UTF-8: Wine's MSXML loads no
// Shift_JIS file at all, a limit of Wine that Windows' MSXML does not have.)
TEST(OptionDialogSaveTest, JapaneseIdsAreasAndTemplatesShowAndSave) {
  const std::string map = "\xe5\x9c\xb0\xe5\x9b\xb3";  // 地図
  const std::string survey =
      "\xe5\x9b\xbd\xe5\x9c\x9f\xe5\x9c\xb0\xe7\x90\x86\xe9\x99\xa2";  // 国土地理院
  const std::string japan = "\xe6\x97\xa5\xe6\x9c\xac";                // 日本
  const std::string country = "\xe5\x85\xa8\xe5\x9b\xbd";              // 全国
  const std::string map_template =
      "C:\\" + map + "\\\xe8\xa1\xa8\xe7\xa4\xba.exe $ost";  // 表示.exe
  const std::string survey_template = "tolvextest:" + survey + "?q=$ost";
  const std::string options =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!-- \xe4\xbf\x9d\xe5\xad\x98 -->\n"
      "<tolvexgateway_optionlist currentsetting=\"" +
      survey +
      "\">\n"
      "  <option id=\"" +
      map + "\" area=\"" + japan + "\" datum=\"tokyo\">" + map_template +
      "</option>\n"
      "  <option id=\"" +
      survey + "\" area=\"" + country + "\">" + survey_template +
      "</option>\n"
      "</tolvexgateway_optionlist>\n";
  const WineGateway gateway("dialog-japanese");
  gateway.WriteOptions(options);
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + " option",
                          {"read", "pick", "0", "read", "click", "1"}),
            Join({{"shown"},
                  Read(map + "," + survey, survey, survey_template, "wgs84", country),
                  Read(map + "," + survey, map, map_template, "tokyo", japan),
                  {"exit|0"}}));
  const std::string saved = gateway.Options();
  EXPECT_TRUE(saved.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << saved;
  EXPECT_NE(saved.find("<!-- \xe4\xbf\x9d\xe5\xad\x98 -->"), std::string::npos) << saved;
  EXPECT_NE(saved.find(">" + survey_template + "</option>"), std::string::npos) << saved;
  EXPECT_EQ(Query(gateway.option_file(), {"tolvexgateway_optionlist/@currentsetting",
                                          "/tolvexgateway_optionlist/option/@area"}),
            (Lines_{"loaded", "first [" + map + "]", "match [" + map + "]", "first [" + japan + "]",
                    "match [" + japan + "]", "match [" + country + "]"}));
}

TEST(OptionDialogSaveTest, OkWithoutChangeStoresTheSameChoice) {
  const WineGateway gateway("dialog-ok-unchanged");
  gateway.WriteOptions(kTwoOptions);
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + " option", {"click", "1"}),
            (Lines_{"shown", "exit|0"}));
  EXPECT_EQ(Query(gateway.option_file(), {"tolvexgateway_optionlist/@currentsetting"}),
            (Lines_{"loaded", "first [Atlas]", "match [Atlas]"}));
}

// After the third message the user can pick an existing option and repair the file with OK.
TEST(OptionDialogSaveTest, PickingAnOptionRepairsAStaleCurrentSetting) {
  const WineGateway gateway("dialog-repair");
  gateway.WriteOptions(
      "<tolvexgateway_optionlist currentsetting=\"Gone\"><option id=\"A\" area=\"x\">a</option>"
      "</tolvexgateway_optionlist>");
  EXPECT_EQ(
      gateway.Drive("dialog", gateway.QuotedProgram() + " option", {"pick", "0", "click", "1"}),
      (Lines_{Box("Can't Load Current Value. XML file may be collasped."), "shown", "exit|0"}));
  EXPECT_EQ(Query(gateway.option_file(), {"tolvexgateway_optionlist/@currentsetting"}),
            (Lines_{"loaded", "first [A]", "match [A]"}));
}

struct OptionRequestCase {
  const char* name;
  std::string arguments;
};

class OptionRequestTest : public ::testing::TestWithParam<OptionRequestCase> {};

TEST_P(OptionRequestTest, OpensTheWindow) {
  const WineGateway gateway(std::string("request-") + GetParam().name);
  gateway.WriteOptions(kTwoOptions);
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + GetParam().arguments, {"close"}),
            (Lines_{"shown", "exit|0"}));
  EXPECT_EQ(gateway.Options(), kTwoOptions);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionRequestTest,
                         ::testing::Values(OptionRequestCase{"Plain", " option"},
                                           OptionRequestCase{"Prefixed", " TolVex:option"},
                                           OptionRequestCase{"PrefixedQuotedWithSpace",
                                                             " \"TolVex: option\""}),
                         [](const auto& row) { return std::string(row.param.name); });

// The program's folder is named outside code page 932 ("Łódź-한"), as a user profile may be.
TEST(OptionDialogHelpTest, HelpOpensTheManualAndTheWindowStays) {
  const WineGateway gateway("dialog-help-\u0141\u00f3d\u017a-\ud55c");
  gateway.WriteOptions(kTwoOptions);
  WriteFile(gateway.folder() / "manual.htm", "<html><body>help</body></html>\n");
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + " option",
                          {"menu", "wait", "read", "click", "2"}),
            Join({{"shown"},
                  Read("Viewer,Atlas", "Atlas", "atlas.exe $ost", "wgs84", "World"),
                  {"exit|0"}}));
  // The shell starts a document's application on its own time: wait for the recorder.
  Lines_ recorded;
  for (int i = 0; i < 100 && recorded.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    recorded = gateway.Recorded();
  }
  ASSERT_EQ(recorded.size(), 1u);
  const std::string manual = WindowsPath(gateway.folder() / "manual.htm");
  EXPECT_TRUE(recorded[0].ends_with("\"" + manual + "\"")) << recorded[0];
  EXPECT_EQ(gateway.Options(), kTwoOptions);
}

TEST(OptionDialogHelpTest, MissingManualShowsNothingAndTheWindowStays) {
  const WineGateway gateway("dialog-help-missing");
  gateway.WriteOptions(kTwoOptions);
  const Lines_ lines =
      gateway.Drive("dialog", gateway.QuotedProgram() + " option", {"menu", "wait", "click", "2"});
  EXPECT_EQ(StartingWith(lines, "box|"), Lines_{});
  EXPECT_EQ(lines, (Lines_{"shown", "exit|0"}));
  EXPECT_EQ(gateway.Recorded(), Lines_{});
}

// What the recorder saw once it has seen `count` starts (the shell starts them on its own
// time), or after ten seconds.
Lines_ RecordedStarts(const WineGateway& gateway, std::size_t count) {
  Lines_ recorded = gateway.Recorded();
  for (int i = 0; i < 100 && recorded.size() < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    recorded = gateway.Recorded();
  }
  return recorded;
}

// The place card: the option file asks at each link.
const std::string kAsking =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist currentsetting=\"First\" ask=\"true\">\n"
    "  <option id=\"First\" area=\"World\">tolvextest:first=$ost</option>\n"
    "  <option id=\"Second\" area=\"Japan\">tolvextest:second=$ost</option>\n"
    "</tolvexgateway_optionlist>\n";
const std::string kLink = " TolVex:SD9.XC4.EQ2.CV5";
const std::string kFirstUrl = "tolvextest:first=SD9.XC4.EQ2.CV5";
const std::string kSecondUrl = "tolvextest:second=SD9.XC4.EQ2.CV5";

// The card as the table lays it out at 96 DPI, and Tab going round its stops in the table's
// order from the map list, which has the focus first.
TEST(PlaceCardLayoutTest, ControlsSitWhereTheTableSaysAndTabGoesRound) {
  const WineGateway gateway("card-layout");
  gateway.WriteOptions(kAsking);
  Lines_ actions = {"dump", "focus"};
  const auto stops = layout::TabStops(place_card_layout::kControls);
  for (std::size_t i = 0; i < stops.size(); ++i) actions.insert(actions.end(), {"key", "tab"});
  actions.insert(actions.end(), {"key", "esc"});
  const Lines_ lines = gateway.Drive("dialog", gateway.QuotedProgram() + kLink, actions);
  EXPECT_EQ(StartingWith(lines, "window|"),
            (Lines_{"window|TolvexGateway   - Open -|TolvexGatewayCard|client 480,422|dpi 96"}));
  for (const layout::Control& control : place_card_layout::kControls) {
    const TwipsRect& r = control.rect;
    const std::string place =
        "|parent 0|" + std::to_string(Pixels(r.left)) + "," + std::to_string(Pixels(r.top)) + "," +
        std::to_string(Pixels(r.width)) + "," + std::to_string(Pixels(r.height));
    EXPECT_EQ(StartingWith(lines, "control|" + std::to_string(control.id) + "|").size(), 1u);
    for (const std::string& line :
         StartingWith(lines, "control|" + std::to_string(control.id) + "|")) {
      EXPECT_NE(line.find(place), std::string::npos) << line;
    }
  }
  std::size_t first = 0;
  while (first < stops.size() && stops[first]->id != place_card_layout::kMapList) ++first;
  Lines_ focus;
  for (std::size_t i = 0; i <= stops.size(); ++i) {
    focus.push_back("focus|" + std::to_string(stops[(first + i) % stops.size()]->id));
  }
  Lines_ seen;
  for (const std::string& line : StartingWith(lines, "focus|")) {
    seen.push_back(line.substr(0, line.rfind('|')));
  }
  EXPECT_EQ(seen, focus);
}

// Opened by hand: the Place box has the focus; what is typed there is read at once, and a
// text that names no place disables Open. The screenshot is for people to look at.
TEST(PlaceCardOpenTest, TypingInThePlaceBoxReadsThePlace) {
  const WineGateway gateway("card-open");
  gateway.WriteOptions(kAsking);
  const fs::path shot = fs::path(TOLVEX_WINE_ARTIFACT_DIR) / "place-card-open.bmp";
  fs::create_directories(shot.parent_path());
  const Lines_ lines =
      gateway.Drive("dialog", gateway.QuotedProgram() + " open",
                    {"focus", "chars", "35\u00B039'30.9\"N 139\u00B044'43.6\"E", "dump", "snap",
                     WindowsPath(shot), "chars", "x", "dump", "key", "esc"});
  EXPECT_EQ(StartingWith(lines, "focus|"),
            Lines_{"focus|" + std::to_string(place_card_layout::kPlaceBox) + "|Edit"});
  const auto open_disabled = [](const std::string& line) {
    return (std::stoul(line.substr(line.rfind("|style ") + 7)) & 0x08000000UL) != 0;  // WS_DISABLED
  };
  const Lines_ coordinates = StartingWith(lines, "control|2002|Edit|");
  const Lines_ open = StartingWith(lines, "control|1|Button|");
  ASSERT_EQ(coordinates.size(), 2u);
  ASSERT_EQ(open.size(), 2u);
  EXPECT_NE(coordinates[0].find("|35.658583, 139.745444|"), std::string::npos) << coordinates[0];
  EXPECT_FALSE(open_disabled(open[0]));
  EXPECT_NE(coordinates[1].find("Edit||"), std::string::npos) << coordinates[1];
  EXPECT_TRUE(open_disabled(open[1]));
  EXPECT_TRUE(fs::exists(shot));
}

struct CardCase {
  const char* name;
  Lines_ actions;
  Lines_ opened;          // the URLs launched, in order
  std::string clipboard;  // what the clipboard holds once the program has ended; "": not read
  bool always = false;    // the choice is stored: the next link opens without asking
};

class PlaceCardTest : public ::testing::TestWithParam<CardCase> {};

TEST_P(PlaceCardTest, OpensCopiesAndStoresAsTheUserDid) {
  const WineGateway gateway(std::string("card-") + GetParam().name);
  gateway.WriteOptions(kAsking);
  // The clipboard is read once the program has ended.
  Lines_ actions = GetParam().actions;
  Lines_ lines = {"shown"};
  if (!GetParam().clipboard.empty()) {
    actions.push_back("clipboard");
    lines.push_back("clipboard|" + GetParam().clipboard);
  }
  lines.push_back("exit|0");
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + kLink, actions), lines);
  Lines_ opened;
  for (const std::string& url : GetParam().opened) {
    opened.push_back(WineGateway::RecorderLine("C:\\windows", url));
  }
  EXPECT_EQ(RecordedStarts(gateway, opened.size()), opened);
  if (!GetParam().always) {
    EXPECT_EQ(gateway.Options(), kAsking);
    return;
  }
  EXPECT_EQ(Query(gateway.option_file(),
                  {"tolvexgateway_optionlist/@currentsetting", "tolvexgateway_optionlist/@ask"}),
            (Lines_{"loaded", "first [First]", "match [First]", "first none"}));
  EXPECT_EQ(gateway.Drive("run", gateway.QuotedProgram() + kLink), Lines_{"exit|0"});
  opened.push_back(WineGateway::RecorderLine("C:\\windows", kFirstUrl));
  EXPECT_EQ(RecordedStarts(gateway, opened.size()), opened);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceCardTest,
    ::testing::Values(
        CardCase{"DownEnterOpensTheSecond", {"press", "down", "press", "enter"}, {kSecondUrl}, ""},
        CardCase{"TypingJumpsToAnId", {"chars", "s", "press", "enter"}, {kSecondUrl}, ""},
        CardCase{"EscOpensNothing", {"press", "esc"}, {}, ""},
        CardCase{"CtrlCThenEscLeavesTheCoordinates",
                 {"press", "ctrl+c", "press", "esc"},
                 {},
                 "35.658581, 139.745435"},
        CardCase{"CtrlShiftCLeavesTheSelectedMapsLink",
                 {"press", "end", "press", "ctrl+shift+c", "press", "esc"},
                 {},
                 kSecondUrl},
        CardCase{"CopyMenuLeavesTheGeoLink",
                 {"press", "alt+c", "press", "e", "press", "esc"},
                 {},
                 "geo:35.658581,139.745435"},
        CardCase{"KeepOpenTriesOneMapThenAnother",
                 {"press", "alt+k", "press", "enter", "press", "alt+m", "press", "end", "press",
                  "enter", "press", "esc"},
                 {kFirstUrl, kSecondUrl},
                 ""},
        CardCase{
            "AlwaysStoresTheChoice", {"press", "alt+a", "press", "enter"}, {kFirstUrl}, "", true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MapsTabTest, CatalogueEntryEditedTemplateAndDeletionAreWhatOkStores) {
  const WineGateway gateway("maps-ok");
  gateway.WriteOptions(kTwoOptions);
  const Lines_ actions = Join({
      {"press", "ctrl+tab", "press", "alt+c", "within", kCatalogueCaption, "press", "enter",
       "back"},
      {"press", "alt+m", "press", "home", "press", "down", "press", "alt+e", "within",
       kEditorCaption},
      TypeTemplate("tolvextest:a=$ost&b<1"),
      {"press", "tab", "press", "enter", "back"},  // from the preview, Enter is OK
      {"press", "alt+m", "press", "home", "press", "alt+d", "click", "1"},
  });
  WriteFile(gateway.folder() / "tolvexgwcatalogue.xml", kCatalogue);
  EXPECT_EQ(gateway.Drive("dialog", gateway.QuotedProgram() + " option", actions),
            (Lines_{"shown", "exit|0"}));
  const std::string saved = gateway.Options();
  EXPECT_NE(saved.find("<!-- kept on save -->"), std::string::npos) << saved;
  EXPECT_NE(saved.find(">tolvextest:a=$ost&amp;b&lt;1</option>"), std::string::npos) << saved;
  EXPECT_EQ(
      Query(gateway.option_file(),
            {"tolvexgateway_optionlist/@currentsetting", "/tolvexgateway_optionlist/option",
             "/tolvexgateway_optionlist/option/@id", "/tolvexgateway_optionlist/option/@zoom"}),
      (Lines_{"loaded", "first [Atlas]", "match [Atlas]", "first [tolvextest:a=$ost&b<1]",
              "match [tolvextest:a=$ost&b<1]", "match [tolvextest:globe=$ost]", "first [Atlas]",
              "match [Atlas]", "match [Globe]", "first [12]", "match [12]"}));
  // The gateway opens what was stored.
  EXPECT_EQ(gateway.Drive("run", gateway.QuotedProgram() + kLink), Lines_{"exit|0"});
  EXPECT_EQ(RecordedStarts(gateway, 1),
            Lines_{WineGateway::RecorderLine("C:\\windows", "tolvextest:a=SD9.XC4.EQ2.CV5&b<1")});
}

}  // namespace
}  // namespace tolvex::test
