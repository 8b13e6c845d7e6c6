#include "dialog/qt/place_card_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <cstddef>
#include <iterator>

#include "dialog/place_card_layout.h"

namespace tolvex::qt {
namespace {

using namespace place_card_layout;

}  // namespace

PlaceCardWindow::PlaceCardWindow() : TableDialog(kWindowLayout, kMapColumns, nullptr) {
  setObjectName(QStringLiteral("FrmPlaceCard"));
  maps_ = Control<QTreeWidget>(kMapList);
  // What the user types or pastes is read at once; the card's own writing of the box is not.
  connect(Control<QLineEdit>(kPlaceBox), &QLineEdit::textEdited, this,
          [this] { Send(&PlaceCardEvents::OnPlaceChange); });
  connect(maps_, &QTreeWidget::itemDoubleClicked, this, [this] { Send(&PlaceCardEvents::OnOpen); });
  ConnectClicks<PlaceCardEvents>(kButtonEvents, controls_, this,
                                 [this](auto handler) { Send(handler); });
  // Wherever the focus is, Ctrl+C copies the coordinates and Ctrl+Shift+C the selected map's
  // link; the menu names the keys beside its items.
  auto* copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), this);
  connect(copy, &QShortcut::activated, this, [this] { Send(&PlaceCardEvents::OnCopyCoordinates); });
  auto* copy_link = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
  connect(copy_link, &QShortcut::activated, this,
          [this] { Send(&PlaceCardEvents::OnCopyMapLink); });
  QMenu* menu = Control<QPushButton>(kCopyButton)->menu();
  for (std::size_t i = 0; i < std::size(kCopyLabels); ++i) {
    QString text = ToQString(kCopyLabels[i].label);
    if (!kCopyLabels[i].shortcut.empty()) text += '\t' + ToQString(kCopyLabels[i].shortcut);
    QAction* item = menu->addAction(text);
    item->setObjectName(QStringLiteral("copy_") + ToQString(kCopyLabels[i].name));
    connect(item, &QAction::triggered, this, [this, i] { Send(&PlaceCardEvents::OnCopy, i); });
  }
}

void PlaceCardWindow::Open(PlaceCardEvents& events) {
  events_ = &events;
  events.OnLoad();
  if (unloaded()) return;
  ShowCentred();
  // Without a text, the Place box waits for one.
  if (Control<QLineEdit>(kPlaceBox)->text().isEmpty()) Control<QLineEdit>(kPlaceBox)->setFocus();
}

void PlaceCardWindow::Show(const PlaceCardForm& form) {
  for (const FormText& text : kFormTexts) {
    SetControlText(Control<QLineEdit>(text.control), ToQString(form.*text.field));
  }
  SetRows(maps_, {form.ids, form.areas});
  SelectRow(maps_, static_cast<int>(form.selected));
  Control<QCheckBox>(kKeepOpenBox)->setChecked(form.keep_open);
  Control<QCheckBox>(kAlwaysBox)->setChecked(form.always);
  Control<QPushButton>(kOpenButton)->setEnabled(form.can_open);
  Control<QPushButton>(kCopyButton)->setEnabled(form.can_open);
  // The copy items are the menu's; their labels come from the same table as the logic's.
  const QList<QAction*> items = Control<QPushButton>(kCopyButton)->menu()->actions();
  for (qsizetype i = 0; i < items.size(); ++i) {
    items[i]->setEnabled(static_cast<std::size_t>(i) < form.copy_labels.size());
  }
}

PlaceCardForm PlaceCardWindow::Read() const {
  PlaceCardForm form;
  for (const FormText& text : kFormTexts) {
    form.*text.field = Control<QLineEdit>(text.control)->text().toStdString();
  }
  for (int row = 0; row < maps_->topLevelItemCount(); ++row) {
    form.ids.push_back(maps_->topLevelItem(row)->text(0).toStdString());
    form.areas.push_back(maps_->topLevelItem(row)->text(1).toStdString());
  }
  const int row = CurrentRow(maps_);
  // No selection reads as one past the list: nothing to open.
  form.selected = row >= 0 ? static_cast<std::size_t>(row) : form.ids.size();
  form.keep_open = Control<QCheckBox>(kKeepOpenBox)->isChecked();
  form.always = Control<QCheckBox>(kAlwaysBox)->isChecked();
  form.can_open = Control<QPushButton>(kOpenButton)->isEnabled();
  return form;
}

void PlaceCardWindow::ShowError(std::string_view text, std::string_view title) {
  // During load the card is not shown yet: the box centres on the screen instead.
  ShowCriticalMessage(isVisible() ? this : nullptr, text, title);
}

void PlaceCardWindow::CopyText(std::string_view text) {
  QGuiApplication::clipboard()->setText(ToQString(text), QClipboard::Clipboard);
}

std::string PlaceCardWindow::ClipboardText() const {
  return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
}

void PlaceCardWindow::Close() { close(); }

void PlaceCardWindow::reject() { Send(&PlaceCardEvents::OnCancel); }

void PlaceCardWindow::Unloaded() {
  if (events_ != nullptr) events_->OnUnload();
}

}  // namespace tolvex::qt
