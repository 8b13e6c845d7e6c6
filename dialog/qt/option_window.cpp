#include "dialog/qt/option_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStringList>
#include <QTabWidget>
#include <QtGlobal>
#include <algorithm>

namespace tolvex::qt {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMainFontPoints = 12.0;
constexpr double kTabFontPoints = 9.75;
constexpr const char* kAskedFontFamily = "MS UI Gothic";
// Proportional Japanese gothic faces first, as "MS UI Gothic" is one.
constexpr const char* kFallbackFamilies[] = {
    "IPAPGothic", "IPAGothic",    "Noto Sans CJK JP", "Source Han Sans JP", "VL PGothic",
    "VL Gothic",  "TakaoPGothic", "TakaoGothic",      "IPAexGothic",        "Droid Sans Fallback"};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FallbackFamily() {
  const QStringList installed = QFontDatabase::families();
  for (const char* family : kFallbackFamilies) {
    if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) {
      return QString::fromLatin1(family);
    }
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.first();
}

// Converts the window's twip geometry to pixels: 15 twips a pixel at 96 dpi, more on a screen
// whose logical DPI Qt has not already folded into its device pixel ratio.
class TwipScale {
 public:
  explicit TwipScale(const QScreen* screen)
      : pixels_per_twip_((screen != nullptr ? screen->logicalDotsPerInch() : 96.0) /
                         kTwipsPerInch) {}
  int Px(int twips) const { return qRound(twips * pixels_per_twip_); }
  QRect Rect(int left, int top, int width, int height) const {
    return {Px(left), Px(top), Px(width), Px(height)};
  }

 private:
  double pixels_per_twip_;
};

template <typename W>
W* Place(QWidget* parent, const char* name, const QRect& geometry, const QFont& font) {
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  widget->setFont(font);
  return widget;
}

// Sets a label's caption. A fallback font can be wider than "MS UI Gothic", for which the
// window's geometry was laid out; a caption that would be cut off (at the label's end, or
// where a box covers the label's right part) is narrowed to fit instead, keeping its height.
void SetCaption(QLabel* label, const QString& caption, const QFont& font, int room = 0) {
  QFont fitted = font;
  const int needed = QFontMetrics(font).horizontalAdvance(caption);
  if (room <= 0) room = label->width() - 1;
  if (needed > room && room > 0) {
    constexpr int kNarrowest = 70;  // percent; narrower is no longer comfortable to read
    fitted.setStretch(std::max(kNarrowest, room * 100 / needed));
  }
  label->setFont(fitted);
  label->setText(caption);
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const char* caption, const QRect& geometry,
                   const QFont& font, int room = 0) {
  auto* label = Place<QLabel>(parent, name, geometry, font);
  SetCaption(label, QString::fromLatin1(caption), font, room);
  return label;
}

QLineEdit* PlaceReadOnlyBox(QWidget* parent, const char* name, const QRect& geometry,
                            const QFont& font) {
  auto* box = Place<QLineEdit>(parent, name, geometry, font);
  box->setReadOnly(true);
  return box;
}

}  // namespace

QFont JapaneseUiFont(double point_size) {
  QFont font;
  QStringList families = {QString::fromLatin1(kAskedFontFamily)};
  const QString fallback = FallbackFamily();
  if (!fallback.isEmpty()) families.append(fallback);
  font.setFamilies(families);
  font.setPointSizeF(point_size);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void ShowCriticalMessage(QWidget* parent, std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::Critical, ToQString(title), ToQString(text), QMessageBox::Ok,
                  parent);
  box.exec();
}

OptionWindow::OptionWindow() { Build(); }

OptionWindow::~OptionWindow() = default;

void OptionWindow::Build() {
  const TwipScale twips(screen());
  main_font_ = JapaneseUiFont(kMainFontPoints);
  const QFont& font = main_font_;

  setObjectName(QStringLiteral("FrmOption"));
  setWindowTitle(QStringLiteral("TolvexGateway   - Option -"));
  setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));

  // One item straight on the menu bar, acting when clicked: no submenu.
  QAction* help = menuBar()->addAction(QStringLiteral("Help(&H)"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  connect(help, &QAction::triggered, this, [this] { Send(&OptionEvents::OnHelp); });

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(twips.Px(8130), twips.Px(5880));
  setCentralWidget(client);

  auto* tabs = Place<QTabWidget>(client, "tbsOptions", twips.Rect(120, 120, 7815, 5205),
                                 JapaneseUiFont(kTabFontPoints));
  tabs->addTab(new QWidget(tabs), QStringLiteral("Option"));

  // The panel lies over the tab strip's page and holds the option's controls.
  auto* panel = Place<QWidget>(client, "picOptions", twips.Rect(240, 720, 7575, 4545), font);
  panel->setAutoFillBackground(true);
  panel->raise();

  auto* cancel = Place<QPushButton>(client, "cmdCancel", twips.Rect(6840, 5400, 1095, 375), font);
  cancel->setText(QStringLiteral("Cancel"));
  connect(cancel, &QPushButton::clicked, this, [this] { Send(&OptionEvents::OnCancel); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cancel, &QPushButton::click);

  auto* ok = Place<QPushButton>(client, "cmdOK", twips.Rect(5640, 5400, 1095, 375), font);
  ok->setText(QStringLiteral("OK"));
  connect(ok, &QPushButton::clicked, this, [this] { Send(&OptionEvents::OnOk); });

  PlaceLabel(panel, "LabelList", "Select GIS Application", twips.Rect(240, 360, 3975, 255), font);
  gis_options_ = Place<QComboBox>(panel, "GISoptions", twips.Rect(240, 600, 7215, 360), font);
  gis_options_->setEditable(true);
  // The list holds the file's ids only: typing neither adds entries nor completes them.
  gis_options_->setInsertPolicy(QComboBox::NoInsert);
  gis_options_->setCompleter(nullptr);
  connect(gis_options_, &QComboBox::activated, this, [this] { Send(&OptionEvents::OnPick); });

  PlaceLabel(panel, "Label3", "URL/File", twips.Rect(240, 1440, 4215, 255), font);
  os_command_ = Place<QPlainTextEdit>(panel, "oscommand", twips.Rect(240, 1680, 7215, 1095), font);
  os_command_->setReadOnly(true);
  // Long templates wrap; only a very long one needs to scroll, downwards.
  os_command_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  os_command_->setTabChangesFocus(true);

  auto* image = Place<QLabel>(panel, "Image1", twips.Rect(240, 3120, 1440, 1440), font);
  image->setPixmap(QPixmap(QStringLiteral(":/tolvex/option-picture-96.png")));
  image->setScaledContents(true);

  copyright_ = Place<QLabel>(panel, "copyright", twips.Rect(1800, 3960, 5775, 255), font);
  copyright2_ = Place<QLabel>(panel, "copyright2", twips.Rect(1800, 4200, 5775, 255), font);
  // "Valid Area" and "Datum" reach under the boxes to their right.
  PlaceLabel(panel, "Label2", "Valid Area", twips.Rect(3600, 2955, 1215, 255), font,
             twips.Px(4680 - 3600));
  gis_areas_ = PlaceReadOnlyBox(panel, "GISareas", twips.Rect(4680, 2880, 975, 375), font);
  PlaceLabel(panel, "Label1", "Datum", twips.Rect(5880, 2955, 735, 255), font,
             twips.Px(6600 - 5880));
  datum_ = PlaceReadOnlyBox(panel, "datum", twips.Rect(6600, 2910, 855, 360), font);

  // Tab indexes 0 to 13; the labels and the panel take no focus.
  QWidget::setTabOrder(tabs, cancel);
  QWidget::setTabOrder(cancel, ok);
  QWidget::setTabOrder(ok, gis_options_);
  QWidget::setTabOrder(gis_options_, os_command_);
  QWidget::setTabOrder(os_command_, datum_);
  QWidget::setTabOrder(datum_, gis_areas_);

  setFixedSize(sizeHint());
}

void OptionWindow::Open(OptionEvents& events) {
  events_ = &events;
  events.OnLoad();
  if (unloaded_) return;
  adjustSize();
  CentreOnScreen();
  show();
  // The frame's size is known only once the window is shown; centre again with it.
  CentreOnScreen();
}

void OptionWindow::CentreOnScreen() {
  const QScreen* where = screen();
  if (where == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(where->availableGeometry().center());
  if (frame.topLeft() != frameGeometry().topLeft()) move(frame.topLeft());
}

void OptionWindow::Send(void (OptionEvents::*handler)()) {
  if (events_ != nullptr && !unloaded_) (events_->*handler)();
}

void OptionWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (events_ != nullptr) events_->OnUnload();
  if (on_unloaded) on_unloaded();
}

void OptionWindow::closeEvent(QCloseEvent* event) {
  // The unload is never refused.
  event->accept();
  Unload();
}

void OptionWindow::SetVersionLine(std::string_view text) {
  SetCaption(copyright_, ToQString(text), main_font_);
}

void OptionWindow::SetCopyrightNotice(std::string_view text) {
  SetCaption(copyright2_, ToQString(text), main_font_);
}

void OptionWindow::SetOptionIds(const std::vector<std::string>& ids) {
  // Filling the list must not put its first entry into the text field.
  const QString text = gis_options_->currentText();
  gis_options_->clear();
  for (const auto& id : ids) gis_options_->addItem(ToQString(id));
  gis_options_->setCurrentIndex(-1);
  gis_options_->setEditText(text);
}

void OptionWindow::SetSelectedText(std::string_view text) {
  gis_options_->setEditText(ToQString(text));
}

std::string OptionWindow::SelectedText() const { return gis_options_->currentText().toStdString(); }

void OptionWindow::SetCommandTemplate(std::string_view text) {
  os_command_->setPlainText(ToQString(text));
}

void OptionWindow::SetDatum(std::string_view text) {
  datum_->setText(ToQString(text));
  datum_->setCursorPosition(0);
}

void OptionWindow::SetArea(std::string_view text) {
  gis_areas_->setText(ToQString(text));
  gis_areas_->setCursorPosition(0);
}

void OptionWindow::ShowError(std::string_view text, std::string_view title) {
  // A box over a window not yet shown would sit where that window was created, not where it
  // will appear: during window load the box centres on the screen instead.
  ShowCriticalMessage(isVisible() ? this : nullptr, text, title);
}

void OptionWindow::Close() { close(); }

}  // namespace tolvex::qt
