// TolvexGateway.exe end to end under Wine: links arrive as exact command lines (quoted and
// unquoted, prefix in any case), the expanded template reaches the shell (observed through the
// test scheme's recorder) with the working folder windir, and every message box is read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/wine_gateway.h"

namespace tolvex::test {
namespace {

using Lines_ = std::vector<std::string>;

const std::string kTemplate = "tolvextest:lat=$lat.d(-.6r)&amp;lon=$lon.d(-.6r)&amp;c=$ost";
const std::string kGeocodeUrl = "tolvextest:lat=35.658581&lon=139.745435&c=SD9.XC4.EQ2.CV5";
const std::string kPairUrl = "tolvextest:lat=35.658581&lon=139.745433&c=SD9.XC4.EQ2.CV5";

const std::vector<std::string> kGerman = {"LANG=de_DE.UTF-8", "LC_ALL=de_DE.UTF-8"};

struct LinkCase {
  const char* name;
  bool quoted_program;
  std::string arguments;  // the command line after the program
  std::string opened;
  std::vector<std::string> env = {};
};

class LinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkTest, OpensTheExpandedTemplateInWindir) {
  const WineGateway gateway(std::string("link-") + GetParam().name);
  gateway.WriteOptions(OneOptionFile(kTemplate));
  const std::string program =
      GetParam().quoted_program ? gateway.QuotedProgram() : gateway.Program();
  EXPECT_EQ(gateway.Drive("run", program + GetParam().arguments, {}, GetParam().env),
            (Lines_{"exit|0"}));
  EXPECT_EQ(gateway.Recorded(),
            (Lines_{WineGateway::RecorderLine("C:\\windows", GetParam().opened)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkTest,
    ::testing::Values(
        LinkCase{"Geocode", true, " TolVex:SD9.XC4.EQ2.CV5", kGeocodeUrl},
        LinkCase{"LowerCasePrefix", true, " tolvex:SD9.XC4.EQ2.CV5", kGeocodeUrl},
        LinkCase{"QuotedLinkUpperCasePrefix", true, " \"TOLVEX:SD9.XC4.EQ2.CV5\"", kGeocodeUrl},
        LinkCase{"UnquotedProgram", false, " TolVex:SD9.XC4.EQ2.CV5", kGeocodeUrl},
        LinkCase{"BlanksAroundTheLink", true, "   TolVex:SD9.XC4.EQ2.CV5   ", kGeocodeUrl},
        LinkCase{"LinkGluedToQuotedProgram", true, "\"TolVex:SD9.XC4.EQ2.CV5\"", kGeocodeUrl},
        LinkCase{"CommaPair", true, " TolVex:35.658581,139.745433", kPairUrl},
        LinkCase{"SemicolonPairInQuotesWithSpaces", true, " \"TolVex: 35.658581;139.745433 \"",
                 kPairUrl},
        // As browsers hand a link to ShellExecute: percent-encoded, the scheme in lower case.
        LinkCase{"PercentEncodedPair", true, " \"tolvex:35.658581,%20139.745433\"", kPairUrl},
        // German Windows, whose decimal separator is ",", reads the link's "." as well.
        LinkCase{"CommaPairUnderGermanLocale", true, " TolVex:35.658581,139.745433", kPairUrl,
                 kGerman},
        LinkCase{"SouthEast", true, " TolVex:-33.8568,151.2153",
                 "tolvextest:lat=-33.856800&lon=151.215300&c=IC8.XX9.MS6.MR4"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GatewayTest, EveryFieldKindAndTheTokyoDatum) {
  const WineGateway gateway("fields-tokyo");
  gateway.WriteOptions(
      OneOptionFile("tolvextest:$lat.d(d03.4r),$lon.d(D03.4r);m=$lat.m(02.2r);s=$lon.s(02.1r);"
                    "r=$lat.r(.4r);x=$$;$ost",
                    "tokyo"));
  EXPECT_EQ(gateway.Drive("run", gateway.QuotedProgram() + " TolVex:35.658581,139.745433"),
            (Lines_{"exit|0"}));
  EXPECT_EQ(gateway.Recorded(),
            (Lines_{WineGateway::RecorderLine(
                "C:\\windows",
                "tolvextest:n035.6554,E139.7486;m=39.32;s=55.1;r=0.6223;x=$;SD9.XC4.EQ2.CV5")}));
}

// The command line reaches the shell through the system's code page: 932 in the session.
struct AnsiLinkCase {
  const char* name;
  std::string template_text;
  std::string opened;
  std::vector<std::string> env = {};
};

class AnsiLinkTest : public ::testing::TestWithParam<AnsiLinkCase> {};

TEST_P(AnsiLinkTest, CommandLineGoesThroughTheAnsiCodePage) {
  const WineGateway gateway(std::string("ansi-") + GetParam().name);
  gateway.WriteOptions(OneOptionFile(GetParam().template_text));
  EXPECT_EQ(
      gateway.Drive("run", gateway.QuotedProgram() + " TolVex:SD9.XC4.EQ2.CV5", {}, GetParam().env),
      (Lines_{"exit|0"}));
  EXPECT_EQ(gateway.Recorded(),
            (Lines_{WineGateway::RecorderLine("C:\\windows", GetParam().opened)}));
}

// A folder of Japanese names, "地図\ソフト表示" (two second bytes are the backslash byte).
const std::string kJapaneseFolder =
    "C:\\\xe5\x9c\xb0\xe5\x9b\xb3\\\xe3\x82\xbd\xe3\x83\x95\xe3\x83\x88\xe8\xa1\xa8\xe7\xa4\xba\\";

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiLinkTest,
    ::testing::Values(
        AnsiLinkCase{"JapaneseFolderArrivesIntact", "tolvextest:" + kJapaneseFolder + "$ost",
                     "tolvextest:" + kJapaneseFolder + "SD9.XC4.EQ2.CV5"},
        // Outside code page 932: "é" by its best fit, "€" has none.
        AnsiLinkCase{"OutsideTheCodePageReplaced", "tolvextest:\xc3\xa9\xe2\x82\xac$ost",
                     "tolvextest:e?SD9.XC4.EQ2.CV5"},
        // Western Windows, shown only by a Western session: "é" survives, "東" becomes "?".
        AnsiLinkCase{"WesternCodePage", "tolvextest:\xc3\xa9\xe6\x9d\xb1$ost",
                     "tolvextest:\xc3\xa9?SD9.XC4.EQ2.CV5", WesternLocale()}),
    [](const auto& row) { return std::string(row.param.name); });

struct MessageCase {
  const char* name;
  std::string arguments;
  std::string options;  // "" for no option file at all
  std::string message;  // "TITLE|TEXT"
};

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, ShowsOneErrorBoxAndLaunchesNothing) {
  const WineGateway gateway(std::string("message-") + GetParam().name);
  if (!GetParam().options.empty()) gateway.WriteOptions(GetParam().options);
  EXPECT_EQ(gateway.Drive("run", gateway.QuotedProgram() + GetParam().arguments),
            (Lines_{"box|" + GetParam().message + "|OK|icon", "exit|1"}));
  EXPECT_EQ(gateway.Recorded(), Lines_{});
  if (GetParam().options.empty()) {
    EXPECT_FALSE(std::filesystem::exists(gateway.option_file())) << "must not be created";
  } else {
    EXPECT_EQ(gateway.Options(), GetParam().options);
  }
}

const std::string kGood = OneOptionFile(kTemplate);

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageTest,
    ::testing::Values(
        MessageCase{"NoArgument", "", kGood, "TolvexGateway|Invalid Data: \"\""},
        MessageCase{"BlanksOnly", "    ", kGood, "TolvexGateway|Invalid Data: \"\""},
        MessageCase{"LoneQuote", " \"", kGood, "TolvexGateway|Invalid Data: \"\"\""},
        MessageCase{"TwoQuotes", " \"\"", kGood, "TolvexGateway|Invalid Data: \"\""},
        MessageCase{"PrefixAlone", " TolVex:", kGood, "TolvexGateway|Invalid Data: \"TolVex:\""},
        MessageCase{"PairWithoutPrefix", " 35.6,139", kGood,
                    "TolvexGateway|Invalid Data: \"35.6,139\""},
        MessageCase{"SpaceInsideOpeningQuote", " \" TolVex:35.6,139\"", kGood,
                    "TolvexGateway|Invalid Data: \" TolVex:35.6,139\""},
        MessageCase{"OptionInOtherCase", " Option", kGood,
                    "TolvexGateway|Invalid Data: \"Option\""},
        MessageCase{"PrefixedOptionInOtherCase", " TolVex:Option", kGood,
                    "TolvexGateway|Invalid Location: \"Option\""},
        MessageCase{"LatitudeOutOfRange", " TolVex:91,0", kGood,
                    "TolvexGateway|Invalid Location: \"91,0\""},
        MessageCase{"LowerCaseGeocode", " TolVex:sd9.xc4.eq2.cv5", kGood,
                    "TolvexGateway|Invalid Location: \"sd9.xc4.eq2.cv5\""},
        MessageCase{"QuotesInsideTheLink", " TolVex:1,2\" --x \"", kGood,
                    "TolvexGateway|Invalid Location: \"1,2\" --x \"\""},
        MessageCase{"BlankLocationInQuotes", " \"TolVex:   \"", kGood,
                    "TolvexGateway|Invalid Location: \"\""},
        MessageCase{"NoOptionFile", " TolVex:SD9.XC4.EQ2.CV5", "",
                    "TolvexGateway|Can't Load Option File"},
        MessageCase{"NotWellFormed", " TolVex:SD9.XC4.EQ2.CV5", "<tolvexgateway_optionlist><option",
                    "TolvexGateway|Can't Load Option File"},
        MessageCase{"NoCurrentSetting", " TolVex:SD9.XC4.EQ2.CV5",
                    "<tolvexgateway_optionlist><option id='Map' area='a'>x</option>"
                    "</tolvexgateway_optionlist>",
                    "TolvexGateway|Can't Load Option file. XML file may be collasped."},
        // Japanese text in the two start-up messages, as typed into a link.
        MessageCase{"JapaneseData", " \xe6\x9d\xb1\xe4\xba\xac\xe3\x82\xbf\xe3\x83\xaf\xe3\x83\xbc",
                    kGood,
                    "TolvexGateway|Invalid Data: "
                    "\"\xe6\x9d\xb1\xe4\xba\xac\xe3\x82\xbf\xe3\x83\xaf\xe3\x83\xbc\""},
        MessageCase{"JapaneseLocation",
                    " TolVex:\xe6\x9d\xb1\xe4\xba\xac\xe3\x82\xbf\xe3\x83\xaf\xe3\x83\xbc", kGood,
                    "TolvexGateway|Invalid Location: "
                    "\"\xe6\x9d\xb1\xe4\xba\xac\xe3\x82\xbf\xe3\x83\xaf\xe3\x83\xbc\""},
        MessageCase{"CurrentSettingNamesNoOption", " TolVex:SD9.XC4.EQ2.CV5",
                    "<tolvexgateway_optionlist currentsetting='Gone'><option id='Map' "
                    "area='a'>x</option></tolvexgateway_optionlist>",
                    "TolvexGateway|Can't Load Current Value. XML file may be collasped."}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tolvex::test
