// The views that the dialog logic talks to in the gateway, for the option window and the map
// editor it opens: each call crosses the UI module's C boundary into the module's window.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "dialog/map_editor.h"
#include "dialog/option_view.h"
#include "dialog/ui_module_abi.h"

namespace tolvex {

class ModuleOptionView final : public OptionView {
 public:
  // The window and its operations are bound afresh for every event the module sends.
  void Bind(TolvexUiWindow* window, const TolvexUiWindowOps* ops) {
    window_ = window;
    ops_ = ops;
  }

  void Show(const OptionForm& form) override;
  OptionForm Read() const override;
  // Also a line on standard error, as every message of the program.
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;
  void RunMapEditor(
      const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) override;
  std::optional<std::size_t> ChooseItem(std::string_view title,
                                        const std::vector<CatalogueRow>& rows) override;

 private:
  TolvexUiWindow* window_ = nullptr;
  const TolvexUiWindowOps* ops_ = nullptr;
};

class ModuleMapEditorView final : public MapEditorView {
 public:
  // Bound afresh for every event the module's editor sends.
  void Bind(TolvexUiEditor* editor, const TolvexUiEditorOps* ops) {
    editor_ = editor;
    ops_ = ops;
  }

  void Show(const MapEditorForm& form) override;
  MapEditorForm Read() const override;
  // Also a line on standard error, as every message of the program.
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;

 private:
  TolvexUiEditor* editor_ = nullptr;
  const TolvexUiEditorOps* ops_ = nullptr;
};

}  // namespace tolvex
