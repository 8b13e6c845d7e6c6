// The real Qt option window, driven by FrmOption over real option files, on Qt's offscreen
// platform: controls by objectName (kind, caption, geometry, fonts, read-only flags, tab
// order), picking an entry, OK, Esc, the close button, Help and the messages.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dialog/frm_option.h"
#include "dialog/map_editor_layout.h"
#include "dialog/option_layout.h"
#include "dialog/place_card_layout.h"
#include "dialog/qt/map_editor_window.h"
#include "dialog/qt/option_window.h"
#include "dialog/qt/place_card_window.h"
#include "platform/file_replace.h"
#include "platform/xml_document.h"
#include "services/system_services.h"
#include "tests/support/row_name.h"
#include "tests/support/temp_dir.h"
#include "version.h"

namespace tolvex {
namespace {

using test::ReadFile;
using test::TempDir;

const std::string kFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tolvexgateway_optionlist currentsetting=\"Viewer\">\n"
    "  <option id=\"Viewer\" area=\"Japan\" datum=\"tokyo\">viewer $lat.d() $lon.d()</option>\n"
    "  <option id=\"Atlas\" area=\"World\">https://atlas.example/?q=$ost</option>\n"
    "</tolvexgateway_optionlist>\n";

std::string WithCurrent(const std::string& id) {
  std::string file = kFile;
  file.replace(file.find("\"Viewer\">"), 8, "\"" + id + "\"");
  return file;
}

class RecordingShell final : public platform::Shell {
 public:
  std::vector<std::string> opened;
  bool SchemeOpensThisProgram(std::string_view) override { return false; }
  platform::ShellOutcome Open(std::string_view file, const std::optional<std::string>&) override {
    opened.emplace_back(file);
    return platform::ShellResult::kHandedOver;
  }
};

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon;
  int buttons;
};

// Answers every modal message box while it lives: records it and presses OK.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      seen.push_back(
          {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())});
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }
  std::vector<SeenBox> seen;

 private:
  QTimer timer_;
};

class OptionWindowTest : public ::testing::Test {
 protected:
  void Open(const std::optional<std::string>& file) {
    if (file) dir_.Write("tolvexgwoption.xml", *file);
    FrmOptionServices services;
    services.create_document = [] { return platform::CreateXmlDocument(); };
    services.shell = &shell_;
    services.save = SystemOptionSaveServices(path_);
    services.save.user_option_file_path.clear();
    services.manual_path = dir_.File("manual.htm");
    frm_ = std::make_unique<FrmOption>(window_, std::move(services));
    window_.Open(*frm_);
  }

  template <typename W>
  W* Control(const char* name) {
    auto* widget = window_.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // Picks entry `index` from the drop-down list as a user would: open it, click the entry.
  void Pick(int index) {
    auto* combo = Control<QComboBox>("GISoptions");
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }));
    const QRect entry = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }));
  }

  std::string File() const { return ReadFile(path_); }

  // The window's own scale: its client area is the table's.
  double PixelsPerTwip() {
    return Control<QWidget>("client")->width() / static_cast<double>(option_layout::kClientWidth);
  }

  TempDir dir_;
  const std::string path_ = dir_.File("tolvexgwoption.xml");
  RecordingShell shell_;
  qt::OptionWindow window_;
  std::unique_ptr<FrmOption> frm_;
};

// The Qt class that the view makes of each kind of control the option window has.
const std::map<layout::Kind, const char*> kQtClasses = {
    {layout::Kind::kTabStrip, "QTabWidget"},   {layout::Kind::kPanel, "QWidget"},
    {layout::Kind::kButton, "QPushButton"},    {layout::Kind::kPlainLabel, "QLabel"},
    {layout::Kind::kComboBox, "QComboBox"},    {layout::Kind::kShownText, "QPlainTextEdit"},
    {layout::Kind::kReadOnlyBox, "QLineEdit"}, {layout::Kind::kPicture, "QLabel"}};

QString TextOf(QWidget* widget) {
  if (auto* tabs = qobject_cast<QTabWidget*>(widget)) return tabs->tabText(0);
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(widget)) return button->text();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) return plain->toPlainText();
  return {};
}

// What the controls without a caption of their own show for kFile.
const std::map<int, std::string> kShownForFile = {
    {option_layout::kApplicationBox, "Viewer"},
    {option_layout::kCommandBox, "viewer $lat.d() $lon.d()"},
    {option_layout::kAreaBox, "Japan"},
    {option_layout::kDatumBox, "tokyo"},
    {option_layout::kVersionLine, "TolvexGateway Version " TOLVEX_VERSION},
    {option_layout::kCopyrightLine, std::string(kCopyrightNotice)},
};

}  // namespace
}  // namespace tolvex

// A failing row of the form's table prints as its control's name.
namespace tolvex::option_layout {
void PrintTo(const Control& control, std::ostream* out) { *out << control.name; }
}  // namespace tolvex::option_layout

namespace tolvex {
namespace {

// Each row of the form's table as the window shows it: kind, parent, place, text and font.
class OptionWindowControlTest : public OptionWindowTest,
                                public ::testing::WithParamInterface<layout::Control> {};

TEST_P(OptionWindowControlTest, ShowsTheTablesControl) {
  const layout::Control& c = GetParam();
  Open(kFile);
  auto* widget = Control<QWidget>(c.name);
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->metaObject()->className(), kQtClasses.at(c.kind));
  EXPECT_EQ(widget->parentWidget()->objectName().toStdString(),
            c.parent == option_layout::kWindow
                ? "client"
                : layout::FindControl(option_layout::kControls, c.parent)->name);
  // In the window's own scale, within the pixel that rounding may take.
  const double scale = PixelsPerTwip();
  const QRect place = widget->geometry();
  EXPECT_NEAR(place.left(), c.rect.left * scale, 1.0);
  EXPECT_NEAR(place.top(), c.rect.top * scale, 1.0);
  EXPECT_NEAR(place.width(), c.rect.width * scale, 1.0);
  EXPECT_NEAR(place.height(), c.rect.height * scale, 1.0);
  if (const auto shown = kShownForFile.find(c.id); shown != kShownForFile.end()) {
    EXPECT_EQ(TextOf(widget).toStdString(), shown->second);
  } else if (c.kind != layout::Kind::kPanel) {
    EXPECT_EQ(TextOf(widget).toStdString(), c.caption);
  }
  if (c.font != layout::FontRole::kNone) {
    EXPECT_EQ(widget->font().families().value(0).toStdString(), layout::kFontFace);
    EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), layout::FontPoints(c.font));
  }
}

INSTANTIATE_TEST_SUITE_P(Form, OptionWindowControlTest,
                         ::testing::ValuesIn(option_layout::kControls),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(OptionWindowTest, ClientAreaTabPictureAndPanelFollowTheTable) {
  Open(kFile);
  const double scale = PixelsPerTwip();
  EXPECT_NEAR(Control<QWidget>("client")->height(), option_layout::kClientHeight * scale, 1.0);
  // A twip is 1/1440 inch of the screen's logical DPI.
  EXPECT_NEAR(scale * layout::kTwipsPerInch, window_.screen()->logicalDotsPerInch(), 0.5);
  auto* tabs = Control<QTabWidget>("tbsOptions");
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), "Option");
  EXPECT_EQ(tabs->tabText(1), "Maps");
  // Only the shown tab's panel is visible; Ctrl+Tab switches.
  EXPECT_FALSE(Control<QWidget>("mapsPanel")->isVisibleTo(&window_));
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QTest::keyClick(&window_, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_TRUE(Control<QWidget>("mapsPanel")->isVisibleTo(&window_));
  EXPECT_FALSE(Control<QWidget>("picOptions")->isVisibleTo(&window_));
  const layout::Control& picture =
      *layout::FindControl(option_layout::kControls, option_layout::kPicture);
  EXPECT_EQ(Control<QLabel>(picture.name)->pixmap().size(),
            QSize(option_layout::kPicturePixels, option_layout::kPicturePixels));
  // The panel lies over the tab strip.
  EXPECT_GT(tabs->parentWidget()->children().indexOf(Control<QWidget>("picOptions")),
            tabs->parentWidget()->children().indexOf(tabs));
}

TEST_F(OptionWindowTest, WindowCaptionIconMenuAndPlace) {
  Open(kFile);
  EXPECT_EQ(window_.windowTitle(), "TolvexGateway   - Option -");
  EXPECT_TRUE(window_.windowIcon().availableSizes().contains(QSize(32, 32)));
  const QList<QAction*> items = window_.menuBar()->actions();
  ASSERT_EQ(items.size(), 1);
  EXPECT_EQ(items[0]->objectName(), "mnuHelp");
  EXPECT_EQ(items[0]->text(), "Help(&H)");
  EXPECT_EQ(items[0]->menu(), nullptr);
  const QPoint centre = window_.screen()->availableGeometry().center();
  EXPECT_LE((window_.frameGeometry().center() - centre).manhattanLength(), 1);
}

TEST_F(OptionWindowTest, FontsAndReadOnlyBoxes) {
  Open(kFile);
  for (const layout::Control& control : option_layout::kControls) {
    if (control.font != layout::FontRole::kText) continue;
    SCOPED_TRACE(control.name);
    const QFont font = Control<QWidget>(control.name)->font();
    EXPECT_EQ(font.weight(), QFont::Normal);
    // Where "MS UI Gothic" is missing, an installed face that has Japanese is used.
    const QString used = QFontInfo(font).family();
    EXPECT_TRUE(QFontDatabase::writingSystems(used).contains(QFontDatabase::Japanese))
        << used.toStdString();
  }
  EXPECT_TRUE(Control<QPlainTextEdit>("oscommand")->isReadOnly());
  EXPECT_TRUE(Control<QLineEdit>("datum")->isReadOnly());
  EXPECT_TRUE(Control<QLineEdit>("GISareas")->isReadOnly());
  EXPECT_TRUE(Control<QComboBox>("GISoptions")->isEditable());
}

TEST_F(OptionWindowTest, TabVisitsTheControlsInTheirTabIndexOrder) {
  Open(kFile);
  // The control that a focus stop belongs to (a combo box's line edit is the combo's).
  QStringList controls;
  for (const layout::Control& control : option_layout::kControls) controls << control.name;
  std::vector<std::string> stops;
  for (const layout::Control* stop : layout::TabStops(option_layout::kControls))
    stops.push_back(stop->name);
  const auto owner = [&](QWidget* w) {
    while (w != nullptr && !controls.contains(w->objectName())) w = w->parentWidget();
    return w != nullptr ? w->objectName().toStdString() : std::string("?");
  };
  std::vector<std::string> order;
  QWidget* start = Control<QWidget>("tbsOptions")->focusProxy();
  if (start == nullptr) start = Control<QWidget>("tbsOptions");
  QWidget* w = start;
  do {
    const bool stop = (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window_) &&
                      w->isEnabled() && w->focusProxy() == nullptr;
    if (stop && (order.empty() || order.back() != owner(w))) order.push_back(owner(w));
    w = w->nextInFocusChain();
  } while (w != start && order.size() < 20);
  EXPECT_EQ(order, stops);
}

// The place card and the map editor, built from their tables: Tab reaches every control in the
// table's tab order, and each one has a name that screen readers read.
struct TabOrderCase {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
  std::span<const layout::Control> table;
};

class TabOrderTest : public ::testing::TestWithParam<TabOrderCase> {};

TEST_P(TabOrderTest, TabReachesEveryControlAndEachHasAName) {
  const std::unique_ptr<QWidget> window = GetParam().make();
  window->show();
  QStringList controls;
  std::vector<std::string> expected;
  for (const layout::Control* stop : layout::TabStops(GetParam().table)) {
    controls.append(QString::fromLatin1(stop->name));
    expected.emplace_back(stop->name);
  }
  const auto owner = [&](QWidget* w) {
    while (w != nullptr && !controls.contains(w->objectName())) w = w->parentWidget();
    return w;
  };
  std::vector<std::string> order;
  QWidget* start = window->findChild<QWidget*>(controls.value(0));
  ASSERT_NE(start, nullptr);
  QWidget* w = start;
  do {
    const bool stop = (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window.get()) &&
                      w->isEnabled() && w->focusProxy() == nullptr;
    QWidget* control = owner(w);
    if (stop && control != nullptr &&
        (order.empty() || order.back() != control->objectName().toStdString())) {
      order.push_back(control->objectName().toStdString());
      EXPECT_FALSE(control->accessibleName().isEmpty()) << order.back();
    }
    w = w->nextInFocusChain();
  } while (w != start && order.size() < 40);
  EXPECT_EQ(order, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TabOrderTest,
    ::testing::Values(TabOrderCase{"PlaceCard",
                                   [] { return std::make_unique<qt::PlaceCardWindow>(); },
                                   place_card_layout::kControls},
                      TabOrderCase{"MapEditor",
                                   [] { return std::make_unique<qt::MapEditorWindow>(nullptr); },
                                   map_editor_layout::kControls}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(OptionWindowTest, PickingAndOkStoreThePick) {
  Open(kFile);
  Pick(1);
  EXPECT_EQ(Control<QComboBox>("GISoptions")->currentText(), "Atlas");
  EXPECT_EQ(Control<QPlainTextEdit>("oscommand")->toPlainText(), "https://atlas.example/?q=$ost");
  EXPECT_EQ(Control<QLineEdit>("datum")->text(), "wgs84");
  EXPECT_EQ(Control<QLineEdit>("GISareas")->text(), "World");
  EXPECT_EQ(File(), kFile);  // nothing is written before OK

  // Kept as a build artefact, to look at.
  const QString shot = QStringLiteral(TOLVEX_ARTIFACT_DIR "/option_window.png");
  QDir().mkpath(QStringLiteral(TOLVEX_ARTIFACT_DIR));
  const QPixmap picture = window_.grab();
  EXPECT_EQ(picture.size(), window_.size());
  EXPECT_TRUE(picture.save(shot));

  QTest::mouseClick(Control<QPushButton>("cmdOK"), Qt::LeftButton);
  EXPECT_TRUE(window_.unloaded());
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(File(), WithCurrent("Atlas"));
}

class OptionWindowCloseTest
    : public OptionWindowTest,
      public ::testing::WithParamInterface<test::NamedRow<void (*)(qt::OptionWindow&)>> {};

TEST_P(OptionWindowCloseTest, EscapeCancelAndTheCloseButtonSaveNothing) {
  Open(kFile);
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  Control<QComboBox>("GISoptions")->setEditText(QStringLiteral("Atlas"));
  GetParam().value(window_);
  EXPECT_TRUE(window_.unloaded());
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(File(), kFile);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, OptionWindowCloseTest,
    ::testing::ValuesIn(std::vector<test::NamedRow<void (*)(qt::OptionWindow&)>>{
        {"Escape", [](qt::OptionWindow& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
        {"CancelButton",
         [](qt::OptionWindow& window) {
           QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                             Qt::LeftButton);
         }},
        // What the title bar's close button does.
        {"CloseButton", [](qt::OptionWindow& window) { window.close(); }}}),
    TOLVEX_ROW_NAMES(name));

TEST_F(OptionWindowTest, HelpClickedOnTheMenuBarOpensTheManual) {
  Open(kFile);
  QMenuBar* bar = window_.menuBar();
  QAction* help = bar->actions().value(0);
  ASSERT_NE(help, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(help).center());
  EXPECT_EQ(shell_.opened, std::vector<std::string>{dir_.File("manual.htm")});
  // H is the access key.
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  QTest::keyClick(&window_, Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(shell_.opened.size(), 2u);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_FALSE(window_.unloaded());
}

TEST_F(OptionWindowTest, LoadMessagesComeBeforeTheWindowWhichOpensAnyway) {
  BoxAnswerer answerer;
  Open(WithCurrent("Gone"));
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].title, "TolVex Gateway: Error");
  EXPECT_EQ(answerer.seen[0].text, "Can't Load Current Value. XML file may be collasped.");
  EXPECT_EQ(answerer.seen[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen[0].buttons, 1);
  EXPECT_TRUE(window_.isVisible());
  auto* combo = Control<QComboBox>("GISoptions");
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), "Gone");
  EXPECT_EQ(Control<QLineEdit>("GISareas")->text(), "Japan");
  EXPECT_EQ(Control<QPlainTextEdit>("oscommand")->toPlainText(), "");
  EXPECT_EQ(Control<QLineEdit>("datum")->text(), "");
}

TEST_F(OptionWindowTest, WithoutCurrentSettingTheListFillsAndTheTextFieldStaysEmpty) {
  BoxAnswerer answerer;
  Open(
      "<tolvexgateway_optionlist><option id='Viewer' area='a'>v</option>"
      "<option id='Atlas' area='b'>a</option></tolvexgateway_optionlist>");
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].text, "Can't Load Option file. XML file may be collasped.");
  auto* combo = Control<QComboBox>("GISoptions");
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), "");
}

TEST_F(OptionWindowTest, TypedTextThatNamesNoOptionIsRefusedOnOk) {
  Open(kFile);
  auto* combo = Control<QComboBox>("GISoptions");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), "Atl");
  // Typing neither completes the text nor shows another option.
  EXPECT_EQ(combo->currentText(), "Atl");
  EXPECT_EQ(Control<QPlainTextEdit>("oscommand")->toPlainText(), "viewer $lat.d() $lon.d()");
  BoxAnswerer answerer;
  QTest::mouseClick(Control<QPushButton>("cmdOK"), Qt::LeftButton);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].text, "Can't Save Current Value. No option has this id.");
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(combo->count(), 2);  // nothing was added to the list
  EXPECT_EQ(File(), kFile);
}

}  // namespace
}  // namespace tolvex

int main(int argc, char** argv) {
  // The window test never needs a real display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
