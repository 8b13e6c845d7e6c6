// Hostile links and damaged or hostile option files against TolvexGateway.exe under Wine
// (MSXML, ShellExecuteA): each gives its message or its defined result, launches nothing
// after an error, and leaves the option file byte for byte as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/utf16.h"
#include "tests/support/wine_gateway.h"

namespace tolvex::test {
namespace {

using Lines_ = std::vector<std::string>;

const std::string kTemplate = "tolvextest:lat=$lat.d(-.6r)&amp;lon=$lon.d(-.6r)&amp;c=$ost";
const std::string kGeocodeUrl = "tolvextest:lat=35.658581&lon=139.745435&c=SD9.XC4.EQ2.CV5";

struct HostileLink {
  const char* name;
  std::string arguments;  // the command line after the program
  std::string message;    // the box's text, titled "TolvexGateway"
};

class HostileLinkTest : public ::testing::TestWithParam<HostileLink> {};

TEST_P(HostileLinkTest, ShowsItsMessageAndLaunchesNothing) {
  const WineGateway gateway(std::string("hostile-") + GetParam().name);
  const std::string options = OneOptionFile(kTemplate);
  gateway.WriteOptions(options);
  EXPECT_EQ(gateway.Drive("run", gateway.QuotedProgram() + GetParam().arguments),
            (Lines_{"box|TolvexGateway|" + GetParam().message + "|OK|icon", "exit|1"}));
  EXPECT_EQ(gateway.Recorded(), Lines_{});
  EXPECT_EQ(gateway.Options(), options);
}

const std::string kLong(5000, 'A');

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileLinkTest,
    ::testing::Values(
        HostileLink{"InjectedSwitch", " TolVex:35,139 /c calc",
                    "Invalid Location: \"35,139 /c calc\""},
        HostileLink{"CmdAmpersand", " TolVex:35,139&calc", "Invalid Location: \"35,139&calc\""},
        HostileLink{"CmdDoubleAmpersand", " \"TolVex:35,139 && calc\"",
                    "Invalid Location: \"35,139 && calc\""},
        HostileLink{"CmdPipe", " TolVex:35,139|calc", "Invalid Location: \"35,139|calc\""},
        HostileLink{"CmdCaret", " TolVex:35^,139", "Invalid Location: \"35^,139\""},
        HostileLink{"CmdVariable", " TolVex:%windir%,139", "Invalid Location: \"%windir%,139\""},
        HostileLink{"ShellSubstitution", " TolVex:$(calc),139",
                    "Invalid Location: \"$(calc),139\""},
        HostileLink{"Backticks", " TolVex:`calc`", "Invalid Location: \"`calc`\""},
        HostileLink{"Semicolons", " TolVex:35;139;calc", "Invalid Location: \"35;139;calc\""},
        HostileLink{"BackslashBeforeQuote", " \"TolVex:35,139\\\"",
                    "Invalid Location: \"35,139\\\""},
        HostileLink{"EncodedAmpersand", " TolVex:35,139%26calc",
                    "Invalid Location: \"35,139&calc\""},
        HostileLink{"EncodedQuoteAndSpaces", " \"TolVex:35,139%22%20/c%20calc\"",
                    "Invalid Location: \"35,139\" /c calc\""},
        HostileLink{"EncodedSemicolon", " TolVex:35%3B139%3Bcalc",
                    "Invalid Location: \"35;139;calc\""},
        HostileLink{"DoubleEncoding", " TolVex:35%252C139", "Invalid Location: \"35%2C139\""},
        HostileLink{"FullWidthDigits", " TolVex:\xEF\xBC\x93\xEF\xBC\x95,139",
                    "Invalid Location: \"\xEF\xBC\x93\xEF\xBC\x95,139\""},
        // Control characters show as "%XX": a message is always one line.
        HostileLink{"Tab", " TolVex:35,1\t39", "Invalid Location: \"35,1%0939\""},
        HostileLink{"EncodedLineBreak", " TolVex:35,139%0D%0Acalc",
                    "Invalid Location: \"35,139%0D%0Acalc\""},
        HostileLink{"Exponent", " TolVex:1e1,0", "Invalid Location: \"1e1,0\""},
        HostileLink{"Long", " TolVex:" + kLong,
                    "Invalid Location: \"" + kLong.substr(0, 200) + "\xE2\x80\xA6\""},
        // "\xEF\xBF\xBF" is a lone surrogate in the command line (see the driver): U+FFFD.
        HostileLink{"LoneSurrogate", " TolVex:35,139\xEF\xBF\xBF",
                    "Invalid Location: \"35,139\xEF\xBF\xBD\""},
        HostileLink{"LongWithLoneSurrogate", " TolVex:\xEF\xBF\xBF" + kLong,
                    "Invalid Location: \"\xEF\xBF\xBD" + kLong.substr(0, 199) + "\xE2\x80\xA6\""}),
    [](const auto& row) { return std::string(row.param.name); });

struct BadFile {
  const char* name;
  std::string bytes;
  std::string message;  // "" when the link opens
  // Builds the bytes inside the row that uses them (instead of `bytes`): a large file is not
  // made by every process that only lists or runs other rows.
  std::string (*build)() = nullptr;
};

class BadOptionFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadOptionFileTest, GivesItsResultAndKeepsTheFile) {
  const WineGateway gateway(std::string("badfile-") + GetParam().name);
  const std::string bytes = GetParam().build != nullptr ? GetParam().build() : GetParam().bytes;
  gateway.WriteOptions(bytes);
  const Lines_ lines = gateway.Drive("run", gateway.QuotedProgram() + " TolVex:SD9.XC4.EQ2.CV5");
  if (GetParam().message.empty()) {
    EXPECT_EQ(lines, (Lines_{"exit|0"}));
    EXPECT_EQ(gateway.Recorded(), (Lines_{WineGateway::RecorderLine("C:\\windows", kGeocodeUrl)}));
  } else {
    EXPECT_EQ(lines, (Lines_{"box|TolvexGateway|" + GetParam().message + "|OK|icon", "exit|1"}));
    EXPECT_EQ(gateway.Recorded(), Lines_{});
  }
  EXPECT_EQ(gateway.Options(), bytes);
}

std::string Body() {
  return "<tolvexgateway_optionlist currentsetting=\"Map\"><option id=\"Map\" area=\"World\">" +
         kTemplate + "</option></tolvexgateway_optionlist>";
}

using test::Utf16;

std::string BillionLaughs() {
  std::string file = "<!DOCTYPE lolz [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    file += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) file += "&l" + std::to_string(i - 1) + ";";
    file += "\">";
  }
  return file +
         "]><tolvexgateway_optionlist currentsetting=\"Map\"><option id=\"Map\" "
         "area=\"a\">&l9;</option></tolvexgateway_optionlist>";
}

// 10 000 nested elements before the option, and a file of about 20 MB.
std::string Deep() {
  std::string file = "<tolvexgateway_optionlist currentsetting=\"Map\">";
  for (int i = 0; i < 10000; ++i) file += "<n>";
  for (int i = 0; i < 10000; ++i) file += "</n>";
  return file + "<option id=\"Map\" area=\"a\">" + kTemplate +
         "</option></tolvexgateway_optionlist>";
}

std::string Large() {
  std::string file = "<tolvexgateway_optionlist currentsetting=\"Map\">";
  while (file.size() < 20'000'000)
    file += "<option id=\"filler\" area=\"a\">tolvextest:x</option>\n";
  return file + "<option id=\"Map\" area=\"a\">" + kTemplate +
         "</option></tolvexgateway_optionlist>";
}

const std::string kCannotLoad = "Can't Load Option File";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadOptionFileTest,
    ::testing::Values(
        BadFile{"Empty", "", kCannotLoad},
        BadFile{"Garbage", std::string("\x00\xff\xfe\x01garbage", 11), kCannotLoad},
        BadFile{"Truncated", Body().substr(0, 70), kCannotLoad},
        BadFile{"ExternalEntity",
                "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///C:/windows/win.ini\">]>"
                "<tolvexgateway_optionlist currentsetting=\"Map\"><option id=\"Map\" area=\"a\">"
                "tolvextest:&x;</option></tolvexgateway_optionlist>",
                kCannotLoad},
        BadFile{"BillionLaughs", {}, kCannotLoad, BillionLaughs},
        BadFile{"DeepNesting", {}, kCannotLoad, Deep}, BadFile{"Large", {}, "", Large},
        BadFile{"Utf8ByteOrderMark", "\xEF\xBB\xBF" + Body(), ""},
        BadFile{"RootInANamespace",
                "<tolvexgateway_optionlist xmlns=\"urn:x\" currentsetting=\"Map\"/>", kCannotLoad},
        BadFile{"Utf16LittleEndian", Utf16(Body(), false), ""},
        BadFile{"Utf16BigEndian", Utf16(Body(), true), ""},
        BadFile{"DuplicateIdsFirstWins",
                "<tolvexgateway_optionlist currentsetting=\"Map\"><option id=\"Map\" area=\"a\">" +
                    kTemplate +
                    "</option><option id=\"Map\" area=\"b\">tolvextest:second</option>"
                    "</tolvexgateway_optionlist>",
                ""},
        BadFile{"IdWithDoubleQuote",
                "<tolvexgateway_optionlist currentsetting='M\"ap'><option id='M\"ap' area='a'>" +
                    kTemplate + "</option></tolvexgateway_optionlist>",
                ""},
        BadFile{"CurrentSettingOnAnOptionOnly",
                "<tolvexgateway_optionlist><option id=\"Map\" area=\"a\" currentsetting=\"Map\">" +
                    kTemplate + "</option></tolvexgateway_optionlist>",
                "Can't Load Option file. XML file may be collasped."}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tolvex::test
