// FrmPlaceCard's logic through a fake card: what the card shows for a link, the map it opens,
// what it copies and stores, with real option files on disk.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialog/place_card.h"
#include "services/system_services.h"
#include "tests/support/option_fakes.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

using test::kCantSave, test::kViewerAtlas, test::Message;

// The place card, shown for a link when the file asks at each link.
class FakeCardView final : public test::FakeWindow<PlaceCardView, PlaceCardForm, PlaceCardEvents>,
                           public platform::MessageSink {  // the launch's messages come here too
 public:
  std::vector<std::string> copied;
  std::string clipboard;
  std::string ClipboardText() const override { return clipboard; }
  void ShowError(std::string_view text, std::string_view title) override {
    FakeWindow::ShowError(text, title);
  }
  void CopyText(std::string_view text) override { copied.emplace_back(text); }
};

// clang-format off
std::string CardFile(std::string_view current, bool ask) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tolvexgateway_optionlist currentsetting=\"" +
         std::string(current) + "\"" + (ask ? " ask=\"true\"" : "") + ">\n"
         "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer $lat.d() $lon.d()</option>\n"
         "  <option id=\"Atlas\" area=\"World\" zoom=\"9\">https://atlas.example/?q=$ost&amp;z=$zoom</option>\n"
         "</tolvexgateway_optionlist>\n";
}
// clang-format on

class FrmPlaceCardTest : public test::OptionFileTest {
 protected:
  void LoadCard(std::string_view link, const std::optional<std::string>& file,
                std::string place_text = "") {
    if (file) dir_.Write("tolvexgwoption.xml", *file);
    gateway_.messages = &card_;
    gateway_.shell = &shell_;
    FrmPlaceCardServices services;
    if (!link.empty()) services.location = ClassifyArgument(link, ".").location;
    services.place_text = std::move(place_text);
    services.gateway = &gateway_;
    services.create_document = [this] {
      return std::make_unique<test::NodeCountingDocument>(orphaned_nodes_);
    };
    services.save = SystemOptionSaveServices(path_);
    services.save.user_option_file_path.clear();
    services.save.replace_file = replace_file_;
    card_frm_.emplace(card_, std::move(services));
    card_.events = &*card_frm_;
    card_frm_->OnLoad();
  }
  void TearDown() override {
    card_frm_.reset();
    OptionFileTest::TearDown();
  }

  GatewayServices gateway_;
  FakeCardView card_;
  std::optional<FrmPlaceCard> card_frm_;
};

const char* const kPair = "TolVex:35.658581,139.745433";

// A row names what it sets: by default Enter on the active map of a file that asks, with the
// shell handing the map over, and the file left as it was.
struct CardCase {
  const char* name;
  const char* link = kPair;
  std::optional<std::string> file = CardFile("Viewer", true);  // nullopt: gone since read
  std::size_t down = 0;  // Down pressed so many times from the active map
  bool keep_open = false, always = false, save_fails = false;
  void (FrmPlaceCard::*action)() = &FrmPlaceCard::OnOpen;
  platform::ShellResult shell = platform::ShellResult::kHandedOver;
  std::vector<std::string> launched = {};
  int status = 0;
  std::vector<Message> messages = {};
  std::string saved = file.value_or("");  // the file afterwards
};

// The card may stay open for long: "always" stores the choice in the file as it is by then.
TEST_F(FrmPlaceCardTest, AlwaysKeepsWhatAnotherProgramChangedMeanwhile) {
  const auto with_other = [](std::string file) {
    const std::string end = "</tolvexgateway_optionlist>";
    return file.replace(file.find(end), 0, "  <option id=\"Other\">o</option>\n");
  };
  LoadCard("TolVex:35.658581,139.745433", CardFile("Viewer", true));
  dir_.Write("tolvexgwoption.xml", with_other(CardFile("Viewer", true)));
  card_.form.selected += 1;
  card_.form.always = true;
  card_frm_->OnOpen();
  EXPECT_EQ(card_.messages, std::vector<Message>{});
  EXPECT_EQ(File(), with_other(CardFile("Atlas", false)));
}

class FrmPlaceCardOpenTest : public FrmPlaceCardTest,
                             public ::testing::WithParamInterface<CardCase> {};

TEST_P(FrmPlaceCardOpenTest, OpensTheChosenMapAsARequestWould) {
  const CardCase& row = GetParam();
  shell_.result = row.shell;
  if (row.save_fails) replace_file_ = [](const std::string&, std::string_view) { return false; };
  LoadCard(row.link, row.file);
  card_.form.selected += row.down;
  card_.form.keep_open = row.keep_open;
  card_.form.always = row.always;
  (*card_frm_.*row.action)();
  std::vector<std::string> launched;
  for (const auto& opened : shell_.opened) launched.push_back(opened.first);
  EXPECT_EQ(launched, row.launched);
  EXPECT_EQ(card_frm_->exit_status(), row.status);
  EXPECT_EQ(card_.closed, !row.keep_open);
  EXPECT_EQ(card_.messages, row.messages);
  EXPECT_EQ(File(), row.saved);
}

const std::string kAtlasAt9 = "https://atlas.example/?q=SD9.XC4.EQ2.CV5&z=9";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Choices, FrmPlaceCardOpenTest, ::testing::ValuesIn(std::vector<CardCase>{
    {.name = "EnterOpensTheActiveInItsDatum", .launched = {"viewer 35.655352108345546 139.748639689144511"}},
    {.name = "DownEnterOpensTheSecondWithItsZoom", .down = 1, .launched = {kAtlasAt9}},
    {.name = "TheLinksZoomComesFirst", .link = "geo:35.658581,139.745433?z=12", .down = 1,
     .launched = {"https://atlas.example/?q=SD9.XC4.EQ2.CV5&z=12"}},
    {.name = "KeepOpenStays", .file = CardFile("Atlas", true), .keep_open = true, .launched = {kAtlasAt9}},
    {.name = "NothingStartedIsTheRunsStatus", .file = CardFile("Atlas", true),
     .shell = platform::ShellResult::kNothingStarted, .launched = {kAtlasAt9}, .status = 2},
    {.name = "AlwaysStoresTheChoiceAndNoLongerAsks", .down = 1, .always = true, .launched = {kAtlasAt9},
     .saved = CardFile("Atlas", false)},
    {.name = "AFailedSaveSaysSoAndStillOpens", .down = 1, .always = true, .save_fails = true,
     .launched = {kAtlasAt9}, .messages = {kCantSave}},
    {.name = "EscLaunchesNothing", .down = 1, .always = true, .action = &FrmPlaceCard::OnCancel},
    {.name = "AFileGoneSinceTheLinkIsARequestsMessage", .file = "<broken", .status = 1,
     .messages = {{"Can't Load Option File", "TolvexGateway"}}},
}), TOLVEX_ROW_NAMES(name));
// clang-format on

TEST_F(FrmPlaceCardTest, ShowsThePlaceAndCopiesEachItem) {
  LoadCard("geo:35.658581,139.745433?z=12", CardFile("Atlas", true));
  EXPECT_EQ(card_.form.coordinates, "35.658581, 139.745433");
  EXPECT_EQ(card_.form.dms, "35°39'30.9\"N 139°44'43.6\"E");
  EXPECT_EQ(card_.form.geocode, "SD9.XC4.EQ2.CV5");
  EXPECT_EQ(card_.form.zoom, "12");
  EXPECT_EQ(card_.form.ids, kViewerAtlas);
  EXPECT_EQ(card_.form.areas, (std::vector<std::string>{"Japan", "World"}));
  EXPECT_EQ(card_.form.selected, 1u);
  for (std::size_t item = 0; item < card_.form.copy_labels.size(); ++item) card_frm_->OnCopy(item);
  card_frm_->OnCopyCoordinates();
  card_frm_->OnCopyMapLink();
  const std::string atlas = "https://atlas.example/?q=SD9.XC4.EQ2.CV5&z=12";
  EXPECT_EQ(card_.copied,
            (std::vector<std::string>{"35.658581, 139.745433", "35°39'30.9\"N 139°44'43.6\"E",
                                      "SD9.XC4.EQ2.CV5", "TolVex:SD9.XC4.EQ2.CV5",
                                      "geo:35.658581,139.745433?z=12", atlas,
                                      "35.658581, 139.745433", atlas}));
  EXPECT_TRUE(shell_.opened.empty());
  EXPECT_FALSE(card_.closed);
}

// Opened by hand without a text: the clipboard's text when it names a place, else nothing.
TEST_F(FrmPlaceCardTest, WithoutATextTheClipboardNamesThePlace) {
  card_.clipboard = "Tokyo Tower";
  LoadCard("", CardFile("Atlas", true));
  EXPECT_EQ(card_.form.place, "");
  EXPECT_EQ(card_.form.place_message, "");
  EXPECT_FALSE(card_.form.can_open);
  card_.clipboard = "8Q7XMP5W+C5";
  LoadCard("", CardFile("Atlas", true));
  EXPECT_EQ(card_.form.place, "8Q7XMP5W+C5");
  EXPECT_EQ(card_.form.coordinates, "35.658563, 139.745437");
  EXPECT_TRUE(card_.form.can_open);
}

// The Place box: what is typed or pasted is read at once; a text that names no place says why,
// and Open and the copy items then do nothing.
TEST_F(FrmPlaceCardTest, ThePlaceBoxIsReadAsItIsTyped) {
  LoadCard("", CardFile("Atlas", true), "https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6");
  EXPECT_EQ(card_.form.place, "https://maps.app.goo.gl/2ZjYqkBPrcgeVoJS6");
  EXPECT_NE(card_.form.place_message.find("is a short link"), std::string::npos);
  EXPECT_FALSE(card_.form.can_open);
  EXPECT_EQ(card_.form.coordinates, "");
  card_frm_->OnOpen();
  card_frm_->OnCopyCoordinates();
  EXPECT_TRUE(shell_.opened.empty() && card_.copied.empty());

  card_.form.place = "35\u00B039'30.9\"N 139\u00B044'43.6\"E";
  card_frm_->OnPlaceChange();
  EXPECT_EQ(card_.form.coordinates, "35.658583, 139.745444");
  EXPECT_TRUE(card_.form.can_open && card_.form.place_message.empty());
  card_.form.place =
      "Here: https://www.google.com/maps/place/Tokyo+Tower/@35.6585805,139.7428526,17z/"
      "data=!3m1!4b1!8m2!3d35.6585805!4d139.7454329";
  card_frm_->OnPlaceChange();
  EXPECT_EQ(card_.form.zoom, "17");
  card_.form.keep_open = true;
  card_frm_->OnOpen();
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].first, "https://atlas.example/?q=SD9.XC4.EQ2.CV5&z=17");

  card_.form.place = "";  // emptied: no place, and nothing to say about it
  card_frm_->OnPlaceChange();
  EXPECT_FALSE(card_.form.can_open);
  EXPECT_EQ(card_.form.place_message, "");
}

}  // namespace
}  // namespace tolvex
