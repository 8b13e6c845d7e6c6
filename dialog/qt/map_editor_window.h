// The map editor and the catalogue chooser in Qt 6 Widgets, built from their tables
// (dialog/map_editor_layout.h, dialog/maps_layout.h), both modal over the option window. The
// editor only shows what FrmMapEditor sets and forwards the user's actions: each keystroke in
// a field (the preview follows), "&Try", OK (Enter outside the template) and Cancel (Esc).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/map_editor.h"
#include "dialog/option_view.h"
#include "dialog/qt/form_builder.h"

class QWidget;

namespace tolvex::qt {

class MapEditorWindow final : public TableDialog, public MapEditorView {
 public:
  explicit MapEditorWindow(QWidget* parent);

  // Runs the editor's load through `events`, then shows the dialog modally and returns once it
  // has closed.
  void Run(MapEditorEvents& events);

  // MapEditorView
  void Show(const MapEditorForm& form) override;
  MapEditorForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;

 protected:
  void reject() override;  // Esc
  void Unloaded() override;

 private:
  void Send(void (MapEditorEvents::*handler)());

  MapEditorEvents* events_ = nullptr;
  bool showing_ = false;  // the logic's own changes to the fields report no change
};

// The catalogue chooser: a modal list of `rows` over `parent`; the index of the row picked with
// OK, Enter or a double-click; nullopt after Cancel or Esc.
std::optional<std::size_t> ChooseFromList(QWidget* parent, std::string_view title,
                                          const std::vector<CatalogueRow>& rows);

}  // namespace tolvex::qt
