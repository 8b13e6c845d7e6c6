#include "dialog/qt/window_bridge.h"

#include <optional>
#include <string>
#include <vector>

#include "dialog/qt/map_editor_window.h"
#include "dialog/ui_module_form.h"

namespace tolvex::qt {
namespace {

OptionWindow* WindowOf(TolvexUiWindow* window) { return reinterpret_cast<OptionWindow*>(window); }

void ShowForm(TolvexUiWindow* window, const TolvexUiForm* form) {
  WindowOf(window)->Show(OptionFormOf(*form));
}

void ReadForm(TolvexUiWindow* window, void (*receive)(void*, const TolvexUiForm*), void* context) {
  const OptionForm form = WindowOf(window)->Read();
  receive(context, UiFormView(form).get());
}

void ShowErrorOver(TolvexUiWindow* window, TolvexUiText text, TolvexUiText title) {
  WindowOf(window)->ShowError(UiView(text), UiView(title));
}

void CloseWindow(TolvexUiWindow* window) { WindowOf(window)->Close(); }

// The map editor's operations, each on the MapEditorWindow behind the TolvexUiEditor.
MapEditorWindow* EditorOf(TolvexUiEditor* editor) {
  return reinterpret_cast<MapEditorWindow*>(editor);
}

void ShowEditorForm(TolvexUiEditor* editor, const TolvexUiEditorForm* form) {
  EditorOf(editor)->Show(MapEditorFormOf(*form));
}

void ReadEditorForm(TolvexUiEditor* editor, void (*receive)(void*, const TolvexUiEditorForm*),
                    void* context) {
  const MapEditorForm form = EditorOf(editor)->Read();
  const TolvexUiEditorForm ui = UiEditorForm(form);
  receive(context, &ui);
}

void ShowErrorOverEditor(TolvexUiEditor* editor, TolvexUiText text, TolvexUiText title) {
  EditorOf(editor)->ShowError(UiView(text), UiView(title));
}

void CloseEditor(TolvexUiEditor* editor) { EditorOf(editor)->Close(); }

constexpr TolvexUiEditorOps kEditorOps = {ShowEditorForm, ReadEditorForm, ShowErrorOverEditor,
                                          CloseEditor};

// Hands the editor's events to the gateway's handler.
class EditorBridge final : public MapEditorEvents {
 public:
  EditorBridge(TolvexUiEditorHandler handler, void* context, MapEditorWindow& editor)
      : handler_(handler), context_(context), editor_(editor) {}
#define TOLVEX_EDITOR_EVENT(handler, name, button) \
  void handler() override { Send(TOLVEX_UI_EDITOR_##name); }
  TOLVEX_EDITOR_EVENTS(TOLVEX_EDITOR_EVENT)
#undef TOLVEX_EDITOR_EVENT

 private:
  void Send(int event) {
    handler_(context_, event, reinterpret_cast<TolvexUiEditor*>(&editor_), &kEditorOps);
  }
  TolvexUiEditorHandler handler_;
  void* context_;
  MapEditorWindow& editor_;
};

void RunMapEditorOver(TolvexUiWindow* window, TolvexUiEditorHandler handler, void* context) {
  WindowOf(window)->RunMapEditor([&](MapEditorView& view) -> std::unique_ptr<MapEditorEvents> {
    return std::make_unique<EditorBridge>(handler, context, static_cast<MapEditorWindow&>(view));
  });
}

ptrdiff_t ChooseItemOver(TolvexUiWindow* window, TolvexUiText title,
                         const TolvexUiCatalogueRow* rows, size_t row_count) {
  const std::optional<std::size_t> picked =
      WindowOf(window)->ChooseItem(UiView(title), CatalogueRowsOf(rows, row_count));
  return picked ? static_cast<ptrdiff_t>(*picked) : -1;
}

// The place card's operations, each on the PlaceCardWindow behind the TolvexUiCard.
PlaceCardWindow* CardOf(TolvexUiCard* card) { return reinterpret_cast<PlaceCardWindow*>(card); }

void ShowCardForm(TolvexUiCard* card, const TolvexUiCardForm* form) {
  CardOf(card)->Show(PlaceCardFormOf(*form));
}

void ReadCardForm(TolvexUiCard* card, void (*receive)(void*, const TolvexUiCardForm*),
                  void* context) {
  const PlaceCardForm form = CardOf(card)->Read();
  receive(context, UiCardFormView(form).get());
}

void ShowErrorOverCard(TolvexUiCard* card, TolvexUiText text, TolvexUiText title) {
  CardOf(card)->ShowError(UiView(text), UiView(title));
}

void CopyFromCard(TolvexUiCard* card, TolvexUiText text) { CardOf(card)->CopyText(UiView(text)); }

void CloseCard(TolvexUiCard* card) { CardOf(card)->Close(); }

void CardClipboardText(TolvexUiCard* card, void (*receive)(void*, TolvexUiText), void* context) {
  const std::string text = CardOf(card)->ClipboardText();
  receive(context, UiText(text));
}

constexpr TolvexUiCardOps kCardOps = {ShowCardForm, ReadCardForm, ShowErrorOverCard,
                                      CopyFromCard, CloseCard,    CardClipboardText};

}  // namespace

constexpr TolvexUiWindowOps kWindowOps = {ShowForm,    ReadForm,         ShowErrorOver,
                                          CloseWindow, RunMapEditorOver, ChooseItemOver};

void EventBridge::Send(int event) {
  handler_(context_, event, reinterpret_cast<TolvexUiWindow*>(&window_), &kWindowOps);
}

void CardBridge::Send(int event, std::size_t item) {
  handler_(context_, event, item, reinterpret_cast<TolvexUiCard*>(&card_), &kCardOps);
}

}  // namespace tolvex::qt
