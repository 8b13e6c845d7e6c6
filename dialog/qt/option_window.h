// The option window in Qt 6 Widgets, built from the form's table (dialog/option_layout.h): each
// control by its name (objectName), with its caption, twip geometry, font and tab order. It
// only shows what the logic sets and forwards the user's actions as OptionEvents.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <functional>
#include <map>
#include <string_view>

#include "dialog/option_view.h"

class QComboBox;
class QString;
class QWidget;

namespace tolvex::qt {

class OptionWindow final : public QMainWindow, public OptionView {
 public:
  OptionWindow();
  ~OptionWindow() override;
  OptionWindow(const OptionWindow&) = delete;
  OptionWindow& operator=(const OptionWindow&) = delete;

  // Runs window load through `events`, then shows the window centred on its screen. Events
  // go to `events` until the window has been unloaded (closed).
  void Open(OptionEvents& events);
  bool unloaded() const { return unloaded_; }
  // Called once, after the unload event.
  std::function<void()> on_unloaded;

  // OptionView
  void Show(const OptionForm& form) override;
  OptionForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  void CentreOnScreen();
  void Unload();
  void Send(void (OptionEvents::*handler)());
  // The text of the control `id`, whatever widget shows it; setting the text it already shows
  // changes nothing.
  void SetControlText(int id, const QString& text);
  QString ControlText(int id) const;

  QFont text_font_;
  OptionEvents* events_ = nullptr;
  bool unloaded_ = false;
  std::map<int, QWidget*> controls_;  // by the ids of the form's table
  QComboBox* application_box_ = nullptr;
};

// A modal critical box with one OK button; returns when dismissed.
void ShowCriticalMessage(QWidget* parent, std::string_view text, std::string_view title);

// The UI font: "MS UI Gothic" as asked for, then an installed Japanese-capable family for
// systems that lack it.
QFont JapaneseUiFont(double point_size);

}  // namespace tolvex::qt
