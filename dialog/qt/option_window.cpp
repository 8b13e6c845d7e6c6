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
#include <map>
#include <vector>

#include "dialog/option_layout.h"

namespace tolvex::qt {
namespace {

using namespace option_form;

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
                         option_form::kTwipsPerInch) {}
  int Px(int twips) const { return qRound(twips * pixels_per_twip_); }
  QRect Rect(const TwipsRect& r) const {
    return {Px(r.left), Px(r.top), Px(r.width), Px(r.height)};
  }

 private:
  double pixels_per_twip_;
};

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

// The widget that stands for a control of `kind`, set up as that kind behaves.
QWidget* CreateWidget(ControlKind kind, QWidget* parent) {
  switch (kind) {
    case ControlKind::kTabStrip:
      return new QTabWidget(parent);
    case ControlKind::kPanel: {
      auto* panel = new QWidget(parent);
      panel->setAutoFillBackground(true);
      return panel;
    }
    case ControlKind::kButton:
      return new QPushButton(parent);
    case ControlKind::kLabel:
      return new QLabel(parent);
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      // The list holds the file's ids only: typing neither adds entries nor completes them.
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);
      return combo;
    }
    case ControlKind::kMultiLineBox: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      // Long templates wrap; only a very long one needs to scroll, downwards.
      box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      box->setTabChangesFocus(true);
      return box;
    }
    case ControlKind::kReadOnlyBox: {
      auto* box = new QLineEdit(parent);
      box->setReadOnly(true);
      return box;
    }
    case ControlKind::kImage: {
      auto* image = new QLabel(parent);
      image->setPixmap(QPixmap(QStringLiteral(":/tolvex/option-picture-96.png")));
      image->setScaledContents(true);
      return image;
    }
  }
  return new QWidget(parent);
}

void SetBoxText(QLineEdit* box, const QString& text) {
  if (box->text() == text) return;
  box->setText(text);
  box->setCursorPosition(0);
}

}  // namespace

QFont JapaneseUiFont(double point_size) {
  QFont font;
  QStringList families = {QString::fromLatin1(kFontFace.data(), kFontFace.size())};
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
  text_font_ = JapaneseUiFont(FontPoints(FontRole::kText));

  setObjectName(QStringLiteral("FrmOption"));
  setWindowTitle(ToQString(kWindowCaption));
  setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));

  // One item straight on the menu bar, acting when clicked: no submenu.
  QAction* help = menuBar()->addAction(ToQString(kHelpCaption));
  help->setObjectName(QStringLiteral("mnuHelp"));
  connect(help, &QAction::triggered, this, [this] { Send(&OptionEvents::OnHelp); });

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(twips.Px(kClientWidth), twips.Px(kClientHeight));
  setCentralWidget(client);

  controls_ = {{kWindow, client}};
  for (const Control& control : kControls) {
    QWidget* widget = CreateWidget(control.kind, controls_.at(control.parent));
    controls_[control.id] = widget;
    widget->setObjectName(QString::fromLatin1(control.name));
    widget->setGeometry(twips.Rect(control.rect));
    const QFont font =
        control.font == FontRole::kNone ? QFont() : JapaneseUiFont(FontPoints(control.font));
    if (control.font != FontRole::kNone) widget->setFont(font);
    const QString caption = QString::fromLatin1(control.caption);
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) tabs->addTab(new QWidget(tabs), caption);
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(caption);
    if (control.kind == ControlKind::kLabel && !caption.isEmpty()) {
      const int room = CaptionRoom(control);
      SetCaption(static_cast<QLabel*>(widget), caption, font,
                 room < control.rect.width ? twips.Px(room) : 0);
    }
    // The panel lies over the tab strip's page.
    if (control.kind == ControlKind::kPanel) widget->raise();
  }

  auto* cancel = static_cast<QPushButton*>(controls_.at(kCancelButton));
  connect(cancel, &QPushButton::clicked, this, [this] { Send(&OptionEvents::OnCancel); });
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
  connect(static_cast<QPushButton*>(controls_.at(kOkButton)), &QPushButton::clicked, this,
          [this] { Send(&OptionEvents::OnOk); });
  application_box_ = static_cast<QComboBox*>(controls_.at(kIdList));
  connect(application_box_, &QComboBox::activated, this, [this] { Send(&OptionEvents::OnPick); });

  // The labels and the panel take no focus.
  const std::vector<const Control*> stops = TabStops();
  for (std::size_t i = 1; i < stops.size(); ++i) {
    QWidget::setTabOrder(controls_.at(stops[i - 1]->id), controls_.at(stops[i]->id));
  }

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

void OptionWindow::SetControlText(int id, const QString& text) {
  QWidget* widget = controls_.at(id);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (combo->currentText() != text) combo->setEditText(text);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    if (box->toPlainText() != text) box->setPlainText(text);
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    SetBoxText(line, text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->text() != text) SetCaption(label, text, text_font_);
  }
}

QString OptionWindow::ControlText(int id) const {
  const QWidget* widget = controls_.at(id);
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(widget)) return box->toPlainText();
  if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  return {};
}

void OptionWindow::Show(const OptionForm& form) {
  QStringList ids;
  for (const auto& id : form.ids) ids.append(ToQString(id));
  QStringList listed;
  for (int i = 0; i < application_box_->count(); ++i) listed.append(application_box_->itemText(i));
  if (ids != listed) {
    // Filling the list must not put its first entry into the text field.
    const QString text = application_box_->currentText();
    application_box_->clear();
    application_box_->addItems(ids);
    application_box_->setCurrentIndex(-1);
    application_box_->setEditText(text);
  }
  for (const FormText& text : kFormTexts) SetControlText(text.control, ToQString(form.*text.field));
}

OptionForm OptionWindow::Read() const {
  OptionForm form;
  for (int i = 0; i < application_box_->count(); ++i) {
    form.ids.push_back(application_box_->itemText(i).toStdString());
  }
  for (const FormText& text : kFormTexts) {
    form.*text.field = ControlText(text.control).toStdString();
  }
  return form;
}

void OptionWindow::ShowError(std::string_view text, std::string_view title) {
  // A box over a window not yet shown would sit where that window was created, not where it
  // will appear: during window load the box centres on the screen instead.
  ShowCriticalMessage(isVisible() ? this : nullptr, text, title);
}

void OptionWindow::Close() { close(); }

}  // namespace tolvex::qt
