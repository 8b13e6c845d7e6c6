// The option window in Qt 6 Widgets, built from the form's table (dialog/option_layout.h) and
// its second tab, "Maps", from dialog/maps_layout.h, by the builder of every window
// (dialog/qt/form_builder.h). It only shows what the logic sets and forwards
// the user's actions as OptionEvents; the map editor and the catalogue chooser open over it.
#pragma once

#include <QMainWindow>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/option_view.h"

class QComboBox;
class QString;
class QTreeWidget;
class QWidget;

namespace tolvex::qt {

class TwipScale;

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
  void RunMapEditor(
      const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) override;
  std::optional<std::size_t> ChooseItem(std::string_view title,
                                        const std::vector<CatalogueRow>& rows) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  // The second tab, "Maps": its panel over the tab strip's page, its list, buttons and check
  // box, and the switching of the tabs.
  void BuildMapsTab(const TwipScale& twips);
  void ShowTab(int tab);
  void Unload();
  void Send(void (OptionEvents::*handler)());
  OptionEvents* events_ = nullptr;
  bool unloaded_ = false;
  std::map<int, QWidget*> controls_;  // by the ids of the form's table
  QComboBox* application_box_ = nullptr;
  QTreeWidget* map_list_ = nullptr;
};

}  // namespace tolvex::qt
