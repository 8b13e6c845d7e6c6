#include "dialog/qt/map_editor_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "dialog/map_editor_layout.h"
#include "dialog/maps_layout.h"

namespace tolvex::qt {
namespace {

using namespace map_editor_layout;

// The catalogue chooser's dialog: OK picks the selected row.
class ItemChooserWindow final : public TableDialog {
 public:
  ItemChooserWindow(QWidget* parent, std::string_view title, const std::vector<CatalogueRow>& rows)
      : TableDialog(maps_layout::chooser::kWindowLayout, maps_layout::chooser::kColumns, parent) {
    namespace chooser = maps_layout::chooser;
    setObjectName(QStringLiteral("Chooser"));
    setWindowTitle(ToQString(title));
    std::vector<std::vector<std::string>> columns(2);
    for (const CatalogueRow& row : rows) {
      columns[0].push_back(row.id);
      columns[1].push_back(row.area);
    }
    auto* list = Control<QTreeWidget>(chooser::kItemList);
    SetRows(list, columns);
    SelectRow(list, 0);
    const auto pick = [this, list] {
      picked_ = CurrentRow(list);
      close();
    };
    connect(Control<QPushButton>(chooser::kOkButton), &QPushButton::clicked, this, pick);
    connect(list, &QTreeWidget::itemDoubleClicked, this, pick);
    connect(Control<QPushButton>(chooser::kCancelButton), &QPushButton::clicked, this,
            [this] { close(); });
  }

  std::optional<std::size_t> Pick() {
    RunModal();
    if (picked_ < 0) return std::nullopt;
    return static_cast<std::size_t>(picked_);
  }

 protected:
  void reject() override { close(); }
  void Unloaded() override {}

 private:
  int picked_ = -1;
};

}  // namespace

MapEditorWindow::MapEditorWindow(QWidget* parent) : TableDialog(kWindowLayout, {}, parent) {
  setObjectName(QStringLiteral("FrmMapEditor"));
  auto* datums = Control<QComboBox>(kDatumList);
  for (const std::string_view datum : kDatums) datums->addItem(ToQString(datum));
  const auto changed = [this] {
    if (!showing_) Send(&MapEditorEvents::OnChange);
  };
  for (const FormText& text : kFormTexts) {
    QWidget* field = controls_.at(text.control);
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
      connect(line, &QLineEdit::textChanged, this, changed);
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(field)) {
      connect(box, &QPlainTextEdit::textChanged, this, changed);
    }
  }
  connect(datums, &QComboBox::currentIndexChanged, this, changed);
  ConnectClicks<MapEditorEvents>(kButtonEvents, controls_, this,
                                 [this](auto handler) { Send(handler); });
}

void MapEditorWindow::Run(MapEditorEvents& events) {
  events_ = &events;
  events.OnLoad();
  if (!unloaded()) RunModal();
}

void MapEditorWindow::Send(void (MapEditorEvents::*handler)()) {
  if (events_ != nullptr && !unloaded()) (events_->*handler)();
}

void MapEditorWindow::Show(const MapEditorForm& form) {
  showing_ = true;
  for (const FormText& text : kFormTexts) {
    SetControlText(controls_.at(text.control), ToQString(form.option.*text.field), Caret::kEnd);
  }
  auto* datums = Control<QComboBox>(kDatumList);
  const int datum = datums->findText(ToQString(form.option.datum));
  if (datum >= 0 && datum != datums->currentIndex()) datums->setCurrentIndex(datum);
  SetControlText(controls_.at(kPreviewBox), ToQString(form.preview), Caret::kEnd);
  showing_ = false;
}

MapEditorForm MapEditorWindow::Read() const {
  MapEditorForm form;
  for (const FormText& text : kFormTexts) {
    form.option.*text.field = ControlText(controls_.at(text.control)).toStdString();
  }
  form.option.datum = Control<QComboBox>(kDatumList)->currentText().toStdString();
  form.preview = ControlText(controls_.at(kPreviewBox)).toStdString();
  return form;
}

void MapEditorWindow::ShowError(std::string_view text, std::string_view title) {
  ShowCriticalMessage(isVisible() ? this : parentWidget(), text, title);
}

void MapEditorWindow::Close() { close(); }

void MapEditorWindow::reject() { Send(&MapEditorEvents::OnCancel); }

void MapEditorWindow::Unloaded() {
  if (events_ != nullptr) events_->OnUnload();
}

std::optional<std::size_t> ChooseFromList(QWidget* parent, std::string_view title,
                                          const std::vector<CatalogueRow>& rows) {
  ItemChooserWindow chooser(parent, title, rows);
  return chooser.Pick();
}

}  // namespace tolvex::qt
