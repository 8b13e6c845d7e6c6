// The option store on the libxml2 backend, with real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "gateway/command_template.h"
#include "gateway/gateway.h"
#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "platform/xml_document.h"
#include "tests/support/row_name.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"
#include "tests/support/utf16.h"

namespace tolvex {
namespace {

using test::ReadFile;
using test::TempDir;

constexpr std::string_view kViewerAtlas =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- hand-written -->\n"
    "<tolvexgateway_optionlist currentsetting=\"Atlas\">\n"
    "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer.exe $lat.d() $lon.d()</option>\n"
    "  <option id=\"Atlas\" area=\"World\" extra=\"kept\">atlas.exe $ost</option>\n"
    "</tolvexgateway_optionlist>\n";

std::string File(std::string_view current, std::string_view options) {
  return "<tolvexgateway_optionlist currentsetting=\"" + std::string(current) + "\">" +
         std::string(options) + "</tolvexgateway_optionlist>";
}

struct LoadCase {
  const char* name;
  std::string bytes;
  OptionLoadError error;
  std::string command_template;
  std::string datum;
  int zoom = -1;  // the option's zoom; -1: none
  // Builds the bytes inside the row that uses them (instead of `bytes`): a large file is not
  // made by every process that only lists or runs other rows.
  std::string (*build)() = nullptr;
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadActiveOptionTest : public ::testing::TestWithParam<LoadCase> {};

// A file that the option file names and the loader must never read; kSecret in a row's bytes
// stands for its path.
constexpr std::string_view kSecret = "@SECRET@";

TEST_P(LoadActiveOptionTest, ReadsTheActiveOption) {
  const LoadCase& c = GetParam();
  TempDir dir;
  std::string bytes = c.build != nullptr ? c.build() : c.bytes;
  if (const auto at = bytes.find(kSecret); at != std::string::npos) {
    bytes.replace(at, kSecret.size(), dir.Write("secret.txt", "TOP-SECRET-CONTENT"));
  }
  const std::string path = dir.Write("tolvexgwoption.xml", bytes);
  auto document = platform::CreateXmlDocument();
  const ActiveOption active = LoadActiveOption(*document, path);
  EXPECT_EQ(active.error, c.error);
  EXPECT_EQ(active.option.command_template, c.command_template);
  EXPECT_EQ(active.option.datum_name, c.datum);
  EXPECT_EQ(active.option.zoom.value_or(-1), c.zoom);
  EXPECT_EQ(active.option.command_template.find("TOP-SECRET"), std::string::npos);
  EXPECT_EQ(ReadFile(path), bytes);  // the loader never writes
}

const auto kNone = OptionLoadError::kNone;
const auto kCannotLoad = OptionLoadError::kCannotLoadFile;
const auto kNoCurrent = OptionLoadError::kNoCurrentSetting;
const auto kNoOption = OptionLoadError::kNoSuchOption;

// A billion laughs: entities that expand to ten of the previous one, nine levels deep.
std::string Laughs() {
  std::string laughs = "<!DOCTYPE lolz [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  return laughs + "]>" + File("V", "<option id='V' area='a'>&l9;</option>");
}

std::string Deep() {
  std::string deep = "<tolvexgateway_optionlist currentsetting='V'>";
  for (int i = 0; i < 10000; ++i) deep += "<n>";
  for (int i = 0; i < 10000; ++i) deep += "</n>";
  return deep + "<option id='V' area='a'>t</option></tolvexgateway_optionlist>";
}

std::string Large() {
  std::string large = "<tolvexgateway_optionlist currentsetting='last'>";
  while (large.size() < 20'000'000)
    large += "<option id='filler' area='a'>https://example.org/$ost</option>\n";
  return large + "<option id='last' area='a'>found</option></tolvexgateway_optionlist>";
}

const std::string kUtf16Body = File("V", "<option id='V' area='a'>t</option>");

INSTANTIATE_TEST_SUITE_P(
    Files, LoadActiveOptionTest,
    ::testing::Values(
        LoadCase{"ViewerAtlas", std::string(kViewerAtlas), kNone, "atlas.exe $ost", "wgs84"},
        LoadCase{"TokyoDatum", File("V", "<option id='V' area='a' datum='tokyo'>t</option>"), kNone,
                 "t", "tokyo"},
        LoadCase{"DatumKeptAsWritten",
                 File("V", "<option id='V' area='a' datum=' Tokyo'>t</option>"), kNone, "t",
                 " Tokyo"},
        LoadCase{"Zoom", File("V", "<option id='V' area='a' zoom=' 21 '>t</option>"), kNone, "t",
                 "wgs84", 21},
        // A zoom that is no whole number 0..21 is not the option's: the default applies.
        LoadCase{"ZoomOutOfRange", File("V", "<option id='V' area='a' zoom='22'>t</option>"), kNone,
                 "t", "wgs84"},
        LoadCase{"ZoomNegative", File("V", "<option id='V' area='a' zoom='-1'>t</option>"), kNone,
                 "t", "wgs84"},
        LoadCase{"ZoomNotWhole", File("V", "<option id='V' area='a' zoom='12.5'>t</option>"), kNone,
                 "t", "wgs84"},
        LoadCase{"EmptyDatum", File("V", "<option id='V' area='a' datum=''>t</option>"), kNone, "t",
                 ""},
        LoadCase{"FirstOfDuplicateIds",
                 File("V",
                      "<option id='V' area='a'>first</option>"
                      "<option id='V' area='b' datum='tokyo'>second</option>"),
                 kNone, "first", "wgs84"},
        LoadCase{"EmptyTemplate", File("V", "<option id='V' area='a'/>"), kNone, "", "wgs84"},
        LoadCase{"Unescaped",
                 File("V", "<option id='V' area='a'>u?a=1&amp;b=&lt;2&gt;&#x41;</option>"), kNone,
                 "u?a=1&b=<2>A", "wgs84"},
        LoadCase{"CdataAndComment",
                 File("V", "<option id='V' area='a'><![CDATA[a&b]]><!-- x -->c</option>"), kNone,
                 "a&bc", "wgs84"},
        LoadCase{"TemplateOnItsOwnIndentedLine",
                 File("V", "<option id='V' area='a'>\n      open  $ost \n    </option>"), kNone,
                 "open  $ost", "wgs84"},
        LoadCase{"IdWithDoubleQuote",
                 "<tolvexgateway_optionlist currentsetting='say \"hi\"'>"
                 "<option id='say \"hi\"' area='a'>q</option></tolvexgateway_optionlist>",
                 kNone, "q", "wgs84"},
        LoadCase{"IdWithApostropheAndBracket",
                 File("it&apos;s ]", "<option id=\"it's ]\" area='a'>q</option>"), kNone, "q",
                 "wgs84"},
        LoadCase{"IdsCompareExactly", File("viewer", "<option id='Viewer' area='a'>t</option>"),
                 kNoOption, "", ""},
        LoadCase{"IdsKeepSpaces", File("V ", "<option id='V' area='a'>t</option>"), kNoOption, "",
                 ""},
        LoadCase{"NestedOptionIsInvisible",
                 File("V", "<group><option id='V' area='a'>t</option></group>"), kNoOption, "", ""},
        LoadCase{"CurrentSettingOnAnotherElementOnly",
                 "<tolvexgateway_optionlist><option id='V' area='a' currentsetting='V'>t</option>"
                 "</tolvexgateway_optionlist>",
                 kNoCurrent, "", ""},
        LoadCase{"OtherRoot",
                 "<optionlist currentsetting='V'><option id='V'>t</option></optionlist>",
                 kNoCurrent, "", ""},
        LoadCase{"Empty", "", kCannotLoad, "", ""},
        LoadCase{"RootInANamespace", "<tolvexgateway_optionlist xmlns='urn:x' currentsetting='V'/>",
                 kCannotLoad, "", ""},
        LoadCase{"Truncated", std::string(kViewerAtlas.substr(0, 120)), kCannotLoad, "", ""},
        LoadCase{"Garbage", std::string("\x00\xff\xfe\x01garbage", 11), kCannotLoad, "", ""},
        LoadCase{"Doctype",
                 "<!DOCTYPE tolvexgateway_optionlist>" + File("V", "<option id='V'>t</option>"),
                 kCannotLoad, "", ""},
        LoadCase{"ExternalEntity",
                 "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" +
                     File("V", "<option id='V' area='a'>&x;</option>"),
                 kCannotLoad, "", ""},
        LoadCase{"Utf8Bom", "\xEF\xBB\xBF" + File("V", "<option id='V' area='a'>t</option>"), kNone,
                 "t", "wgs84"},
        // Japanese text in the two legacy encodings: "地図" (map) and "東京" (Tokyo).
        LoadCase{"ShiftJis",
                 "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" +
                     File("\x92\x6e\x90\x7d",
                          "<option id='\x92\x6e\x90\x7d' area='\x93\x8c\x8b\x9e'>"
                          "map \x93\x8c\x8b\x9e $ost</option>"),
                 kNone, "map \xE6\x9D\xB1\xE4\xBA\xAC $ost", "wgs84"},
        LoadCase{"EucJp",
                 "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>" +
                     File("\xc3\xcf\xbf\xde",
                          "<option id='\xc3\xcf\xbf\xde' area='a'>"
                          "map \xc5\xec\xb5\xfe</option>"),
                 kNone, "map \xE6\x9D\xB1\xE4\xBA\xAC", "wgs84"},
        LoadCase{"Iso2022Jp",
                 "<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?>" +
                     File("V", "<option id='V' area='a'>map \x1b$BEl5~\x1b(B</option>"),
                 kNone, "map \xE6\x9D\xB1\xE4\xBA\xAC", "wgs84"},
        LoadCase{"Windows1252",
                 "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" +
                     File("V", "<option id='V' area='a'>caf\xE9 \x80</option>"),
                 kNone, "caf\xC3\xA9 \xE2\x82\xAC", "wgs84"},
        LoadCase{"Utf16WithoutByteOrderMark",
                 test::Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" +
                                 File("V", "<option id='V' area='a'>t</option>"),
                             false)
                     .substr(2),
                 kNone, "t", "wgs84"},
        // Converted by no converter of the system: refused, as a file that does not load.
        LoadCase{"UnknownEncoding",
                 "<?xml version=\"1.0\" encoding=\"x-no-such-encoding\"?>" +
                     File("V", "<option id='V' area='a'>t</option>"),
                 kCannotLoad, "", ""},
        // Hostile and damaged files: each gives its defined result, and the file stays as it was.
        LoadCase{"ExternalEntityOfAFileBeside",
                 "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + std::string(kSecret) + "\">]>" +
                     File("V", "<option id='V' area='a'>&x;</option>"),
                 kCannotLoad, "", ""},
        LoadCase{"ExternalDocumentType",
                 "<!DOCTYPE r SYSTEM \"file://" + std::string(kSecret) + "\">" +
                     File("V", "<option id='V'>t</option>"),
                 kCannotLoad, "", ""},
        LoadCase{"BillionLaughs", {}, kCannotLoad, "", "", -1, Laughs},
        LoadCase{"TenThousandLevelsDeep", {}, kCannotLoad, "", "", -1, Deep},
        LoadCase{"TwentyMegabytes", {}, kNone, "found", "wgs84", -1, Large},
        LoadCase{"Utf16LittleEndian", test::Utf16(kUtf16Body, false), kNone, "t", "wgs84"},
        LoadCase{"Utf16BigEndian", test::Utf16(kUtf16Body, true), kNone, "t", "wgs84"},
        LoadCase{"OptionWithoutArea", File("V", "<option id='V'>no area</option>"), kNone,
                 "no area", "wgs84"},
        LoadCase{"OptionWithoutIdIsSkipped",
                 File("V", "<option area='a'>no id</option><option id='V' area='a'>t</option>"),
                 kNone, "t", "wgs84"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LoadActiveOptionFileTest, MissingFile) {
  TempDir dir;
  auto document = platform::CreateXmlDocument();
  const auto path = (dir.path() / "tolvexgwoption.xml").string();
  EXPECT_EQ(LoadActiveOption(*document, path).error, kCannotLoad);
  EXPECT_FALSE(std::filesystem::exists(path));
}

// A FIFO (which would keep every link waiting), a device or a folder is refused at once.
TEST(LoadActiveOptionFileTest, NoRegularFileIsRefusedWithoutWaiting) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.path() / "device");
  for (const char* name : {"fifo", "device", "."}) {
    auto document = platform::CreateXmlDocument();
    EXPECT_EQ(LoadActiveOption(*document, dir.File(name)).error, kCannotLoad) << name;
  }
}

TEST(LoadActiveOptionFileTest, UnreadableFile) {
  TempDir dir;
  const std::string path = dir.Write("tolvexgwoption.xml", kViewerAtlas);
  chmod(path.c_str(), 0);
  chmod(dir.path().c_str(), 0755);  // the unprivileged reader may enter the folder
  // Root reads every file: the load runs as an ordinary user.
  const int status = test::RunUnprivileged([&] {
    auto document = platform::CreateXmlDocument();
    return LoadActiveOption(*document, path).error == kCannotLoad ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  chmod(path.c_str(), 0644);
  EXPECT_EQ(ReadFile(path), kViewerAtlas);
}

TEST(LoadActiveOptionFileTest, Utf16WithByteOrderMark) {
  const std::string text = File("V", "<option id='V' area='a'>t \xE5\x9C\xB0</option>");
  std::string utf16le = "\xFF\xFE";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      utf16le += static_cast<char>(c);
      utf16le += '\0';
    } else {  // the one three-byte character: U+5730
      utf16le += "\x30\x57";
      i += 2;
    }
  }
  TempDir dir;
  const std::string path = dir.Write("tolvexgwoption.xml", utf16le);
  auto document = platform::CreateXmlDocument();
  const ActiveOption active = LoadActiveOption(*document, path);
  EXPECT_EQ(active.error, kNone);
  EXPECT_EQ(active.option.command_template, "t \xE5\x9C\xB0");
}

TEST(OptionLookupTest, ListAndFindInDocumentOrder) {
  TempDir dir;
  const std::string path =
      dir.Write("o.xml", File("B",
                              "<option id='B' area='1'>b</option><option id='A' area='2'>a"
                              "</option><option id='B' area='3'>b2</option>"));
  auto document = platform::CreateXmlDocument();
  ASSERT_TRUE(document->Load(path));
  std::vector<std::string> ids;
  for (const MapOption& option : ReadMapOptions(*document)) ids.push_back(option.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"B", "A", "B"}));
  const auto b = FindOption(*document, "B");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->SelectSingleNode("@area")->Text(), "1");
  EXPECT_FALSE(FindOption(*document, "C"));
  EXPECT_EQ(document->SelectSingleNode(kFirstAreaQuery)->Text(), "1");
}

TEST(OptionLookupTest, SerializeKeepsEverythingButTheChangedAttribute) {
  TempDir dir;
  const std::string path = dir.Write("o.xml", kViewerAtlas);
  auto document = platform::CreateXmlDocument();
  ASSERT_TRUE(document->Load(path));
  auto current = document->SelectSingleNode(kActiveIdQuery);
  ASSERT_TRUE(current);
  ASSERT_TRUE(current->SetText("Viewer & \"co\" <1>"));
  const auto bytes = document->Serialize();
  ASSERT_TRUE(bytes);
  std::string expected(kViewerAtlas);
  expected.replace(expected.find("\"Atlas\">"), 7, "\"Viewer &amp; &quot;co&quot; &lt;1&gt;\"");
  EXPECT_EQ(*bytes, expected);
}

TEST(OptionLookupTest, SerializeKeepsTheDeclaredEncoding) {
  TempDir dir;
  const std::string original = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" +
                               File("\x92\x6e\x90\x7d", "<option id=\"x\" area=\"a\">t</option>") +
                               "\n";
  const std::string path = dir.Write("o.xml", original);
  auto document = platform::CreateXmlDocument();
  ASSERT_TRUE(document->Load(path));
  const auto bytes = document->Serialize();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, original);
}

TEST(OptionLookupTest, InvalidQueriesFindNothing) {
  TempDir dir;
  auto document = platform::CreateXmlDocument();
  ASSERT_TRUE(document->Load(dir.Write("o.xml", kViewerAtlas)));
  EXPECT_FALSE(document->SelectSingleNode("/tolvexgateway_optionlist/option[@id=\"a\"\"]"));
  EXPECT_TRUE(document->SelectNodes("((").empty());
  EXPECT_FALSE(platform::CreateXmlDocument()->SelectSingleNode(kActiveIdQuery));
  EXPECT_FALSE(platform::CreateXmlDocument()->Serialize());
}

// The option list's edits on a real file: each changes only what it names, and a refused one
// leaves the document's bytes. The edited document always reads back as it was edited.
struct EditCase {
  const char* name;
  std::string file;
  std::function<std::string(platform::XmlDocument&)> edit;
  std::string message;   // "" when the edit is done
  std::string expected;  // the serialised document; "" for the file unchanged
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

// A file as the backend writes it back: declared, double-quoted, ending in a line break.
std::string Declared(std::string_view current, std::string_view options) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + File(current, options) + "\n";
}

class MapEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(MapEditTest, ChangesOnlyWhatItNames) {
  const EditCase& c = GetParam();
  TempDir dir;
  auto document = platform::CreateXmlDocument();
  ASSERT_TRUE(document->Load(dir.Write("o.xml", c.file)));
  EXPECT_EQ(c.edit(*document), c.message);
  const auto bytes = document->Serialize();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, c.expected.empty() ? c.file : c.expected);
  auto reloaded = platform::CreateXmlDocument();
  ASSERT_TRUE(reloaded->Load(dir.Write("saved.xml", *bytes)));
  EXPECT_EQ(ReadMapOptions(*reloaded), ReadMapOptions(*document));
}

MapOption Map(std::string id, std::string command_template, std::string zoom = "",
              std::string datum = "wgs84", std::string area = "World") {
  return {std::move(id), std::move(area), std::move(datum), std::move(zoom),
          std::move(command_template)};
}
auto Add(MapOption option) {
  return [option](platform::XmlDocument& d) { return AddMapOption(d, option); };
}
auto Replace(std::size_t index, MapOption option) {
  return [index, option](platform::XmlDocument& d) { return ReplaceMapOption(d, index, option); };
}
auto Remove(std::size_t index) {
  return [index](platform::XmlDocument& d) { return RemoveMapOption(d, index); };
}
auto Use(std::string id) {
  return [id](platform::XmlDocument& d) { return SetActiveOption(d, id); };
}
auto Ask(bool ask) {
  return [ask](platform::XmlDocument& d) { return SetAskEachLink(d, ask); };
}

// kViewerAtlas with `line` as a third option.
std::string WithThird(std::string_view line) {
  std::string file(kViewerAtlas);
  file.insert(file.find("</tolvexgateway_optionlist>"), "  " + std::string(line) + "\n");
  return file;
}
// kViewerAtlas with each `from` replaced by its `to`.
std::string Edited(std::initializer_list<std::pair<std::string_view, std::string_view>> edits) {
  std::string file(kViewerAtlas);
  for (const auto& [from, to] : edits) file.replace(file.find(from), from.size(), to);
  return file;
}
const std::string_view kViewerLine =
    "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer.exe $lat.d() "
    "$lon.d()</option>\n";
const std::string_view kAtlasLine =
    "  <option id=\"Atlas\" area=\"World\" extra=\"kept\">atlas.exe $ost</option>\n";
const std::string kShiftJis = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" +
                              File("\x92\x6e\x90\x7d",
                                   "\n  <option id=\"\x92\x6e\x90\x7d\" "
                                   "area=\"a\">t</option>\n") +
                              "\n";

INSTANTIATE_TEST_SUITE_P(
    Edits, MapEditTest,
    ::testing::Values(
        EditCase{"AddKeepsCommentsAttributesAndOrder", std::string(kViewerAtlas),
                 Add(Map("Bing", "b?cp=$lat~$lon&lvl=$zoom", "12")), "",
                 WithThird("<option id=\"Bing\" area=\"World\" datum=\"wgs84\" zoom=\"12\">"
                           "b?cp=$lat~$lon&amp;lvl=$zoom</option>")},
        EditCase{"TemplateComesBackAsTyped", std::string(kViewerAtlas),
                 Add(Map("S", "a&b <c> \"q\" 'r' <script>alert(1)</script>", "", "", "")), "",
                 WithThird("<option id=\"S\">a&amp;b &lt;c&gt; \"q\" 'r' "
                           "&lt;script&gt;alert(1)&lt;/script&gt;</option>")},
        EditCase{
            "IdWithQuotesAndAmpersand", std::string(kViewerAtlas),
            Add(Map("A \"&\" <b>", "t", "", "tokyo", "")), "",
            WithThird("<option id=\"A &quot;&amp;&quot; &lt;b&gt;\" datum=\"tokyo\">t</option>")},
        EditCase{
            "ZoomWithBlanks", std::string(kViewerAtlas), Add(Map("Z", "t", " 7 ")), "",
            WithThird("<option id=\"Z\" area=\"World\" datum=\"wgs84\" zoom=\" 7 \">t</option>")},
        EditCase{"EmptyId", std::string(kViewerAtlas), Add(Map("", "t")),
                 "The id must not be empty", ""},
        EditCase{"IdWithTab", std::string(kViewerAtlas), Add(Map("a\tb", "t")),
                 "The id must not hold a control character: \"a%09b\"", ""},
        EditCase{"DuplicateId", std::string(kViewerAtlas), Add(Map("Atlas", "t")),
                 "Another map already has the id \"Atlas\"", ""},
        EditCase{"IdsCompareExactly", std::string(kViewerAtlas), Add(Map("atlas", "t")), "",
                 WithThird("<option id=\"atlas\" area=\"World\" datum=\"wgs84\">t</option>")},
        EditCase{"EmptyTemplate", std::string(kViewerAtlas), Add(Map("N", " \n ")),
                 "The command template must not be empty", ""},
        EditCase{"TemplateWithControlCharacter", std::string(kViewerAtlas), Add(Map("N", "a\x01")),
                 "The command template must not hold a control character other than a tab or a "
                 "line break: \"a%01\"",
                 ""},
        EditCase{"AreaWithLineBreak", std::string(kViewerAtlas),
                 Add(Map("N", "t", "", "wgs84", "a\nb")),
                 "The area must not hold a control character: \"a%0Ab\"", ""},
        EditCase{"ZoomOutOfRange", std::string(kViewerAtlas), Add(Map("N", "t", "22")),
                 "The zoom must be blank or a whole number from 0 to 21", ""},
        EditCase{"ZoomNotWhole", std::string(kViewerAtlas), Add(Map("N", "t", "1.5")),
                 "The zoom must be blank or a whole number from 0 to 21", ""},
        EditCase{"UnknownDatum", std::string(kViewerAtlas), Add(Map("N", "t", "", "bessel")),
                 "The datum must be wgs84 or tokyo", ""},
        EditCase{"ReplaceWritesOnlyWhatChanged", std::string(kViewerAtlas),
                 Replace(1, Map("Atlas", "atlas.exe $ost&z=$zoom", "", "", "Earth")), "",
                 Edited({{"area=\"World\" extra=\"kept\">atlas.exe $ost<",
                          "area=\"Earth\" extra=\"kept\">atlas.exe $ost&amp;z=$zoom<"}})},
        EditCase{"ReplaceKeepsADatumTheFileHolds",
                 Declared("V", "<option id=\"V\" datum=\" Tokyo\">t</option>"),
                 Replace(0, Map("V", "u", "", " Tokyo", "")), "",
                 Declared("V", "<option id=\"V\" datum=\" Tokyo\">u</option>")},
        EditCase{"RenamingTheActiveOptionKeepsItActive", std::string(kViewerAtlas),
                 Replace(1, Map("Globe", "atlas.exe $ost", "", "", "World")), "",
                 Edited({{"\"Atlas\">\n", "\"Globe\">\n"}, {"id=\"Atlas\"", "id=\"Globe\""}})},
        EditCase{"ReplaceByAnotherOptionsId", std::string(kViewerAtlas),
                 Replace(1, Map("Viewer", "t")), "Another map already has the id \"Viewer\"", ""},
        EditCase{"ReplaceMissingIndex", std::string(kViewerAtlas), Replace(2, Map("N", "t")),
                 "No map is chosen", ""},
        EditCase{"RemovingTheActiveOptionMakesTheFirstActive", std::string(kViewerAtlas), Remove(1),
                 "", Edited({{kAtlasLine, ""}, {"\"Atlas\">\n", "\"Viewer\">\n"}})},
        EditCase{"RemoveTheFirst", std::string(kViewerAtlas), Remove(0), "",
                 Edited({{kViewerLine, ""}})},
        EditCase{"TheLastOptionStays", Declared("V", "<option id=\"V\">t</option>"), Remove(0),
                 "The last map cannot be deleted", ""},
        EditCase{"Use", std::string(kViewerAtlas), Use("Viewer"), "",
                 Edited({{"\"Atlas\">\n", "\"Viewer\">\n"}})},
        EditCase{"UseUnknown", std::string(kViewerAtlas), Use("viewer"),
                 "No map has the id \"viewer\"", ""},
        EditCase{"AskOn", std::string(kViewerAtlas), Ask(true), "",
                 Edited({{"\"Atlas\">\n", "\"Atlas\" ask=\"true\">\n"}})},
        EditCase{"AskOff", Edited({{"\"Atlas\">\n", "\"Atlas\" ask=\"yes\" x=\"1\">\n"}}),
                 Ask(false), "", Edited({{"\"Atlas\">\n", "\"Atlas\" x=\"1\">\n"}})},
        // Japanese text stays in the file's encoding; what it cannot hold is a reference.
        EditCase{"ShiftJisKeepsItsEncoding", kShiftJis,
                 Add(Map("\xe6\x9d\xb1", "caf\xc3\xa9 \xe5\x9c\xb0", "", "tokyo", "\xe5\x9c\xb0")),
                 "",
                 "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" +
                     File("\x92\x6e\x90\x7d",
                          "\n  <option id=\"\x92\x6e\x90\x7d\" area=\"a\">t</option>"
                          "\n  <option id=\"\x93\x8c\" area=\"\x92\x6e\" "
                          "datum=\"tokyo\">caf&#233; \x92\x6e</option>\n") +
                     "\n"}),
    [](const auto& row) { return std::string(row.param.name); });

class RecordingShell final : public platform::Shell, public platform::MessageSink {
 public:
  std::vector<std::string> opened;
  std::vector<std::string> messages;
  platform::ShellOutcome Open(std::string_view file, const std::optional<std::string>&) override {
    opened.emplace_back(file);
    return platform::ShellResult::kHandedOver;
  }
  bool SchemeOpensThisProgram(std::string_view) override { return false; }
  void ShowError(std::string_view text, std::string_view) override { messages.emplace_back(text); }
};

// A location request when the file may ask which map to use: the card's status when a card
// is shown, the active option launched as before otherwise.
struct AskCase {
  const char* name;
  std::string root_attributes;
  bool card_shown;       // choose_map answers (a display), or gives nullopt
  bool card_asked;       // choose_map was called
  int status;            // the run's
  std::string launched;  // what the shell opened ("" for nothing)
};

class AskEachLinkTest : public ::testing::TestWithParam<AskCase> {};

TEST_P(AskEachLinkTest, ShowsTheCardOnlyWhenTheFileAsksAndACardCanBeShown) {
  const AskCase& c = GetParam();
  TempDir dir;
  RecordingShell shell;
  GatewayServices services;
  services.messages = &shell;
  services.shell = &shell;
  services.create_document = [] { return platform::CreateXmlDocument(); };
  services.option_file_path = dir.Write("o.xml", "<tolvexgateway_optionlist " + c.root_attributes +
                                                     "><option id='V' area='a'>open $ost</option>"
                                                     "</tolvexgateway_optionlist>");
  bool asked = false;
  services.choose_map = [&](const Location& location) -> std::optional<int> {
    asked = true;
    EXPECT_EQ(location.geocode, "SD9.XC4.EQ2.CV5");
    return c.card_shown ? std::optional<int>(7) : std::nullopt;
  };
  EXPECT_EQ(RunGateway("TolVex:SD9.XC4.EQ2.CV5", services), c.status);
  EXPECT_EQ(asked, c.card_asked);
  EXPECT_EQ(shell.opened,
            c.launched.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.launched});
}

INSTANTIATE_TEST_SUITE_P(
    Files, AskEachLinkTest,
    ::testing::Values(AskCase{"AskedWithACard", "currentsetting='V' ask='true'", true, true, 7, ""},
                      AskCase{"AskedWithoutADisplay", "currentsetting='V' ask='true'", false, true,
                              0, "open SD9.XC4.EQ2.CV5"},
                      AskCase{"NotAsked", "currentsetting='V'", true, false, 0,
                              "open SD9.XC4.EQ2.CV5"},
                      AskCase{"OtherValue", "currentsetting='V' ask='True'", true, false, 0,
                              "open SD9.XC4.EQ2.CV5"},
                      // A file that cannot serve a request says so, as before, and shows no card.
                      AskCase{"BrokenFileAsks", "ask='true'", true, false, 1, ""}),
    [](const auto& row) { return std::string(row.param.name); });

// The shipped catalogue of maps, read as "From catalogue..." reads it.
std::vector<MapOption> CatalogueMaps() {
  auto document = platform::CreateXmlDocument();
  if (!document->Load(TOLVEX_SOURCE_DIR "/resources/tolvexgwcatalogue.xml")) return {};
  return ReadMapOptions(*document);
}

TEST(CatalogueTest, OffersAtLeastTwelveMapsThatTheRulesAccept) {
  const std::vector<MapOption> maps = CatalogueMaps();
  EXPECT_GE(maps.size(), 12u);
  for (std::size_t i = 0; i < maps.size(); ++i) {
    EXPECT_EQ(CheckMapOption(maps[i], maps, i), "") << maps[i].id;
    EXPECT_FALSE(maps[i].area.empty() || maps[i].datum.empty() || maps[i].zoom.empty())
        << maps[i].id;
  }
}

struct CatalogueRow {
  MapOption map;
};
void PrintTo(const CatalogueRow& row, std::ostream* os) { *os << row.map.id; }

class CatalogueEntryTest : public ::testing::TestWithParam<CatalogueRow> {};

// Every map opens Tokyo Tower: its command line carries the tower's geocode or both its
// coordinates, in whatever format the map writes them.
TEST_P(CatalogueEntryTest, OpensTokyoTower) {
  const Request tower = ClassifyArgument("TolVex:SD9.XC4.EQ2.CV5", ".");
  ASSERT_EQ(tower.kind, RequestKind::kLocation);
  const MapOption& map = GetParam().map;
  const std::string line = ExpandCommandTemplate(tower.location, CommandOptionOf(map), ".");
  EXPECT_NE(map.command_template.find("$zoom"), std::string::npos);
  if (line.find(tower.location.geocode) != std::string::npos) return;
  bool latitude = false;
  bool longitude = false;
  for (const char* at = line.c_str(); *at != '\0';) {
    char* end = nullptr;
    const double number = std::strtod(at, &end);
    if (end == at) {
      ++at;
      continue;
    }
    latitude = latitude || std::fabs(number - tower.location.position.latitude) < 1e-5;
    longitude = longitude || std::fabs(number - tower.location.position.longitude) < 1e-5;
    at = end;
  }
  EXPECT_TRUE(latitude && longitude) << line;
}

std::vector<CatalogueRow> CatalogueRows() {
  std::vector<CatalogueRow> rows;
  for (MapOption& map : CatalogueMaps()) rows.push_back({std::move(map)});
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Shipped, CatalogueEntryTest, ::testing::ValuesIn(CatalogueRows()),
                         [](const auto& row) { return test::RowName(row.param.map.id); });

}  // namespace
}  // namespace tolvex
