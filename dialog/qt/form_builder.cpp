#include "dialog/qt/form_builder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtGlobal>
#include <algorithm>
#include <cstddef>

namespace tolvex::qt {
namespace {

using layout::Kind;

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

// Sets a plain label's caption. A fallback font can be wider than "MS UI Gothic", for which the
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

QPlainTextEdit* CreateTextBox(QWidget* parent, bool read_only) {
  auto* box = new QPlainTextEdit(parent);
  box->setReadOnly(read_only);
  // Long templates wrap; only a very long one needs to scroll, downwards.
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setTabChangesFocus(true);
  if (read_only)
    box->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  return box;
}

QTreeWidget* CreateListView(QWidget* parent, std::span<const layout::Column> columns,
                            const TwipScale& twips) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setColumnCount(static_cast<int>(columns.size()));
  QStringList headers;
  for (const layout::Column& column : columns) headers.append(QString::fromUtf8(column.caption));
  list->setHeaderLabels(headers);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    list->setColumnWidth(static_cast<int>(i), twips.Px(columns[i].width));
  }
  list->header()->setStretchLastSection(true);
  return list;
}

// The widget that stands for a control of `kind`, set up as that kind behaves.
QWidget* CreateWidget(Kind kind, QWidget* parent, std::span<const layout::Column> columns,
                      const TwipScale& twips) {
  switch (kind) {
    case Kind::kPanel: {
      auto* panel = new QWidget(parent);
      panel->setAutoFillBackground(true);
      return panel;
    }
    case Kind::kButton:
      return new QPushButton(parent);
    case Kind::kMenuButton: {
      auto* button = new QPushButton(parent);
      button->setMenu(new QMenu(button));
      return button;
    }
    case Kind::kLabel:
      return new QLabel(parent);
    case Kind::kEditBox:
      return new QLineEdit(parent);
    case Kind::kMultiLineEditBox:
      return CreateTextBox(parent, false);
    case Kind::kReadOnlyBox: {
      auto* box = new QLineEdit(parent);
      box->setReadOnly(true);
      return box;
    }
    case Kind::kReadOnlyMultiLine:
      return CreateTextBox(parent, true);
    case Kind::kDropDownList:
      return new QComboBox(parent);
    case Kind::kListView:
      return CreateListView(parent, columns, twips);
    case Kind::kCheckBox:
      return new QCheckBox(parent);
    case Kind::kTabStrip:
      return new QTabWidget(parent);
    case Kind::kComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(true);
      // The list holds the given entries only: typing neither adds entries nor completes them.
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setCompleter(nullptr);
      return combo;
    }
    case Kind::kPlainLabel:
      return new QLabel(parent);
    case Kind::kShownText: {
      auto* box = new QPlainTextEdit(parent);
      box->setReadOnly(true);
      // Long templates wrap; only a very long one needs to scroll, downwards.
      box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      box->setTabChangesFocus(true);
      return box;
    }
    case Kind::kPicture: {
      auto* image = new QLabel(parent);
      image->setPixmap(QPixmap(QStringLiteral(":/tolvex/option-picture-96.png")));
      image->setScaledContents(true);
      return image;
    }
  }
  return new QWidget(parent);
}

// The widget that takes the focus for a control (a combo box's own, say).
QWidget* FocusTarget(QWidget* widget) {
  return widget->focusProxy() != nullptr ? widget->focusProxy() : widget;
}

}  // namespace

QFont JapaneseUiFont(double point_size) {
  QFont font;
  QStringList families = {ToQString(layout::kFontFace)};
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

void SetControlText(QWidget* widget, const QString& text, Caret caret) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (combo->currentText() != text) combo->setEditText(text);
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
    if (box->toPlainText() != text) box->setPlainText(text);
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (line->text() == text) return;
    line->setText(text);
    if (caret == Caret::kStart) line->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->text() != text) {
      SetCaption(label, text, JapaneseUiFont(layout::FontPoints(layout::FontRole::kText)));
    }
  }
}

QString ControlText(const QWidget* widget) {
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  if (const auto* box = qobject_cast<const QPlainTextEdit*>(widget)) return box->toPlainText();
  if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return line->text();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  return {};
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TwipScale::TwipScale(const QScreen* screen)
    : pixels_per_twip_((screen != nullptr ? screen->logicalDotsPerInch() : 96.0) /
                       layout::kTwipsPerInch) {}

int TwipScale::Px(int twips) const { return qRound(twips * pixels_per_twip_); }

QRect TwipScale::Rect(const layout::TwipsRect& r) const {
  return {Px(r.left), Px(r.top), Px(r.width), Px(r.height)};
}

void BuildControls(std::span<const layout::Control> table, QWidget* window, const TwipScale& twips,
                   std::span<const layout::Column> columns, std::map<int, QWidget*>& controls) {
  for (const layout::Control& control : table) {
    QWidget* parent = control.parent == layout::kWindow ? window : controls.at(control.parent);
    QWidget* widget = CreateWidget(control.kind, parent, columns, twips);
    controls[control.id] = widget;
    widget->setObjectName(QString::fromLatin1(control.name));
    widget->setGeometry(twips.Rect(control.rect));
    const QFont font = control.font == layout::FontRole::kNone
                           ? QFont()
                           : JapaneseUiFont(layout::FontPoints(control.font));
    if (control.font != layout::FontRole::kNone) widget->setFont(font);
    const QString caption = QString::fromUtf8(control.caption);
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      button->setText(caption);
      button->setAutoDefault(false);
    }
    if (auto* box = qobject_cast<QCheckBox*>(widget)) box->setText(caption);
    // A tab strip's caption is its first tab's; the window adds the tabs.
    if (control.kind == Kind::kLabel) {
      auto* label = static_cast<QLabel*>(widget);
      // At the top of its box, as a dialog's static text is drawn: a line of the 12 point font
      // is taller than the table's labels, and centring would cut off the mnemonic's underline.
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setText(caption);
    }
    if (control.kind == Kind::kPlainLabel && !caption.isEmpty()) {
      const int room = layout::CaptionRoom(table, control);
      SetCaption(static_cast<QLabel*>(widget), caption, font,
                 room < control.rect.width ? twips.Px(room) : 0);
    }
    if (*control.accessible_name != '\0') {
      widget->setAccessibleName(QString::fromUtf8(control.accessible_name));
    }
    if (control.kind == Kind::kPanel) widget->raise();
  }
  const std::vector<const layout::Control*> order = layout::ByTabIndex(table);
  const std::vector<const layout::Control*> stops = layout::TabStops(table);
  for (std::size_t i = 1; i < stops.size(); ++i) {
    QWidget::setTabOrder(controls.at(stops[i - 1]->id), controls.at(stops[i]->id));
  }
  // A label's mnemonic goes to the tab stop after it; a label without a mnemonic shows an
  // ampersand as it is.
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i]->kind != Kind::kLabel || layout::Mnemonic(order[i]->caption) == 0) continue;
    auto* label = static_cast<QLabel*>(controls.at(order[i]->id));
    for (std::size_t next = i + 1; next < order.size(); ++next) {
      if (order[next]->tab_index < 0 || !layout::TakesFocus(order[next]->kind)) continue;
      QWidget* buddy = controls.at(order[next]->id);
      label->setBuddy(FocusTarget(buddy));
      // A screen reader reads the label's text for the control it names.
      if (buddy->accessibleName().isEmpty()) {
        buddy->setAccessibleName(ToQString(layout::ShownCaption(order[i]->caption)));
      }
      break;
    }
  }
}

void SetRows(QTreeWidget* list, const std::vector<std::vector<std::string>>& columns) {
  const std::size_t rows = columns.empty() ? 0 : columns.front().size();
  bool same = static_cast<std::size_t>(list->topLevelItemCount()) == rows;
  for (std::size_t row = 0; same && row < rows; ++row) {
    const QTreeWidgetItem* item = list->topLevelItem(static_cast<int>(row));
    for (std::size_t column = 0; same && column < columns.size(); ++column) {
      const std::string& text = row < columns[column].size() ? columns[column][row] : std::string();
      same = item->text(static_cast<int>(column)) == ToQString(text);
    }
  }
  if (same) return;
  list->clear();
  for (std::size_t row = 0; row < rows; ++row) {
    auto* item = new QTreeWidgetItem(list);
    for (std::size_t column = 0; column < columns.size(); ++column) {
      if (row < columns[column].size()) {
        item->setText(static_cast<int>(column), ToQString(columns[column][row]));
      }
    }
  }
}

int CurrentRow(const QTreeWidget* list) {
  const QTreeWidgetItem* item = list->currentItem();
  return item != nullptr ? list->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void SelectRow(QTreeWidget* list, int row) {
  if (row < 0 || row >= list->topLevelItemCount()) {
    list->setCurrentItem(nullptr);
    list->clearSelection();
    return;
  }
  if (CurrentRow(list) == row) return;
  QTreeWidgetItem* item = list->topLevelItem(row);
  list->setCurrentItem(item);
  list->scrollToItem(item);
}

void CentreOnScreen(QWidget* window) {
  const QScreen* where = window->screen();
  if (where == nullptr) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(where->availableGeometry().center());
  if (frame.topLeft() != window->frameGeometry().topLeft()) window->move(frame.topLeft());
}

TableDialog::TableDialog(const layout::Window& layout, std::span<const layout::Column> columns,
                         QWidget* parent)
    : QDialog(parent), layout_(layout) {
  const TwipScale twips(screen());
  setWindowTitle(ToQString(layout.caption));
  setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));
  BuildControls(layout.controls, this, twips, columns, controls_);
  if (auto* button = qobject_cast<QPushButton*>(controls_.at(layout.default_button))) {
    button->setDefault(true);
  }
  setFixedSize(twips.Px(layout.client_width), twips.Px(layout.client_height));
}

void TableDialog::ShowCentred() {
  CentreOnScreen(this);
  show();
  // The frame's size is known only once the window is shown; centre again with it.
  CentreOnScreen(this);
  FocusTarget(controls_.at(layout_.initial_focus))->setFocus(Qt::ActiveWindowFocusReason);
  activateWindow();
}

void TableDialog::RunModal() {
  setModal(true);
  FocusTarget(controls_.at(layout_.initial_focus))->setFocus(Qt::ActiveWindowFocusReason);
  exec();
}

void TableDialog::closeEvent(QCloseEvent* event) {
  // The unload is never refused.
  event->accept();
  if (unloaded_) return;
  unloaded_ = true;
  Unloaded();
  if (on_unloaded) on_unloaded();
}

}  // namespace tolvex::qt
