// The Win32 backends of the platform layer, run under Wine through tolvex_probe: MSXML
// loading, queries, attribute texts and serialisation; file replacement; process facts; the
// shell hand-over and the ANSI code page; the message box.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/wine.h"
#include "version.h"

namespace tolvex::test {
namespace {

namespace fs = std::filesystem;

const std::string kOptionFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- kept on save -->\n"
    "<tolvexgateway_optionlist currentsetting=\"Atlas\">\n"
    "  <option id=\"Viewer\" area=\" Japan \" datum=\"tokyo\" note=\"extra\">"
    "viewer.exe $lat.d() &amp; $lon.d()</option>\n"
    "  <option id=\"Atlas\" area=\"World\">\n"
    "    atlas.exe  $ost \xe6\x9d\xb1\xe4\xba\xac\n"
    "  </option>\n"
    "  <group><option id=\"Hidden\" area=\"x\">h</option></group>\n"
    "</tolvexgateway_optionlist>\n";

fs::path Probe() { return WindowsBinDir() / "tolvex_probe.exe"; }

std::vector<std::string> RunProbe(const std::vector<std::string>& args,
                                  const std::vector<std::string>& env = {}) {
  const ProcessResult result = RunWine(Probe(), args, env);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  return Lines(result.out);
}

using Expected = std::vector<std::string>;

struct QueryCase {
  const char* name;
  std::string file;
  std::vector<std::string> queries;
  Expected lines;  // "loaded" or "not loaded", then per query "first ..." and its "match ..."
};

class XmlQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(XmlQueryTest, AnswersAsTheOptionStoreExpects) {
  const fs::path folder = FreshWineFolder(std::string("xml-") + GetParam().name);
  const fs::path file = folder / "tolvexgwoption.xml";
  WriteFile(file, GetParam().file);
  std::vector<std::string> args = {"xml", WindowsPath(file)};
  args.insert(args.end(), GetParam().queries.begin(), GetParam().queries.end());
  EXPECT_EQ(RunProbe(args), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlQueryTest,
    ::testing::Values(
        QueryCase{
            "ActiveIdAndOptionsInDocumentOrder",
            kOptionFile,
            {"tolvexgateway_optionlist/@currentsetting", "/tolvexgateway_optionlist/option"},
            {"loaded", "first [Atlas]", "match [Atlas]", "first [viewer.exe $lat.d() & $lon.d()]",
             "match [viewer.exe $lat.d() & $lon.d()]",
             // White space is preserved (the option store trims the template itself): the
             // match's text spans three lines.
             "match [", "    atlas.exe  $ost \xe6\x9d\xb1\xe4\xba\xac", "  ]"}},
        QueryCase{"AttributeTextsAreExact",
                  kOptionFile,
                  {"//@area", "/tolvexgateway_optionlist/option[@id=\"Viewer\"]/@datum"},
                  {"loaded", "first [ Japan ]", "match [ Japan ]", "match [World]", "match [x]",
                   "first [tokyo]", "match [tokyo]"}},
        QueryCase{"AbsentAttributeAndNestedOptionFindNothing",
                  kOptionFile,
                  {"/tolvexgateway_optionlist/option[@id=\"Atlas\"]/@datum",
                   "/tolvexgateway_optionlist/option[@id=\"Hidden\"]"},
                  {"loaded", "first none", "first none"}},
        QueryCase{"QueryThatIsNotXPathFindsNothing",
                  kOptionFile,
                  {"/tolvexgateway_optionlist/option[@id=\"a\"b\"]", "option[["},
                  {"loaded", "first none", "first none"}},
        QueryCase{"ByteOrderMarkAndNoDeclaration",
                  "\xef\xbb\xbf<tolvexgateway_optionlist currentsetting=\"\xc3\xa9\"/>",
                  {"//@currentsetting"},
                  {"loaded", "first [\xc3\xa9]", "match [\xc3\xa9]"}},
        QueryCase{"NotWellFormed",
                  "<tolvexgateway_optionlist currentsetting=\"A\"><option>",
                  {"//@currentsetting"},
                  {"not loaded", "first none"}},
        QueryCase{"DocumentTypeDeclarationIsRefused",
                  "<?xml version=\"1.0\"?>\n<!DOCTYPE t [<!ENTITY e \"Atlas\">]>\n"
                  "<tolvexgateway_optionlist currentsetting=\"&e;\"/>",
                  {"//@currentsetting"},
                  {"not loaded", "first none"}},
        QueryCase{"EmptyFile", "", {"//@currentsetting"}, {"not loaded", "first none"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(XmlDocumentTest, MissingFileDoesNotLoad) {
  const fs::path folder = FreshWineFolder("xml-missing");
  EXPECT_EQ(RunProbe({"xml", WindowsPath(folder / "none.xml"), "//@a"}),
            (Expected{"not loaded", "first none"}));
}

// Serialize after a new currentsetting: the rest of the document survives, the new text is
// escaped, and the bytes load again to the same answers.
TEST(XmlDocumentTest, SerializedChoiceKeepsTheDocumentAndReadsBack) {
  const fs::path folder = FreshWineFolder("xml-serialize");
  const fs::path file = folder / "tolvexgwoption.xml";
  WriteFile(file, kOptionFile);
  const std::string chosen = "Vi\"ew<er & \xe5\x9c\xb0";
  const ProcessResult result = RunWine(
      Probe(), {"set", WindowsPath(file), "tolvexgateway_optionlist/@currentsetting", chosen});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  ASSERT_TRUE(result.out.starts_with("loaded\nset\n")) << result.out;
  const std::string bytes = result.out.substr(std::string("loaded\nset\n").size());
  EXPECT_NE(bytes.find("<!-- kept on save -->"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("note=\"extra\""), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("&amp; $lon.d()"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("<group>"), std::string::npos) << bytes;

  const fs::path saved = folder / "saved.xml";
  WriteFile(saved, bytes);
  EXPECT_EQ(RunProbe({"xml", WindowsPath(saved), "tolvexgateway_optionlist/@currentsetting",
                      "/tolvexgateway_optionlist/option/@id"}),
            (Expected{"loaded", "first [" + chosen + "]", "match [" + chosen + "]",
                      "first [Viewer]", "match [Viewer]", "match [Atlas]"}));
}

// The edits of the option list on MSXML: each changes what it names, and the rest of the file
// (comments, other attributes, order, layout) comes back as it was.
struct EditCase {
  const char* name;
  std::vector<std::string> edit;  // QUERY OP ARG... of tolvex_probe edit
  bool done;
  std::string from;  // the part of kOptionFile the edit changes ("" for none)
  std::string to;
};

class XmlEditTest : public ::testing::TestWithParam<EditCase> {};

TEST_P(XmlEditTest, ChangesOnlyWhatItNames) {
  const EditCase& c = GetParam();
  const fs::path folder = FreshWineFolder(std::string("xml-edit-") + c.name);
  const fs::path file = folder / "tolvexgwoption.xml";
  WriteFile(file, kOptionFile);
  std::vector<std::string> args = {"edit", WindowsPath(file)};
  args.insert(args.end(), c.edit.begin(), c.edit.end());
  std::string expected = kOptionFile;
  if (!c.from.empty()) expected.replace(expected.find(c.from), c.from.size(), c.to);
  Expected lines = {"loaded", c.done ? "done" : "not done"};
  for (const std::string& line : Lines(expected)) lines.push_back(line);
  lines.push_back("");  // the probe ends the bytes, which end in a line break, with one more
  EXPECT_EQ(RunProbe(args), lines);
}

const std::string kRoot = "/tolvexgateway_optionlist";
const std::string kViewer = "/tolvexgateway_optionlist/option[@id=\"Viewer\"]";

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlEditTest,
    ::testing::Values(
        EditCase{"AppendedElementIsIndentedAndItsTextEscaped",
                 {kRoot, "append", "option", "\n  ", "a&b <c> \"q\" <script>x()</script>"},
                 true,
                 "</group>\n",
                 "</group>\n  <option>a&amp;b &lt;c&gt; \"q\" "
                 "&lt;script&gt;x()&lt;/script&gt;</option>\n"},
        EditCase{"NewAttributeGoesAfterTheOthers",
                 {kRoot, "attr", "ask", "true"},
                 true,
                 "\"Atlas\">\n",
                 "\"Atlas\" ask=\"true\">\n"},
        EditCase{"AttributeValueIsEscaped",
                 {kViewer, "attr", "area", "\"&<"},
                 true,
                 "area=\" Japan \"",
                 "area=\"&quot;&amp;&lt;\""},
        EditCase{"AttributeIsRemoved", {kViewer, "unattr", "note"}, true, " note=\"extra\"", ""},
        EditCase{"AbsentAttributeIsNoFault", {kViewer, "unattr", "zoom"}, true, "", ""},
        EditCase{"ElementIsRemoved",
                 {kRoot + "/group", "remove"},
                 true,
                 "<group><option id=\"Hidden\" area=\"x\">h</option></group>",
                 ""},
        EditCase{"RootStays", {kRoot, "remove"}, false, "", ""},
        EditCase{
            "AttributeIsNoElement", {kRoot + "/@currentsetting", "attr", "a", "b"}, false, "", ""},
        EditCase{"ElementTextIsReplaced",
                 {kViewer, "text", "b & <c>"},
                 true,
                 ">viewer.exe $lat.d() &amp; $lon.d()<",
                 ">b &amp; &lt;c&gt;<"}),
    [](const auto& row) { return std::string(row.param.name); });

struct ReplaceCase {
  const char* name;
  bool existing;
  bool locked;
  Expected lines;
  bool contents_replaced;
  std::vector<std::string> leftovers = {};  // of saves whose writer has ended, removed
};

class ReplaceFileTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceFileTest, ReplacesWholeOrLeavesTheOriginal) {
  const fs::path folder = FreshWineFolder(std::string("replace-") + GetParam().name);
  const fs::path target = folder / "tolvexgwoption.xml";
  const fs::path source = folder / "source" / "new.xml";
  fs::create_directories(source.parent_path());
  const std::string original = "<old/>\n";
  const std::string replacement = std::string("<new>\r\n\0\xff</new>", 14);
  if (GetParam().existing) WriteFile(target, original);
  WriteFile(source, replacement);
  for (const std::string& name : GetParam().leftovers) WriteFile(folder / name, "left");

  EXPECT_EQ(RunProbe({GetParam().locked ? "replace-locked" : "replace", WindowsPath(target),
                      WindowsPath(source)}),
            GetParam().lines);
  if (GetParam().existing) {
    EXPECT_EQ(ReadFile(target), GetParam().contents_replaced ? replacement : original);
  } else {
    EXPECT_FALSE(fs::exists(target)) << "a missing file must not be created";
  }
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  const Expected expected_left =
      GetParam().existing ? Expected{"source", "tolvexgwoption.xml"} : Expected{"source"};
  EXPECT_EQ(left, expected_left) << "no temporary file may be left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceFileTest,
    ::testing::Values(ReplaceCase{"Existing", true, false, {"replaced"}, true},
                      ReplaceCase{"Missing", false, false, {"not replaced"}, false},
                      ReplaceCase{"HeldOpenUnshared", true, true, {"not replaced"}, false},
                      ReplaceCase{"LeftoversOfKilledSaves",
                                  true,
                                  false,
                                  {"replaced"},
                                  true,
                                  {".tolvexgwoption.xml.tmp-4000000-7",
                                   ".tolvexgwoption.xml.tmp-4000004-12345"}}),
    [](const auto& row) { return std::string(row.param.name); });

// The user's own option file: a save goes there when the program folder's file may not be
// replaced in place (a folder that cannot be written: Wine's Z:\\proc), the folders on its way
// are created, and once it exists it is the file that is read.
struct InPlaceCase {
  const char* name;
  bool program_folder;  // else Z:\\proc\\version
  Expected lines;
};

class MayReplaceInPlaceTest : public ::testing::TestWithParam<InPlaceCase> {};

TEST_P(MayReplaceInPlaceTest, OnlyWhereTheFolderCanBeWritten) {
  std::string path = "Z:\\proc\\version";
  if (GetParam().program_folder) {
    const fs::path folder = FreshWineFolder("in-place");
    WriteFile(folder / "tolvexgwoption.xml", "<a/>");
    path = WindowsPath(folder / "tolvexgwoption.xml");
  }
  EXPECT_EQ(RunProbe({"may-replace", path}), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Folders, MayReplaceInPlaceTest,
                         ::testing::Values(InPlaceCase{"OfOneUser", true, {"in place"}},
                                           InPlaceCase{
                                               "ThatCannotBeWritten", false, {"elsewhere"}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(OwnOptionFileTest, IsCreatedWithItsFolderAndThenRead) {
  const std::string beside = WindowsPath(WindowsBinDir()) + "\\tolvexgwoption.xml";
  const auto before = RunProbe({"own"});
  ASSERT_EQ(before.size(), 2U);
  const std::string own = before[0];
  EXPECT_TRUE(own.ends_with("\\AppData\\Roaming\\TolvexGateway\\tolvexgwoption.xml")) << own;
  EXPECT_EQ(before[1], beside);
  const fs::path source = FreshWineFolder("own-file") / "new.xml";
  WriteFile(source, "<tolvexgateway_optionlist currentsetting=\"Mine\"/>");
  EXPECT_EQ(RunProbe({"write-new", own, WindowsPath(source)}), (Expected{"written"}));
  EXPECT_EQ(RunProbe({"xml", own, "tolvexgateway_optionlist/@currentsetting"}),
            (Expected{"loaded", "first [Mine]", "match [Mine]"}));
  EXPECT_EQ(RunProbe({"own"}), (Expected{own, own}));
  // Every other Wine test reads the file beside the program.
  RunWine("cmd", {"/c", "rmdir", "/s", "/q", own.substr(0, own.rfind('\\'))});
  EXPECT_EQ(RunProbe({"own"}), (Expected{own, beside}));
}

TEST(ProcessTest, ProgramDirectoryAndFilesBesideIt) {
  const std::string directory = WindowsPath(WindowsBinDir());
  EXPECT_EQ(RunProbe({"dir"}), (Expected{directory}));
  EXPECT_EQ(RunProbe({"beside", "tolvexgwoption.xml"}),
            (Expected{directory + "\\tolvexgwoption.xml"}));
}

TEST(ProcessTest, EnvironmentVariablesSetEmptyAndUnset) {
  const std::vector<std::string> env = {"TOLVEX_SET=C:\\w \xe6\x9d\xb1", "TOLVEX_EMPTY="};
  EXPECT_EQ(RunProbe({"env", "TOLVEX_SET"}, env), (Expected{"[C:\\w \xe6\x9d\xb1]"}));
  EXPECT_EQ(RunProbe({"env", "TOLVEX_EMPTY"}, env), (Expected{"[]"}));
  EXPECT_EQ(RunProbe({"env", "TOLVEX_UNSET"}, env), (Expected{"(unset)"}));
}

TEST(ProcessTest, DecimalSeparatorOfTheUserLocale) {
  EXPECT_EQ(RunProbe({"decimal"}), (Expected{"[.]"}));
  EXPECT_EQ(RunProbe({"decimal"}, {"LANG=de_DE.UTF-8", "LC_ALL=de_DE.UTF-8"}), (Expected{"[,]"}));
}

// The argument text comes from GetCommandLineW: the driver starts the probe with exact
// command lines, quoting and blanks as a shell would write them.
struct ArgumentCase {
  const char* name;
  std::string after_program;  // what follows the program's quoted path
  std::string printed;
};

class ArgumentTextTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentTextTest, IsWhatFollowsTheProgramName) {
  const std::string command_line = "\"" + WindowsPath(Probe()) + "\"" + GetParam().after_program;
  const ProcessResult result =
      RunWine(WindowsBinDir() / "tolvex_driver.exe", {"run", "30000", command_line});
  EXPECT_EQ(Lines(result.out), (Expected{GetParam().printed, "exit|0"})) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentTextTest,
    ::testing::Values(ArgumentCase{"OneBlank", " argtext", "[argtext]"},
                      ArgumentCase{"QuotesAndBlanksKept", "   argtext  \"TolVex:35.6, 139\"  ",
                                   "[argtext  \"TolVex:35.6, 139\"  ]"},
                      ArgumentCase{"NonAscii", " argtext \xe6\x9d\xb1\xe4\xba\xac",
                                   "[argtext \xe6\x9d\xb1\xe4\xba\xac]"}),
    [](const auto& row) { return std::string(row.param.name); });

// tolvex.exe under code page 932: a lone surrogate (U+FFFF for the driver) is refused by name,
// the file kept; a Japanese id, area and template are listed and shown as typed.
TEST(ToolArgumentTest, ArriveAsTyped) {
  const fs::path file = FreshWineFolder("tool-arguments") / "m.xml";
  const std::string bytes =
      "<tolvexgateway_optionlist currentsetting=\"Map\"><option id=\"Map\" "
      "area=\"W\">m</option></tolvexgateway_optionlist>\n";
  WriteFile(file, bytes);
  const fs::path tool = WindowsBinDir() / "tolvex.exe";
  const auto add = [&](const std::string& words) {
    return RunWine(WindowsBinDir() / "tolvex_driver.exe",
                   {"run", "30000",
                    "\"" + WindowsPath(tool) + "\" maps --options \"" + WindowsPath(file) +
                        "\" add " + words});
  };
  const ProcessResult refused = add("\u5730\uFFFF t");
  EXPECT_EQ(Lines(refused.out), Expected{"exit|1"});
  EXPECT_NE(refused.err.find("tolvex: \"\u5730\uFFFD\" holds a lone surrogate (U+D800), which "
                             "is no character"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadFile(file), bytes);
  const std::string url = "https://j.example/?q=\u6771\u4EAC&c=";
  EXPECT_EQ(Lines(add("\u5730\u56F3 \"" + url + "$ost\" --area \u65E5\u672C").out),
            Expected{"exit|0"});
  EXPECT_EQ(
      Lines(RunWine(tool, {"maps", "--options", WindowsPath(file), "list"}).out),
      (Expected{"* Map\tW\t\t\tm", "  \u5730\u56F3\t\u65E5\u672C\twgs84\t\t" + url + "$ost"}));
  const Expected shown =
      Lines(RunWine(tool, {"show", "--options", WindowsPath(file), "SD9.XC4.EQ2.CV5"}).out);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back(), "map:\u5730\u56F3\t" + url + "SD9.XC4.EQ2.CV5");
}

TEST(ShellTest, HandsTheWholeTextOverWithTheWorkingDirectory) {
  const fs::path folder = FreshWineFolder("shell");
  const fs::path record = folder / "record.txt";
  const std::vector<std::string> env = {"TOLVEX_RECORD_FILE=" + WindowsPath(record)};
  EXPECT_EQ(RunProbe({"shell", "tolvextest:+035.6586 +139.7454", "C:\\windows"}, env),
            (Expected{"handed over"}));
  EXPECT_EQ(RunProbe({"shell", "tolvextest:none"}, env), (Expected{"handed over"}));
  const std::string recorder = "\"" + WindowsPath(WindowsBinDir() / "tolvex_recorder.exe") + "\"";
  EXPECT_EQ(Lines(ReadFile(record)),
            (Expected{"C:\\windows\t" + recorder + " \"tolvextest:+035.6586 +139.7454\"",
                      WindowsPath(fs::current_path()) + "\t" + recorder + " \"tolvextest:none\""}));
}

TEST(ShellTest, NothingToOpenIsReportedAsNothingStarted) {
  EXPECT_EQ(RunProbe({"shell", "C:\\no such folder\\nothing.htm"}), (Expected{"nothing started"}));
}

// The session runs Japanese Windows (code page 932): what ShellExecuteA receives.
struct AnsiCase {
  const char* name;
  std::string text;  // UTF-8
  std::string printed;
  std::vector<std::string> env = {};
};

class AnsiTest : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(AnsiTest, TextIsConvertedToTheSystemCodePage) {
  EXPECT_EQ(RunProbe({"ansi", GetParam().text}, GetParam().env), (Expected{GetParam().printed}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiTest,
    ::testing::Values(
        AnsiCase{"KanaAndKanji", "\xe6\x9d\xb1\xe4\xba\xac\xe3\x82\xbf\xe3\x83\xaf\xe3\x83\xbc",
                 "932 93 8c 8b 9e 83 5e 83 8f 81 5b"},
        AnsiCase{"HalfWidthKanaIsOneByte", "\xef\xbd\xb6", "932 b6"},
        // The second bytes of "ソ" and "表" are the byte of "\": the text stays whole only when
        // read back as code page 932.
        AnsiCase{"SecondByteIsTheBackslashByte", "\xe3\x82\xbd\xe8\xa1\xa8", "932 83 5c 95 5c"},
        AnsiCase{"CircledDigit", "\xe2\x91\xa0", "932 87 40"},
        // Outside code page 932: the conversion's best fit, else "?" per UTF-16 unit.
        AnsiCase{"AccentedLetterBestFit", "\xc3\xa9", "932 65"},
        AnsiCase{"YenSignBecomesTheBackslashByte", "\xc2\xa5", "932 5c"},
        AnsiCase{"EuroSignHasNoEquivalent", "\xe2\x82\xac", "932 3f"},
        AnsiCase{"CharacterBeyondUtf16Unit", "\xf0\x9f\x98\x80", "932 3f 3f"},
        // Western Windows (code page 1252), which only a Western session can show: the
        // conversion follows the system's code page, "é" keeps its byte there.
        AnsiCase{"WesternCodePage", "a\xc3\xa9\xe6\x9d\xb1", "1252 61 e9 3f", WesternLocale()}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MessageTest, ErrorBoxShowsTextTitleStopIconAndOneButton) {
  const std::string command_line =
      "\"" + WindowsPath(Probe()) + "\" error \"Invalid Data: \\\"x\\\"\" TolvexGateway";
  const ProcessResult result =
      RunWine(WindowsBinDir() / "tolvex_driver.exe", {"run", "30000", command_line});
  EXPECT_EQ(Lines(result.out),
            (Expected{"box|TolvexGateway|Invalid Data: \"x\"|OK|icon", "dismissed", "exit|0"}))
      << result.err;
}

}  // namespace
}  // namespace tolvex::test

namespace tolvex::test {
namespace {

// The package's registry files, imported into the prefix by regedit as a user would.
TEST(PackageTest, RegisterAndUnregisterTheTolVexScheme) {
  const std::filesystem::path dist = TOLVEX_WINDOWS_DIST_DIR;
  const std::string key = "HKCU\\Software\\Classes\\TolVex";
  ASSERT_EQ(ImportRegistryFile(dist / "register.reg"), 0);
  const std::string command = RunWine("reg", {"query", key + "\\shell\\open\\command"}).out;
  // A plain string with the folder written out, as the installer writes it: the shell
  // substitutes the link for %1 and expands nothing else.
  EXPECT_NE(command.find("REG_SZ    \"C:\\TolvexGateway\\TolvexGateway.exe\" \"%1\"\r\n"),
            std::string::npos)
      << command;
  const std::string icon = RunWine("reg", {"query", key + "\\DefaultIcon"}).out;
  EXPECT_NE(icon.find("REG_SZ    C:\\TolvexGateway\\TolvexGateway.exe,0\r\n"), std::string::npos)
      << icon;
  const std::string scheme = RunWine("reg", {"query", key}).out;
  EXPECT_NE(scheme.find("URL Protocol    REG_SZ"), std::string::npos) << scheme;

  ASSERT_EQ(ImportRegistryFile(dist / "unregister.reg"), 0);
  EXPECT_NE(RunWine("reg", {"query", key}).exit_status, 0) << "the key must be gone";
}

TEST(PackageTest, VersionResourceOfTheProgram) {
  const ProcessResult result =
      RunWine(WindowsBinDir() / "tolvex_probe.exe",
              {"version", WindowsPath(WindowsBinDir() / "TolvexGateway.exe")});
  EXPECT_EQ(Lines(result.out),
            (std::vector<std::string>{
                "FILEVERSION " TOLVEX_VERSION ".0", "PRODUCTVERSION " TOLVEX_VERSION ".0",
                "FILETYPE 1", "Translation 0411 04B0", "CompanyName The TolvexGateway authors",
                "FileDescription Handler of TolVex: links", "FileVersion " TOLVEX_VERSION_RESOURCE,
                "InternalName TolvexGateway",
                "LegalCopyright Copyright (C) 2026 the TolvexGateway authors",
                "LegalTrademarks TolVex and TolvexGateway are names of the TolvexGateway project",
                "OriginalFilename TolvexGateway.exe", "ProductName TolVex Gateway",
                "ProductVersion " TOLVEX_VERSION_RESOURCE}))
      << result.err;
}

}  // namespace
}  // namespace tolvex::test
