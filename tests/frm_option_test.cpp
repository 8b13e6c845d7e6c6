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
#include "platform/file_replace.h"
#include "platform/posix/file_calls_posix.h"
#include "platform/xml_document.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace tolvex {
namespace {

using testing::ReadFile;
using testing::TempDir;

struct Message {
  std::string text;
  std::string title;
  bool operator==(const Message&) const = default;
};

// What the window shows. The toolkit reports the unload after Close, as a real one does.
class FakeView final : public OptionView {
 public:
  OptionForm form;  // the controls; a test types into form.selected
  std::vector<Message> messages;
  // The form as each message box found it: the window shows it once the box is gone.
  std::vector<OptionForm> form_at_message;
  bool closed = false;
  OptionEvents* events = nullptr;

  void Show(const OptionForm& shown) override { form = shown; }
  OptionForm Read() const override { return form; }
  void ShowError(std::string_view text, std::string_view title) override {
    messages.push_back({std::string(text), std::string(title)});
    form_at_message.push_back(form);
  }
  void Close() override {
    closed = true;
    if (events != nullptr) events->OnUnload();
  }
};

class FakeShell final : public platform::Shell {
 public:
  std::vector<std::pair<std::string, std::optional<std::string>>> opened;
  bool SchemeOpensThisProgram(std::string_view) override { return false; }
  platform::ShellOutcome Open(std::string_view file,
                              const std::optional<std::string>& directory) override {
    opened.emplace_back(std::string(file), directory);
    return platform::ShellResult::kNothingStarted;  // a missing manual changes nothing
  }
};

// The platform's document, counting the nodes that it and its nodes hand out: `orphans` grows
// by those still alive when the document goes. A node must not outlive its document, and the
// window's Close unloads the document at once.
class NodeCountingDocument final : public platform::XmlDocument {
 public:
  explicit NodeCountingDocument(int& orphans) : orphans_(orphans) {}
  ~NodeCountingDocument() override { orphans_ += *live_; }
  NodeCountingDocument(const NodeCountingDocument&) = delete;
  NodeCountingDocument& operator=(const NodeCountingDocument&) = delete;

  bool Load(const std::string& path) override { return document_->Load(path); }
  std::unique_ptr<platform::XmlNode> SelectSingleNode(std::string_view xpath) const override {
    return Counted(document_->SelectSingleNode(xpath), live_);
  }
  std::vector<std::unique_ptr<platform::XmlNode>> SelectNodes(
      std::string_view xpath) const override {
    auto nodes = document_->SelectNodes(xpath);
    for (auto& node : nodes) node = Counted(std::move(node), live_);
    return nodes;
  }
  std::optional<std::string> Serialize() const override { return document_->Serialize(); }

 private:
  class Node final : public platform::XmlNode {
   public:
    Node(std::unique_ptr<platform::XmlNode> node, std::shared_ptr<int> live)
        : node_(std::move(node)), live_(std::move(live)) {
      ++*live_;
    }
    ~Node() override { --*live_; }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    std::string Text() const override { return node_->Text(); }
    bool SetText(std::string_view text) override { return node_->SetText(text); }
    bool SetAttribute(std::string_view name, std::string_view value) override {
      return node_->SetAttribute(name, value);
    }
    bool RemoveAttribute(std::string_view name) override { return node_->RemoveAttribute(name); }
    std::unique_ptr<platform::XmlNode> AppendElement(std::string_view name,
                                                     std::string_view text_before) override {
      return Counted(node_->AppendElement(name, text_before), live_);
    }
    bool Remove() override { return node_->Remove(); }
    std::unique_ptr<platform::XmlNode> SelectSingleNode(std::string_view xpath) const override {
      return Counted(node_->SelectSingleNode(xpath), live_);
    }

   private:
    std::unique_ptr<platform::XmlNode> node_;
    std::shared_ptr<int> live_;
  };

  static std::unique_ptr<platform::XmlNode> Counted(std::unique_ptr<platform::XmlNode> node,
                                                    const std::shared_ptr<int>& live) {
    if (node == nullptr) return nullptr;
    return std::make_unique<Node>(std::move(node), live);
  }

  int& orphans_;
  std::shared_ptr<int> live_ = std::make_shared<int>(0);
  std::unique_ptr<platform::XmlDocument> document_ = platform::CreateXmlDocument();
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
const Message kCantSave{"Can't Save Option File", "TolVex Gateway: Error"};
const Message kUnknownId{"Can't Save Current Value. No option has this id.",
                         "TolVex Gateway: Error"};

class FrmOptionTest : public ::testing::Test {
 protected:
  // Writes `bytes` as the option file (none when nullopt) and runs window load.
  void Load(const std::optional<std::string>& bytes) {
    if (bytes) dir_.Write("tolvexgwoption.xml", *bytes);
    FrmOptionServices services;
    services.create_document = [this] {
      return std::make_unique<NodeCountingDocument>(orphaned_nodes_);
    };
    services.shell = &shell_;
    services.save.option_file_path = read_path_;
    services.manual_path = dir_.File("manual.htm");
    services.save.replace_file = [this](const std::string& path, std::string_view data) {
      ++saves_;
      return replace_file_(path, data);
    };
    services.save.user_option_file_path = own_path_;
    services.save.may_replace_in_place = platform::MayReplaceInPlace;
    services.save.write_new_file = platform::WriteNewFile;
    frm_.emplace(view_, std::move(services));
    view_.events = &*frm_;
    frm_->OnLoad();
  }
  std::string File() const { return ReadFile(path_); }
  void TearDown() override {
    frm_.reset();
    EXPECT_EQ(orphaned_nodes_, 0) << "a node outlived its document";
  }

  TempDir dir_;
  const std::string path_ = dir_.File("tolvexgwoption.xml");
  std::string read_path_ = path_;  // the option file the window reads
  std::string own_path_;           // the user's own option file; none when empty
  FakeView view_;
  FakeShell shell_;
  std::function<bool(const std::string&, std::string_view)> replace_file_ =
      [](const std::string& path, std::string_view data) {
        return platform::ReplaceFileContents(path, data);
      };
  int saves_ = 0;
  int orphaned_nodes_ = 0;
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
  EXPECT_EQ(view_.form.version_line, "TolvexGateway Version 1.0.0");
  EXPECT_EQ(view_.form.copyright_notice, kCopyrightNotice);
  EXPECT_FALSE(view_.closed);
  // A message finds the window already filled as far as the file allowed.
  EXPECT_EQ(view_.form_at_message, std::vector<OptionForm>(c.messages.size(), view_.form));
}

const std::vector<std::string> kViewerAtlas = {"Viewer", "Atlas"};

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

TEST_F(FrmOptionTest, OkWithoutAChangeStillSaves) {
  Load(ViewerAtlas("Viewer"));
  frm_->OnOk();
  EXPECT_EQ(saves_, 1);
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

// D15: the request path needs currentsetting to name an option.
TEST_F(FrmOptionTest, OkWithTextThatNamesNoOptionWritesNothingAndStaysOpen) {
  Load(ViewerAtlas("Viewer"));
  for (const char* typed : {"Nowhere", "", "viewer", " Viewer", "Viewer\"]|//x[\""}) {
    SCOPED_TRACE(typed);
    view_.messages.clear();
    view_.form.selected = typed;
    frm_->OnOk();
    EXPECT_EQ(view_.messages, std::vector<Message>{kUnknownId});
    EXPECT_FALSE(view_.closed);
  }
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(File(), ViewerAtlas("Viewer"));
  // The user can still pick an option and confirm it.
  view_.form.selected = "Atlas";
  frm_->OnOk();
  EXPECT_TRUE(view_.closed);
  EXPECT_EQ(File(), ViewerAtlas("Atlas"));
}

// D13: a document that did not load, or whose root lacks currentsetting, is never written.
TEST_F(FrmOptionTest, OkWithoutALoadedRootSettingClosesAndWritesNothing) {
  const std::optional<std::string> files[] = {
      std::nullopt,
      "<tolvexgateway_optionlist><option id='Viewer' area='a'>v</option>"
      "</tolvexgateway_optionlist>",
      "<tolvexgateway_optionlist><option id='Viewer' area='a' currentsetting='Viewer'>v</option>"
      "</tolvexgateway_optionlist>",
      "<other_root currentsetting='Viewer'><option id='Viewer' area='a'>v</option></other_root>",
      "<tolvexgateway_optionlist currentsetting='Viewer'><option id='Viewer'",
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.value_or("(no file)"));
    view_ = FakeView();
    saves_ = 0;
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
}

// D14: a failed save says so, keeps the window open and leaves the file as it was.
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
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"tolvexgwoption.xml"});

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
  const int outcome = testing::RunUnprivileged([&] {
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
  bool read_only_folder;  // the program folder of an install for all users
  bool linked;            // the program folder's file is a link to the package's file
  bool user_file_read;    // the user's own file existed and was the one read
  bool saves_beside;      // else the user's own file gets the choice
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
    dir_.Write("tolvexgwoption.xml", shared);
  }
  if (row.user_file_read) {
    std::filesystem::create_directory(config.path() / "tolvexgateway");
    config.Write("tolvexgateway/tolvexgwoption.xml", ViewerAtlas("Atlas"));
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
  const int outcome = testing::RunUnprivileged([&] {
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

}  // namespace
}  // namespace tolvex
