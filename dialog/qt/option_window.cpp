#include "dialog/qt/option_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>
#include <vector>

#include "dialog/maps_layout.h"
#include "dialog/option_layout.h"
#include "dialog/qt/form_builder.h"
#include "dialog/qt/map_editor_window.h"

namespace tolvex::qt {

using namespace option_layout;

OptionWindow::OptionWindow() { Build(); }

OptionWindow::~OptionWindow() = default;

void OptionWindow::Build() {
  const TwipScale twips(screen());

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
  BuildControls(kControls, client, twips, {}, controls_);
  auto* tabs = static_cast<QTabWidget*>(controls_.at(kOptionTab));
  tabs->addTab(new QWidget(tabs), ToQString(layout::FindControl(kControls, kOptionTab)->caption));
  tabs->addTab(new QWidget(tabs), ToQString(maps_layout::kTabCaption));

  auto* cancel = static_cast<QPushButton*>(controls_.at(kCancelButton));
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
  application_box_ = static_cast<QComboBox*>(controls_.at(kIdList));
  connect(application_box_, &QComboBox::activated, this, [this] { Send(&OptionEvents::OnPick); });

  BuildMapsTab(twips);
  QWidget::setTabOrder(controls_.at(layout::TabStops(kControls).back()->id),
                       controls_.at(layout::TabStops(maps_layout::kControls).front()->id));

  setFixedSize(sizeHint());
}

void OptionWindow::BuildMapsTab(const TwipScale& twips) {
  using namespace maps_layout;
  BuildControls(maps_layout::kControls, controls_.at(layout::kWindow), twips, kMapColumns,
                controls_);
  map_list_ = static_cast<QTreeWidget*>(controls_.at(kMapList));
  // Only the user's click reports a change of the check box; the logic's Show does not.
  ConnectClicks<OptionEvents>(kButtonEvents, controls_, this,
                              [this](auto handler) { Send(handler); });
  connect(map_list_, &QTreeWidget::itemDoubleClicked, this,
          [this] { Send(&OptionEvents::OnEditMap); });

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
  QWidget* shown = controls_.at(tab == 0 ? kOptionPanel : maps_layout::kMapsPanel);
  QWidget* hidden = controls_.at(tab == 0 ? maps_layout::kMapsPanel : kOptionPanel);
  const bool focus_was_hidden = hidden->isAncestorOf(QApplication::focusWidget());
  hidden->hide();
  shown->show();
  shown->raise();
  // The focus on the page that went away moves to the first control of the page shown.
  if (focus_was_hidden) {
    controls_.at(tab == 0 ? kIdList : maps_layout::kMapList)->setFocus(Qt::TabFocusReason);
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
  for (const FormText& text : kFormTexts) {
    SetControlText(controls_.at(text.control), ToQString(form.*text.field));
  }
  SetRows(map_list_, {form.ids, form.areas});
  SelectRow(map_list_, form.map_row);
  static_cast<QCheckBox*>(controls_.at(maps_layout::kAskBox))->setChecked(form.ask);
}

OptionForm OptionWindow::Read() const {
  OptionForm form;
  for (int i = 0; i < application_box_->count(); ++i) {
    form.ids.push_back(application_box_->itemText(i).toStdString());
  }
  for (const FormText& text : kFormTexts) {
    form.*text.field = ControlText(controls_.at(text.control)).toStdString();
  }
  for (int row = 0; row < map_list_->topLevelItemCount(); ++row) {
    form.areas.push_back(map_list_->topLevelItem(row)->text(1).toStdString());
  }
  form.map_row = CurrentRow(map_list_);
  form.ask = static_cast<const QCheckBox*>(controls_.at(maps_layout::kAskBox))->isChecked();
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
  MapEditorWindow editor(this);
  const std::unique_ptr<MapEditorEvents> logic = make_logic(editor);
  editor.Run(*logic);
}

std::optional<std::size_t> OptionWindow::ChooseItem(std::string_view title,
                                                    const std::vector<CatalogueRow>& rows) {
  return ChooseFromList(this, title, rows);
}

}  // namespace tolvex::qt
