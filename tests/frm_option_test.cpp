// FrmOption's logic through a fake window: what the window shows after loading each kind of
// option file, picking, OK, Cancel and Help, with real option files on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialog/frm_option.h"
#include "platform/posix/file_calls_posix.h"
#include "services/system_services.h"
#include "tests/support/option_fakes.h"
#include "tests/support/row_name.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"
#include "version.h"

namespace tolvex {
namespace {

using test::kCantSave, test::kViewerAtlas, test::Message;
using test::ReadFile;
using test::TempDir;

using FakeEditorView = test::FakeWindow<MapEditorView, MapEditorForm, MapEditorEvents>;

// What the window shows. The toolkit reports the unload after Close, as a real one does.
class FakeView final : public test::FakeWindow<OptionView, OptionForm, OptionEvents> {
 public:
  // What the user does in the map editor once it has loaded; its window is kept for the test.
  std::function<void(FakeEditorView&, MapEditorEvents&)> in_editor;
  std::vector<FakeEditorView> editors;
  // The catalogue chooser: the items offered, and the one the user picks.
  std::vector<CatalogueRow> offered;
  std::optional<std::size_t> pick;
  // The form as each message box found it (a test types into form.selected): the window shows
  // it once the box is gone.
  std::vector<OptionForm> form_at_message;

  void ShowError(std::string_view text, std::string_view title) override {
    FakeWindow::ShowError(text, title);
    form_at_message.push_back(form);
  }
  void RunMapEditor(
      const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) override {
    FakeEditorView& editor = editors.emplace_back();
    const auto logic = make_logic(editor);
    editor.events = logic.get();
    logic->OnLoad();
    if (in_editor) in_editor(editor, *logic);
    editor.events = nullptr;
  }
  std::optional<std::size_t> ChooseItem(std::string_view,
                                        const std::vector<CatalogueRow>& rows) override {
    offered = rows;
    return pick;
  }
};

// Two options in the layout libxml2 writes back unchanged, so that a save can be compared
// byte for byte with the expected file.
std::string ViewerAtlas(std::string_view current) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!-- options for the tests -->\n"
         "<tolvexgateway_optionlist currentsetting=\"" +
         std::string(current) +
         "\" owner=\"tests\">\n"
         "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer $lat.d() "
         "$lon.d()</option>\n"
         "  <!-- the second one -->\n"
         "  <option id=\"Atlas\" area=\"World\" "
         "extra=\"kept\">https://atlas.example/?q=$ost&amp;z=9"
         "</option>\n"
         "</tolvexgateway_optionlist>\n";
}

const Message kCantLoadFile{"Can't Load Option File", "TolVex Gateway: Error"};
const Message kNoCurrentSetting{"Can't Load Option file. XML file may be collasped.",
                                "TolVex Gateway: Error"};
const Message kNoSuchOption{"Can't Load Current Value. XML file may be collasped.",
                            "TolVex Gateway: Error"};
const Message kUnknownId{"Can't Save Current Value. No option has this id.",
                         "TolVex Gateway: Error"};

class FrmOptionTest : public test::OptionFileTest {
 protected:
  // Writes `bytes` as the option file (none when nullopt) and runs window load.
  void Load(const std::optional<std::string>& bytes) {
    if (bytes) dir_.Write("tolvexgwoption.xml", *bytes);
    FrmOptionServices services;
    services.create_document = [this] {
      return std::make_unique<test::NodeCountingDocument>(orphaned_nodes_);
    };
    services.shell = &shell_;
    services.save = SystemOptionSaveServices(read_path_);
    services.manual_path = dir_.File("manual.htm");
    services.save.replace_file = [this](const std::string& path, std::string_view data) {
      ++saves_;
      return replace_file_(path, data);
    };
    services.save.user_option_file_path = own_path_;
    services.catalogue_path = catalogue_.File("tolvexgwcatalogue.xml");
    frm_.emplace(view_, std::move(services));
    view_.events = &*frm_;
    frm_->OnLoad();
  }
  void TearDown() override {
    frm_.reset();
    OptionFileTest::TearDown();
  }

  TempDir catalogue_;              // the program's folder, where the catalogue lies
  std::string read_path_ = path_;  // the option file the window reads
  std::string own_path_;           // the user's own option file; none when empty
  FakeView view_;
  int saves_ = 0;
  std::optional<FrmOption> frm_;
};

struct LoadCase {
  const char* name;
  std::optional<std::string> file;
  std::vector<Message> messages;
  std::vector<std::string> ids;
  std::string selected, command, datum, area;
};

class FrmOptionLoadTest : public FrmOptionTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(FrmOptionLoadTest, ShowsWhatTheFileAllows) {
  const LoadCase& c = GetParam();
  Load(c.file);
  EXPECT_EQ(view_.messages, c.messages);
  EXPECT_EQ(view_.form.ids, c.ids);
  EXPECT_EQ(view_.form.selected, c.selected);
  EXPECT_EQ(view_.form.command, c.command);
  EXPECT_EQ(view_.form.datum, c.datum);
  EXPECT_EQ(view_.form.area, c.area);
  // The captions are set before anything can fail, and the window opens in every case.
  EXPECT_EQ(view_.form.version_line, "TolvexGateway Version " TOLVEX_VERSION);
  EXPECT_EQ(view_.form.copyright_notice, kCopyrightNotice);
  EXPECT_FALSE(view_.closed);
  // A message finds the window already filled as far as the file allowed.
  EXPECT_EQ(view_.form_at_message, std::vector<OptionForm>(c.messages.size(), view_.form));
}

INSTANTIATE_TEST_SUITE_P(
    Files, FrmOptionLoadTest,
    ::testing::Values(
        LoadCase{"CurrentIsTheSecond",
                 ViewerAtlas("Atlas"),
                 {},
                 kViewerAtlas,
                 "Atlas",
                 "https://atlas.example/?q=$ost&z=9",
                 "wgs84",
                 "World"},
        LoadCase{"CurrentIsTheFirst",
                 ViewerAtlas("Viewer"),
                 {},
                 kViewerAtlas,
                 "Viewer",
                 "viewer $lat.d() $lon.d()",
                 "tokyo",
                 "Japan"},
        LoadCase{"MissingFile", std::nullopt, {kCantLoadFile}, {}, "", "", "", ""},
        LoadCase{"EmptyFile", "", {kCantLoadFile}, {}, "", "", "", ""},
        LoadCase{"NotWellFormed",
                 "<tolvexgateway_optionlist currentsetting='Atlas'><option",
                 {kCantLoadFile},
                 {},
                 "",
                 "",
                 "",
                 ""},
        LoadCase{"DocumentTypeDeclaration",
                 "<!DOCTYPE x [<!ENTITY e 'Atlas'>]><tolvexgateway_optionlist "
                 "currentsetting='&e;'><option id='Atlas' area='a'>t</option>"
                 "</tolvexgateway_optionlist>",
                 {kCantLoadFile},
                 {},
                 "",
                 "",
                 "",
                 ""},
        // The list is filled; the text field and the boxes stay empty.
        LoadCase{"NoCurrentSetting",
                 "<tolvexgateway_optionlist><option id='Viewer' area='Japan'>v</option>"
                 "<option id='Atlas' area='World'>a</option></tolvexgateway_optionlist>",
                 {kNoCurrentSetting},
                 kViewerAtlas,
                 "",
                 "",
                 "",
                 ""},
        // The stale id stays in the text field, with the document's first area.
        LoadCase{"CurrentNamesNoOption",
                 ViewerAtlas("Gone"),
                 {kNoSuchOption},
                 kViewerAtlas,
                 "Gone",
                 "",
                 "",
                 "Japan"},
        LoadCase{"CurrentNamesNoOptionAndTheRootHasAnArea",
                 "<tolvexgateway_optionlist currentsetting='Gone' area='Root'>"
                 "<option id='Atlas' area='World'>a</option></tolvexgateway_optionlist>",
                 {kNoSuchOption},
                 {"Atlas"},
                 "Gone",
                 "",
                 "",
                 "Root"},
        LoadCase{"IdsCompareExactly",
                 ViewerAtlas("atlas"),
                 {kNoSuchOption},
                 kViewerAtlas,
                 "atlas",
                 "",
                 "",
                 "Japan"},
        // The first currentsetting in the document is shown even off the root.
        LoadCase{"CurrentSettingOnAnOption",
                 "<tolvexgateway_optionlist><option id='Viewer' area='Japan'>v</option>"
                 "<option id='Atlas' area='World' currentsetting='Viewer'>a</option>"
                 "</tolvexgateway_optionlist>",
                 {},
                 kViewerAtlas,
                 "Viewer",
                 "v",
                 "wgs84",
                 "Japan"},
        // Listed twice, in document order; the first of the two is shown.
        LoadCase{"DuplicateIds",
                 "<tolvexgateway_optionlist currentsetting='Map'>"
                 "<option id='Map' area='First'>one</option><option id='Zed' area='z'>z</option>"
                 "<option id='Map' area='Second' datum='tokyo'>two</option>"
                 "</tolvexgateway_optionlist>",
                 {},
                 {"Map", "Zed", "Map"},
                 "Map",
                 "one",
                 "wgs84",
                 "First"},
        // Options off the root's children are invisible; the template loses its outer blanks.
        LoadCase{"NestedOptionsAreNotListed",
                 "<tolvexgateway_optionlist currentsetting='A'><group><option id='B' area='b'>"
                 "b</option></group><option id='A' area='a'>\n   a &lt;b&gt;  \n</option>"
                 "</tolvexgateway_optionlist>",
                 {},
                 {"A"},
                 "A",
                 "a <b>",
                 "wgs84",
                 "a"}),
    [](const auto& row) { return std::string(row.param.name); });

struct DatumCase {
  const char* name;
  const char* attribute;  // the whole datum attribute, or "" for none
  const char* shown;
};

class FrmOptionDatumTest : public FrmOptionTest, public ::testing::WithParamInterface<DatumCase> {};

TEST_P(FrmOptionDatumTest, OnlyLowerCaseTokyoShowsTokyo) {
  Load("<tolvexgateway_optionlist currentsetting='M'><option id='M' area='a' " +
       std::string(GetParam().attribute) + ">t</option></tolvexgateway_optionlist>");
  EXPECT_EQ(view_.form.datum, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Datums, FrmOptionDatumTest,
                         ::testing::Values(DatumCase{"Absent", "", "wgs84"},
                                           DatumCase{"Tokyo", "datum='tokyo'", "tokyo"},
                                           DatumCase{"CapitalTokyo", "datum='Tokyo'", "wgs84"},
                                           DatumCase{"TokyoWithBlank", "datum='tokyo '", "wgs84"},
                                           DatumCase{"UpperWgs84", "datum='WGS84'", "wgs84"},
                                           DatumCase{"Empty", "datum=''", "wgs84"},
                                           DatumCase{"Other", "datum='jgd2011'", "wgs84"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FrmOptionTest, PickingShowsThePickedOption) {
  Load(ViewerAtlas("Atlas"));
  view_.form.selected = "Viewer";
  frm_->OnPick();
  EXPECT_EQ(view_.form.command, "viewer $lat.d() $lon.d()");
  EXPECT_EQ(view_.form.datum, "tokyo");
  EXPECT_EQ(view_.form.area, "Japan");
  // Text that names no option (typed, then the list dropped and closed) empties the boxes.
  view_.form.selected = "Nothing";
  frm_->OnPick();
  EXPECT_EQ(view_.form.command, "");
  EXPECT_EQ(view_.form.datum, "");
  EXPECT_EQ(view_.form.area, "");
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

TEST_F(FrmOptionTest, OkStoresThePickAndChangesNothingElse) {
  Load(ViewerAtlas("Viewer"));
  view_.form.selected = "Atlas";
  frm_->OnPick();
  frm_->OnOk();
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

TEST_F(FrmOptionTest, OkWithoutAChangeWritesNothing) {
  Load(ViewerAtlas("Viewer"));
  frm_->OnOk();
  EXPECT_EQ(saves_, 0);
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
}

TEST_F(FrmOptionTest, OkRepairsACurrentSettingThatNamedNoOption) {
  Load(ViewerAtlas("Gone"));
  view_.form.selected = "Atlas";
  frm_->OnPick();
  frm_->OnOk();
  EXPECT_EQ(view_.messages, std::vector<Message>{kNoSuchOption});
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

TEST_F(FrmOptionTest, OkKeepsTheFileEncoding) {
  const std::string latin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
      "<tolvexgateway_optionlist currentsetting=\"Caf\xe9\">\n"
      "  <option id=\"Caf\xe9\" area=\"\xc0 Paris\">cafe</option>\n"
      "  <option id=\"Br\xfbl\xe9\" area=\"x\">brule</option>\n"
      "</tolvexgateway_optionlist>\n";
  Load(latin1);
  EXPECT_EQ(view_.form.ids, (std::vector<std::string>{"Caf\u00e9", "Br\u00fbl\u00e9"}));
  EXPECT_EQ(view_.form.area, "\u00c0 Paris");
  view_.form.selected = "Br\u00fbl\u00e9";
  frm_->OnOk();
  std::string expected = latin1;
  expected.replace(expected.find("currentsetting=\"Caf\xe9\""), 21,
                   "currentsetting=\"Br\xfbl\xe9\"");
  EXPECT_EQ(File(), expected);
}

// OK stores only a text that names an option: a link is opened with the option that
// currentsetting names, so a name of no option would leave every link without one.
class FrmOptionTypedTest : public FrmOptionTest,
                           public ::testing::WithParamInterface<test::NamedRow<const char*>> {};

TEST_P(FrmOptionTypedTest, OkWithTextThatNamesNoOptionWritesNothingAndStaysOpen) {
  Load(ViewerAtlas("Viewer"));
  view_.form.selected = GetParam().value;
  frm_->OnOk();
  EXPECT_EQ(view_.messages, std::vector<Message>{kUnknownId});
  EXPECT_FALSE(view_.closed);
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
  // The user can still pick an option and confirm it.
  view_.form.selected = "Atlas";
  frm_->OnOk();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, FrmOptionTypedTest, ::testing::ValuesIn(std::vector<test::NamedRow<const char*>>{
    {"AnUnknownId", "Nowhere"}, {"Empty", ""}, {"AnIdInAnotherCase", "viewer"}, {"AnIdAfterABlank", " Viewer"},
    {"QuotesThatWouldEndAnXPathString", "Viewer\"]|//x[\""}}), TOLVEX_ROW_NAMES(name));
// clang-format on

// A document that did not load, or whose root lacks currentsetting, is never written: OK
// closes the window and the file stays as it was (or absent).
class FrmOptionUnsavedTest
    : public FrmOptionTest,
      public ::testing::WithParamInterface<test::NamedRow<std::optional<std::string>>> {};

TEST_P(FrmOptionUnsavedTest, OkWithoutALoadedRootSettingClosesAndWritesNothing) {
  const std::optional<std::string>& file = GetParam().value;
  Load(file);
  view_.form.selected = "Viewer";
  frm_->OnOk();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(saves_, 0);
  if (file) {
    EXPECT_EQ(File(), *file);
  } else {
    EXPECT_EQ(dir_.Entries(), std::vector<std::string>{});
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, FrmOptionUnsavedTest, ::testing::ValuesIn(std::vector<test::NamedRow<std::optional<std::string>>>{
    {"NoFile", std::nullopt},
    {"NoCurrentSetting", "<tolvexgateway_optionlist><option id='Viewer' area='a'>v</option></tolvexgateway_optionlist>"},
    {"CurrentSettingOffTheRoot", "<tolvexgateway_optionlist><option id='Viewer' area='a' currentsetting='Viewer'>v</option>"
     "</tolvexgateway_optionlist>"},
    {"AnotherRoot", "<other_root currentsetting='Viewer'><option id='Viewer' area='a'>v</option></other_root>"},
    {"NotWellFormed", "<tolvexgateway_optionlist currentsetting='Viewer'><option id='Viewer'"}}), TOLVEX_ROW_NAMES(name));
// clang-format on

// A failed save says so, keeps the window open and leaves the file as it was.
TEST_F(FrmOptionTest, AFailedSaveKeepsTheWindowAndTheFile) {
  Load(ViewerAtlas("Viewer"));
  // A disk that fills up on the second write of the new contents.
  struct DiskFull : platform::posix::FileCalls {
    int writes = 0;
    ssize_t Write(int fd, const void* data, std::size_t size) override {
      if (++writes == 2) {
        errno = ENOSPC;
        return -1;
      }
      return FileCalls::Write(fd, data, std::min<std::size_t>(size, 40));
    }
  } disk_full;
  replace_file_ = [&](const std::string& path, std::string_view data) {
    return platform::posix::ReplaceFileContents(disk_full, path, data);
  };
  view_.form.selected = "Atlas";
  frm_->OnOk();
  EXPECT_EQ(disk_full.writes, 2);
  EXPECT_EQ(view_.messages, std::vector<Message>{kCantSave});
  EXPECT_FALSE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
  EXPECT_EQ(dir_.Entries(),
            (std::vector<std::string>{".tolvexgwoption.xml.lock", "tolvexgwoption.xml"}));

  // Once the disk has room again, OK saves.
  disk_full.writes = 10;
  frm_->OnOk();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

TEST_F(FrmOptionTest, AReadOnlyFolderFailsTheSave) {
  Load(ViewerAtlas("Viewer"));
  ASSERT_EQ(::chmod(path_.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  view_.form.selected = "Atlas";
  // 0: the message came and the window stayed; 1: it closed; 2: no message or another one.
  const int outcome = test::RunUnprivileged([&] {
    frm_->OnOk();
    if (view_.closed) return 1;
    return view_.messages == std::vector<Message>{kCantSave} ? 0 : 2;
  });
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"tolvexgwoption.xml"});
}

// Where OK saves: the file it read when this user may replace it, else the user's own file,
// created with its folder, while the shared file keeps its bytes.
struct SaveCase {
  const char* name;
  bool read_only_folder;        // the program folder of an install for all users
  bool linked;                  // the program folder's file is a link to the package's file
  bool user_file_read;          // the user's own file existed and was the one read
  bool saves_beside;            // else the user's own file gets the choice
  bool read_only_file = false;  // the file beside is marked read-only by its administrator
};

class FrmOptionSaveTest : public FrmOptionTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(FrmOptionSaveTest, OkWritesTheUsersOwnFileUnlessItMayReplaceTheOneItRead) {
  const SaveCase& row = GetParam();
  const TempDir config;  // the user's config folder; tolvexgateway/ is created by the save
  const std::string own = config.File("tolvexgateway/tolvexgwoption.xml");
  const std::string shared = ViewerAtlas("Viewer");
  std::string read_path = path_;
  if (row.linked) {
    const std::string etc_file = config.Write("etc.xml", shared);
    std::filesystem::create_symlink(etc_file, path_);
  } else {
    // Writable by its mode bits: only the folder tells a shared install from a user's own.
    ASSERT_EQ(
        ::chmod(dir_.Write("tolvexgwoption.xml", shared).c_str(), row.read_only_file ? 0444 : 0666),
        0);
  }
  if (row.user_file_read) {
    std::filesystem::create_directory(config.path() / "tolvexgateway");
    config.Write("tolvexgateway/tolvexgwoption.xml", ViewerAtlas("Atlas"));
    ASSERT_EQ(::chmod(own.c_str(), 0666), 0);
    ASSERT_EQ(::chmod((config.path() / "tolvexgateway").c_str(), 0777), 0);
    read_path = own;
  }
  read_path_ = read_path;
  own_path_ = own;
  Load(std::nullopt);
  view_.form.selected = row.user_file_read ? "Viewer" : "Atlas";
  ASSERT_EQ(::chmod(config.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir_.path().c_str(), row.read_only_folder ? 0555 : 0777), 0);
  // 0: saved and closed; 1: a message or the window stayed.
  const int outcome = test::RunUnprivileged([&] {
    frm_->OnOk();
    return view_.closed && view_.messages.empty() ? 0 : 1;
  });
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
  EXPECT_EQ(outcome, 0);
  const std::string saved = ViewerAtlas(row.user_file_read ? "Viewer" : "Atlas");
  EXPECT_EQ(ReadFile(path_), row.saves_beside ? saved : shared);
  EXPECT_EQ(std::filesystem::is_symlink(path_), row.linked);
  if (row.saves_beside) {
    EXPECT_FALSE(std::filesystem::exists(own));
  } else {
    EXPECT_EQ(ReadFile(own), saved);
  }
}

INSTANTIATE_TEST_SUITE_P(Installs, FrmOptionSaveTest,
                         ::testing::ValuesIn(std::vector<SaveCase>{
                             {"PerUserInstallReplacesItsOwnFile", false, false, false, true},
                             {"ReadOnlyProgramFolderWritesTheUsersFile", true, false, false, false},
                             {"LinkToThePackagesFileWritesTheUsersFile", false, true, false, false},
                             {"UsersFileThatExistsIsReplaced", true, false, true, false},
                             {"ReadOnlyFileBesideWritesTheUsersFile", false, false, false, false,
                              true},
                         }),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FrmOptionTest, CancelClosesAndLeavesTheFileUntouched) {
  const std::string original = ViewerAtlas("Viewer");
  Load(original);
  struct stat before {};
  ASSERT_EQ(::stat(path_.c_str(), &before), 0);
  view_.form.selected = "Atlas";
  frm_->OnPick();
  frm_->OnCancel();
  EXPECT_TRUE(view_.closed);
  // Events after the unload do nothing.
  frm_->OnOk();
  EXPECT_EQ(saves_, 0);
  struct stat after {};
  ASSERT_EQ(::stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(File(), original);
}

TEST_F(FrmOptionTest, CancelAfterAMissingFileCreatesNoFile) {
  Load(std::nullopt);
  frm_->OnCancel();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{});
}

TEST_F(FrmOptionTest, HelpOpensTheManualAndKeepsTheWindow) {
  Load(ViewerAtlas("Viewer"));
  frm_->OnHelp();
  frm_->OnHelp();
  ASSERT_EQ(shell_.opened.size(), 2u);
  EXPECT_EQ(shell_.opened[0].first, dir_.File("manual.htm"));
  EXPECT_EQ(shell_.opened[0].second, std::nullopt);
  EXPECT_FALSE(view_.closed);
  EXPECT_TRUE(view_.messages.empty());
  EXPECT_EQ(view_.form.command, "viewer $lat.d() $lon.d()");
}

// The Maps tab: one edit (through the map editor where it opens one), then OK writes it with
// the rest of the file as it was.
struct MapsCase {
  const char* name;
  std::string file;
  void (FrmOption::*action)();
  int row;                            // the Maps tab's row the action acts on
  std::string editor_id;              // the id the editor opens with
  std::optional<MapOption> typed;     // left in the editor before its OK; nullopt: Cancel
  std::vector<std::string> refusals;  // the messages, the editor's then the window's
  std::vector<std::string> ids;       // the first tab's list after the edit
  std::string selected;               // the first tab's pick after the edit
  std::string saved;                  // the file after the window's OK
  std::string meanwhile = {};         // what another program wrote to the file before OK
  std::string stale = {};             // OK's message then: the file keeps `meanwhile`
};

class FrmOptionMapsTest : public FrmOptionTest, public ::testing::WithParamInterface<MapsCase> {};

TEST_P(FrmOptionMapsTest, AnEditWaitsForOkWhichWritesItAndKeepsTheRest) {
  const MapsCase& row = GetParam();
  catalogue_.Write("tolvexgwcatalogue.xml",
                   "<tolvexgateway_optionlist><option id='Atlas' area='World'>a</option>"
                   "<option id='Globe' area='Earth' datum='tokyo' zoom='4'>globe $ost</option>"
                   "</tolvexgateway_optionlist>");
  Load(row.file);
  view_.pick = 0;
  view_.in_editor = [&](FakeEditorView& editor, MapEditorEvents& events) {
    EXPECT_EQ(editor.form.option.id, row.editor_id);
    if (row.typed) {
      editor.form.option = *row.typed;
      events.OnChange();
      events.OnOk();
    }
    if (!editor.closed) events.OnCancel();
  };
  view_.form.map_row = row.row;
  view_.form.ask = true;
  (*frm_.*row.action)();
  std::vector<std::string> refusals;
  for (const auto& editor : view_.editors) {
    for (const Message& message : editor.messages) refusals.push_back(message.text);
  }
  for (const Message& message : view_.messages) refusals.push_back(message.text);
  EXPECT_EQ(refusals, row.refusals);
  EXPECT_EQ(view_.form.ids, row.ids);
  EXPECT_EQ(view_.form.areas.size(), row.ids.size());
  EXPECT_EQ(view_.form.selected, row.selected);
  EXPECT_EQ(File(), row.file);
  if (!row.meanwhile.empty()) dir_.Write("tolvexgwoption.xml", row.meanwhile);
  view_.messages.clear();
  frm_->OnOk();
  EXPECT_EQ(view_.closed, row.stale.empty());
  EXPECT_EQ(view_.messages.empty() ? "" : view_.messages.back().text, row.stale);
  EXPECT_EQ(File(), row.stale.empty() ? row.saved : row.meanwhile);
}

const std::string kOneOption =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tolvexgateway_optionlist currentsetting=\"A\">"
    "<option id=\"A\" area=\"a\">a</option></tolvexgateway_optionlist>\n";

MapOption Typed(const char* id, const char* zoom, const char* command_template) {
  return {id, "Here", "wgs84", zoom, command_template};
}

// ViewerAtlas(current) with `from` replaced by `to`.
std::string Changed(std::string_view current, std::string_view from, std::string_view to) {
  std::string file = ViewerAtlas(current);
  return file.replace(file.find(from), from.size(), to);
}

const char* const kBadZoom = "The zoom must be blank or a whole number from 0 to 21";
const std::string kEnd = "</tolvexgateway_optionlist>";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Edits, FrmOptionMapsTest, ::testing::ValuesIn(std::vector<MapsCase>{
    {"NewKeepsAmpersandLessThanAndQuotes", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "",
     Typed("Mine", "21", "go \"a&b<c\" $ost"), {}, {"Viewer", "Atlas", "Mine"}, "Viewer",
     Changed("Viewer", kEnd, "  <option id=\"Mine\" area=\"Here\" datum=\"wgs84\" zoom=\"21\">go \"a&amp;b&lt;c\" $ost</option>\n" + kEnd)},
    {"EditKeepsWhatWasNotChanged", ViewerAtlas("Viewer"), &FrmOption::OnEditMap, 1, "Atlas",
     MapOption{"Atlas", "World", "wgs84", "", "https://atlas.example/?q=$ost&x<y"}, {},
     {"Viewer", "Atlas"}, "Viewer", Changed("Viewer", "z=9", "x&lt;y")},
    {"RenamingThePickRenamesThePick", ViewerAtlas("Viewer"), &FrmOption::OnEditMap, 0, "Viewer",
     MapOption{"Viewer2", "Japan", "tokyo", "", "viewer $lat.d() $lon.d()"}, {},
     {"Viewer2", "Atlas"}, "Viewer2", Changed("Viewer2", "\"Viewer\"", "\"Viewer2\"")},
    {"DuplicateOpensTheCopyUnderAnIdOfItsOwn", ViewerAtlas("Viewer"), &FrmOption::OnDuplicateMap, 1,
     "Atlas 2", MapOption{"Atlas 2", "World", "wgs84", "", "https://atlas.example/?q=$ost&z=9"}, {},
     {"Viewer", "Atlas", "Atlas 2"}, "Viewer",
     Changed("Viewer", kEnd, "  <option id=\"Atlas 2\" area=\"World\">https://atlas.example/?q=$ost&amp;z=9</option>\n" + kEnd)},
    {"CancelledEditorChangesNothing", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "",
     std::nullopt, {}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"DeletingThePickMakesTheFirstLeftThePick", ViewerAtlas("Atlas"), &FrmOption::OnDeleteMap, 1,
     "", std::nullopt, {}, {"Viewer"}, "Viewer",
     Changed("Viewer", "  <option id=\"Atlas\" area=\"World\" extra=\"kept\">https://atlas.example/?q=$ost&amp;z=9</option>\n", "")},
    {"TheLastOptionStays", kOneOption, &FrmOption::OnDeleteMap, 0, "", std::nullopt,
     {"The last map cannot be deleted"}, {"A"}, "A", kOneOption},
    {"CatalogueOffersWhatTheFileLacks", ViewerAtlas("Viewer"), &FrmOption::OnCatalogue, 0, "",
     std::nullopt, {}, {"Viewer", "Atlas", "Globe"}, "Viewer",
     Changed("Viewer", kEnd, "  <option id=\"Globe\" area=\"Earth\" datum=\"tokyo\" zoom=\"4\">globe $ost</option>\n" + kEnd)},
    {"AskAtEachLink", ViewerAtlas("Viewer"), &FrmOption::OnAskChange, 0, "", std::nullopt, {},
     {"Viewer", "Atlas"}, "Viewer", Changed("Viewer", "owner=\"tests\"", "owner=\"tests\" ask=\"true\"")},
    {"EmptyId", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("", "", "t"),
     {"The id must not be empty"}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"ControlCharacterInId", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("a\tb", "", "t"),
     {"The id must not hold a control character: \"a%09b\""}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"AnotherOptionsId", ViewerAtlas("Viewer"), &FrmOption::OnEditMap, 0, "Viewer", Typed("Atlas", "", "t"),
     {"Another map already has the id \"Atlas\""}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"EmptyTemplate", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("New", "", " "),
     {"The command template must not be empty"}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"ZoomAboveTwentyOne", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("New", "22", "t"),
     {kBadZoom}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"ZoomNotAWholeNumber", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("New", "1.5", "t"),
     {kBadZoom}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    {"IdWithANoncharacter", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("N\uFFFE", "", "t"),
     {"The id must not hold U+FFFE, which an option file cannot hold: \"N\uFFFE\""}, {"Viewer", "Atlas"}, "Viewer", ViewerAtlas("Viewer")},
    // Another program changes the file while the window is open: OK makes the window's edits in
    // the file as it is then, or, where one no longer applies, writes nothing and says why.
    {"AMapAddedMeanwhileStays", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("Mine", "", "m"),
     {}, {"Viewer", "Atlas", "Mine"}, "Viewer",
     Changed("Viewer", kEnd, "  <option id=\"Other\">o</option>\n  <option id=\"Mine\" area=\"Here\" datum=\"wgs84\">m</option>\n" + kEnd),
     Changed("Viewer", kEnd, "  <option id=\"Other\">o</option>\n" + kEnd)},
    {"AnEditOfAMapDeletedMeanwhile", ViewerAtlas("Viewer"), &FrmOption::OnEditMap, 1, "Atlas",
     MapOption{"Atlas", "World", "wgs84", "", "changed"}, {}, {"Viewer", "Atlas"}, "Viewer", "",
     Changed("Viewer", "id=\"Atlas\"", "id=\"Other\""),
     "Another program changed the option file meanwhile; nothing was saved. Editing the map \"Atlas\": No map has the id \"Atlas\""},
    {"AnAddOfAnIdTakenMeanwhile", ViewerAtlas("Viewer"), &FrmOption::OnNewMap, 0, "", Typed("Mine", "", "m"),
     {}, {"Viewer", "Atlas", "Mine"}, "Viewer", "",
     Changed("Viewer", "id=\"Atlas\"", "id=\"Mine\""),
     "Another program changed the option file meanwhile; nothing was saved. Adding the map \"Mine\": Another map already has the id \"Mine\""},
}), TOLVEX_ROW_NAMES(name));
// clang-format on

TEST_F(FrmOptionTest, AChoiceKeepsWhatAnotherProgramChangedMeanwhile) {
  Load(ViewerAtlas("Viewer"));
  const std::string meanwhile = Changed("Viewer", "owner=\"tests\"", "owner=\"them\"");
  dir_.Write("tolvexgwoption.xml", meanwhile);
  view_.form.selected = "Atlas";
  frm_->OnOk();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), Changed("Atlas", "owner=\"tests\"", "owner=\"them\""));
}

TEST_F(FrmOptionTest, CancelDropsEveryMapsEdit) {
  catalogue_.Write("tolvexgwcatalogue.xml", kOneOption);
  Load(ViewerAtlas("Viewer"));
  view_.pick = 0;
  view_.form.map_row = 0;
  view_.form.ask = true;
  frm_->OnDeleteMap();
  frm_->OnAskChange();
  frm_->OnCatalogue();
  EXPECT_EQ(view_.offered, (std::vector<CatalogueRow>{{"A", "a"}}));  // the chooser's id, area
  EXPECT_EQ(view_.form.ids, (std::vector<std::string>{"Atlas", "A"}));
  EXPECT_EQ(view_.form.command, "https://atlas.example/?q=$ost&z=9");  // the pick followed
  frm_->OnCancel();
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
}

TEST_F(FrmOptionTest, TheEditorsPreviewFollowsTypingAndTryOpensItAsARequestWould) {
  Load(ViewerAtlas("Viewer"));
  shell_.result = platform::ShellResult::kHandedOver;
  view_.in_editor = [&](FakeEditorView& editor, MapEditorEvents& events) {
    EXPECT_EQ(editor.form.option.datum, "wgs84");
    editor.form.option = Typed("", "5", "open $ost $zoom");
    events.OnChange();
    EXPECT_EQ(editor.form.preview, "open SD9.XC4.EQ2.CV5 5");
    events.OnTry();
    editor.form.option.command_template = "TolVex:$ost";
    events.OnTry();  // it would start this program again
    EXPECT_FALSE(editor.closed);
    events.OnCancel();
  };
  frm_->OnNewMap();
  ASSERT_EQ(view_.editors.size(), 1u);
  EXPECT_EQ(view_.editors[0].messages,
            (std::vector<Message>{{SelfStartMessage("TolVex:SD9.XC4.EQ2.CV5"), "TolvexGateway"}}));
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0].first, "open SD9.XC4.EQ2.CV5 5");
  EXPECT_EQ(view_.form.ids, kViewerAtlas);
}

}  // namespace
}  // namespace tolvex
