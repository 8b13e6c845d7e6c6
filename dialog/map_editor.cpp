#include "dialog/map_editor.h"

#include <string>
#include <utility>

#include "gateway/command_template.h"
#include "gateway/option_save.h"
#include "gateway/option_store.h"
#include "platform/message.h"

namespace tolvex {
namespace {

// Try's messages come over the editor, which stays open.
class EditorMessages final : public platform::MessageSink {
 public:
  explicit EditorMessages(MapEditorView& view) : view_(view) {}
  void ShowError(std::string_view text, std::string_view title) override {
    view_.ShowError(text, title);
  }

 private:
  MapEditorView& view_;
};

}  // namespace

FrmMapEditor::FrmMapEditor(MapEditorView& view, FrmMapEditorServices services)
    : view_(view), services_(std::move(services)) {}

MapEditorForm FrmMapEditor::FormFor(MapOption option) const {
  MapEditorForm form;
  form.preview = ExpandCommandTemplate(services_.place, CommandOptionOf(option),
                                       services_.gateway->decimal_separator);
  form.option = std::move(option);
  return form;
}

MapOption FrmMapEditor::Typed() const {
  MapOption option = view_.Read().option;
  // A datum the file spelt otherwise ("", "WGS84") stays as it was unless the user picked
  // another one: the save changes only what the user changed.
  if (option.datum == ShownDatum(services_.initial.datum)) option.datum = services_.initial.datum;
  return option;
}

void FrmMapEditor::OnLoad() {
  MapOption shown = services_.initial;
  shown.datum = ShownDatum(shown.datum);
  view_.Show(FormFor(std::move(shown)));
}

void FrmMapEditor::OnChange() {
  if (unloaded_) return;
  view_.Show(FormFor(view_.Read().option));
}

void FrmMapEditor::OnTry() {
  if (unloaded_) return;
  const MapOption option = Typed();
  // What OK would refuse in the template or the zoom is not tried either; the id does not
  // matter for a try.
  MapOption checked = option;
  checked.id = "try";
  const std::string refusal = CheckMapOption(checked, {}, std::nullopt);
  if (!refusal.empty()) {
    view_.ShowError(refusal, kOptionErrorTitle);
    return;
  }
  EditorMessages messages(view_);
  GatewayServices gateway = *services_.gateway;
  gateway.messages = &messages;
  OpenLocation(services_.place, CommandOptionOf(option), gateway);
}

void FrmMapEditor::OnOk() {
  if (unloaded_) return;
  const MapOption option = Typed();
  const std::string refusal = CheckMapOption(option, services_.options, services_.index);
  if (!refusal.empty()) {
    view_.ShowError(refusal, kOptionErrorTitle);
    return;
  }
  if (services_.accept) services_.accept(option);
  view_.Close();
}

void FrmMapEditor::OnCancel() {
  if (!unloaded_) view_.Close();
}

void FrmMapEditor::OnUnload() { unloaded_ = true; }

}  // namespace tolvex
