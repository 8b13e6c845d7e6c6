// Builds a window's controls from its toolkit-free table (dialog/window_layout.h) in Qt 6
// Widgets: each control by its name (objectName), with its kind's widget, caption, twip
// geometry, font, the name a screen reader reads and the tab order; a label's mnemonic moves
// the focus to the control after it. Every window is built here: the option window and its
// Maps tab, the place card, the map editor and the catalogue chooser.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/window_layout.h"

class QScreen;
class QTreeWidget;
class QWidget;

namespace tolvex::qt {

QString ToQString(std::string_view text);

// The UI font: "MS UI Gothic" as asked for, then an installed Japanese-capable family for
// systems that lack it.
QFont JapaneseUiFont(double point_size);

// A modal critical box with one OK button; returns when dismissed.
void ShowCriticalMessage(QWidget* parent, std::string_view text, std::string_view title);

// Where a one-line box's caret goes when the text is set: to the start, so that a long text
// shows its beginning; or to the end, where the user types on.
enum class Caret { kStart, kEnd };

// Sets the text of a control, whatever widget shows it (a plain label's caption narrowed to fit
// as it is built); setting the text it already shows changes nothing.
void SetControlText(QWidget* widget, const QString& text, Caret caret = Caret::kStart);
QString ControlText(const QWidget* widget);

// Converts twips to pixels: 15 twips a pixel at 96 dpi, more on a screen whose logical DPI Qt
// has not already folded into its device pixel ratio.
class TwipScale {
 public:
  explicit TwipScale(const QScreen* screen);
  int Px(int twips) const;
  QRect Rect(const layout::TwipsRect& r) const;

 private:
  double pixels_per_twip_;
};

// Creates the controls of `table` on `window` (the parent of those whose parent is
// layout::kWindow; a panel of the table is the parent of its own) and adds them to `controls`
// by id, then chains the tab order of the table's tab stops. A list view gets `columns`.
void BuildControls(std::span<const layout::Control> table, QWidget* window, const TwipScale& twips,
                   std::span<const layout::Column> columns, std::map<int, QWidget*>& controls);

// Has a click on each button of `table` (among `controls`) call `send` with its event's handler.
template <class Events, class Send>
void ConnectClicks(std::span<const layout::ButtonEvent<Events>> table,
                   const std::map<int, QWidget*>& controls, QObject* receiver, Send send) {
  for (const layout::ButtonEvent<Events>& click : table) {
    if (click.button == 0) continue;
    QObject::connect(static_cast<QAbstractButton*>(controls.at(click.button)),
                     &QAbstractButton::clicked, receiver,
                     [send, handler = click.handler] { send(handler); });
  }
}

// Fills a list view with rows of `rows[column][row]` texts, unless it already shows them.
void SetRows(QTreeWidget* list, const std::vector<std::vector<std::string>>& columns);
// The selected row of a list view; -1 when none is.
int CurrentRow(const QTreeWidget* list);
void SelectRow(QTreeWidget* list, int row);

// Moves `window` (shown or about to be) into the centre of its screen.
void CentreOnScreen(QWidget* window);

// A dialog window built from a layout::Window: fixed client size, its caption and the
// program's icon, Enter on its default button, Esc on its cancel button. What the buttons do
// is the subclass's.
class TableDialog : public QDialog {
 public:
  TableDialog(const layout::Window& layout, std::span<const layout::Column> columns,
              QWidget* parent);

  template <typename W>
  W* Control(int id) const {
    return static_cast<W*>(controls_.at(id));
  }

  // Called once the dialog has closed in any way, after the unload event.
  std::function<void()> on_unloaded;
  bool unloaded() const { return unloaded_; }

 protected:
  // Shows the dialog centred on its screen, the focus on the layout's first control.
  void ShowCentred();
  // Shows the dialog modally over its parent, the focus on the layout's first control, and
  // returns once it has closed. The modality is set before the window is first shown: the X11
  // window would be made anew if it changed later.
  void RunModal();
  // The dialog has closed: the subclass reports the unload, then on_unloaded runs.
  virtual void Unloaded() = 0;
  void closeEvent(QCloseEvent* event) override;

  const layout::Window& layout_;
  std::map<int, QWidget*> controls_;

 private:
  bool unloaded_ = false;
};

}  // namespace tolvex::qt
