#include "dialog/qt/option_window.h"

#include <QApplication>
#include <QCheckBox>
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
#include <QTreeWidget>
#include <QtGlobal>
#include <algorithm>
#include <map>
#include <vector>

#include "dialog/maps_layout.h"
#include "dialog/option_layout.h"
#include "dialog/qt/form_builder.h"
#include "dialog/qt/map_editor_dialog.h"

namespace tolvex::qt {
namespace {

using namespace option_form;

// Proportional Japanese gothic faces first, as "MS UI Gothic" is one.
constexpr const char* kFallbackFamilies[] = {
    "IPAPGothic", "IPAGothic",    "Noto Sans CJK JP", "Source Han Sans JP", "VL PGothic",
    "VL Gothic",  "TakaoPGothic", "TakaoGothic",      "IPAexGothic",        "Droid Sans Fallback"};

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
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
      tabs->addTab(new QWidget(tabs), caption);
      tabs->addTab(new QWidget(tabs), ToQString(maps_form::kTabCaption));
    }
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

  BuildMapsTab(twips);
  QWidget::setTabOrder(controls_.at(stops.back()->id),
                       controls_.at(layout::TabStops(maps_form::kControls).front()->id));

  setFixedSize(sizeHint());
}

void OptionWindow::BuildMapsTab(const TwipScale& twips) {
  using namespace maps_form;
  BuildControls(maps_form::kControls, controls_.at(layout::kWindow), twips, kMapColumns, controls_);
  map_list_ = static_cast<QTreeWidget*>(controls_.at(kMapList));
  const std::pair<int, void (OptionEvents::*)()> buttons[] = {
      {kNewButton, &OptionEvents::OnNewMap},
      {kEditButton, &OptionEvents::OnEditMap},
      {kDuplicateButton, &OptionEvents::OnDuplicateMap},
      {kDeleteButton, &OptionEvents::OnDeleteMap},
      {kCatalogueButton, &OptionEvents::OnCatalogue}};
  for (const auto& [id, handler] : buttons) {
    connect(static_cast<QPushButton*>(controls_.at(id)), &QPushButton::clicked, this,
            [this, handler = handler] { Send(handler); });
  }
  connect(map_list_, &QTreeWidget::itemDoubleClicked, this,
          [this] { Send(&OptionEvents::OnEditMap); });
  // Only the user's click reports a change; the logic's Show does not.
  connect(static_cast<QCheckBox*>(controls_.at(kAskBox)), &QCheckBox::clicked, this,
          [this] { Send(&OptionEvents::OnAskChange); });

  // Each tab shows its own panel over the tab strip's page; Ctrl+Tab and Ctrl+Shift+Tab switch
  // tabs wherever the focus is, as tab strips do.
  auto* tabs = static_cast<QTabWidget*>(controls_.at(kOptionTab));
  connect(tabs, &QTabWidget::currentChanged, this, [this](int tab) { ShowTab(tab); });
  const auto step = [tabs](int by) {
    tabs->setCurrentIndex((tabs->currentIndex() + by + tabs->count()) % tabs->count());
  };
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
          [step] { step(1); });
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this),
          &QShortcut::activated, this, [step] { step(-1); });
  ShowTab(0);
}

void OptionWindow::ShowTab(int tab) {
  QWidget* shown = controls_.at(tab == 0 ? kOptionPanel : maps_form::kMapsPanel);
  QWidget* hidden = controls_.at(tab == 0 ? maps_form::kMapsPanel : kOptionPanel);
  const bool focus_was_hidden = hidden->isAncestorOf(QApplication::focusWidget());
  hidden->hide();
  shown->show();
  shown->raise();
  // The focus on the page that went away moves to the first control of the page shown.
  if (focus_was_hidden) {
    controls_.at(tab == 0 ? kIdList : maps_form::kMapList)->setFocus(Qt::TabFocusReason);
  }
}

void OptionWindow::Open(OptionEvents& events) {
  events_ = &events;
  events.OnLoad();
  if (unloaded_) return;
  adjustSize();
  CentreOnScreen(this);
  show();
  // The frame's size is known only once the window is shown; centre again with it.
  CentreOnScreen(this);
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
  SetRows(map_list_, {form.ids, form.areas});
  SelectRow(map_list_, form.map_row);
  static_cast<QCheckBox*>(controls_.at(maps_form::kAskBox))->setChecked(form.ask);
}

OptionForm OptionWindow::Read() const {
  OptionForm form;
  for (int i = 0; i < application_box_->count(); ++i) {
    form.ids.push_back(application_box_->itemText(i).toStdString());
  }
  for (const FormText& text : kFormTexts) {
    form.*text.field = ControlText(text.control).toStdString();
  }
  for (int row = 0; row < map_list_->topLevelItemCount(); ++row) {
    form.areas.push_back(map_list_->topLevelItem(row)->text(1).toStdString());
  }
  form.map_row = CurrentRow(map_list_);
  form.ask = static_cast<const QCheckBox*>(controls_.at(maps_form::kAskBox))->isChecked();
  return form;
}

void OptionWindow::ShowError(std::string_view text, std::string_view title) {
  // A box over a window not yet shown would sit where that window was created, not where it
  // will appear: during window load the box centres on the screen instead.
  ShowCriticalMessage(isVisible() ? this : nullptr, text, title);
}

void OptionWindow::Close() { close(); }

void OptionWindow::RunMapEditor(
    const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) {
  MapEditorDialog editor(this);
  const std::unique_ptr<MapEditorEvents> logic = make_logic(editor);
  editor.Run(*logic);
}

std::optional<std::size_t> OptionWindow::ChooseItem(std::string_view title,
                                                    const std::vector<std::string>& items) {
  return ChooseFromList(this, title, items);
}

}  // namespace tolvex::qt
