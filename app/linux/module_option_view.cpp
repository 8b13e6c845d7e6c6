#include "app/linux/module_option_view.h"

#include "dialog/ui_module_form.h"
#include "gateway/message_text.h"
#include "platform/message.h"

namespace tolvex {
namespace {

struct EditorRun {
  ModuleMapEditorView view;
  std::unique_ptr<MapEditorEvents> logic;
};

// The editor's events, handed to its logic over a view bound to the dialog that sent them.
void HandleEditorEvent(void* context, int event, TolvexUiEditor* editor,
                       const TolvexUiEditorOps* ops) {
  auto& run = *static_cast<EditorRun*>(context);
  run.view.Bind(editor, ops);
  MapEditorEvents& logic = *run.logic;
  switch (event) {
#define TOLVEX_EDITOR_EVENT(handler, name, button) \
  case TOLVEX_UI_EDITOR_##name:                    \
    return logic.handler();
    TOLVEX_EDITOR_EVENTS(TOLVEX_EDITOR_EVENT)
#undef TOLVEX_EDITOR_EVENT
    default:
      return;
  }
}

}  // namespace

void ModuleOptionView::Show(const OptionForm& form) { ops_->show(window_, UiFormView(form).get()); }

OptionForm ModuleOptionView::Read() const {
  OptionForm form;
  ops_->read(
      window_,
      [](void* context, const TolvexUiForm* received) {
        *static_cast<OptionForm*>(context) = OptionFormOf(*received);
      },
      &form);
  return form;
}

void ModuleOptionView::ShowError(std::string_view text, std::string_view title) {
  platform::WriteToStandardError(kProgramTitle, text);
  ops_->show_error(window_, UiText(text), UiText(title));
}

void ModuleOptionView::Close() { ops_->close(window_); }

void ModuleOptionView::RunMapEditor(
    const std::function<std::unique_ptr<MapEditorEvents>(MapEditorView&)>& make_logic) {
  EditorRun run;
  run.logic = make_logic(run.view);
  // The option window's own binding is restored for what its handler does next.
  TolvexUiWindow* const window = window_;
  const TolvexUiWindowOps* const ops = ops_;
  ops_->run_map_editor(window_, HandleEditorEvent, &run);
  Bind(window, ops);
}

std::optional<std::size_t> ModuleOptionView::ChooseItem(std::string_view title,
                                                        const std::vector<CatalogueRow>& rows) {
  const std::vector<TolvexUiCatalogueRow> ui = UiCatalogueRows(rows);
  const ptrdiff_t picked = ops_->choose_item(window_, UiText(title), ui.data(), ui.size());
  if (picked < 0 || static_cast<std::size_t>(picked) >= rows.size()) return std::nullopt;
  return static_cast<std::size_t>(picked);
}

void ModuleMapEditorView::Show(const MapEditorForm& form) {
  const TolvexUiEditorForm ui = UiEditorForm(form);
  ops_->show(editor_, &ui);
}

MapEditorForm ModuleMapEditorView::Read() const {
  MapEditorForm form;
  ops_->read(
      editor_,
      [](void* context, const TolvexUiEditorForm* received) {
        *static_cast<MapEditorForm*>(context) = MapEditorFormOf(*received);
      },
      &form);
  return form;
}

void ModuleMapEditorView::ShowError(std::string_view text, std::string_view title) {
  platform::WriteToStandardError(kProgramTitle, text);
  ops_->show_error(editor_, UiText(text), UiText(title));
}

void ModuleMapEditorView::Close() { ops_->close(editor_); }

}  // namespace tolvex
