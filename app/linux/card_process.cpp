#include "app/linux/card_process.h"

#include <memory>
#include <utility>

#include "app/linux/display_named.h"
#include "dialog/ui_module_form.h"
#include "gateway/gateway.h"
#include "gateway/message_text.h"
#include "platform/message.h"
#include "platform/posix/answering_child_posix.h"

namespace tolvex {
namespace {

// The child's answer when no card could be shown.
constexpr int kNoCard = -1;

class ModulePlaceCardView final : public PlaceCardView {
 public:
  // Bound afresh for every event the module's card sends.
  void Bind(TolvexUiCard* card, const TolvexUiCardOps* ops) {
    card_ = card;
    ops_ = ops;
  }

  void Show(const PlaceCardForm& form) override { ops_->show(card_, UiCardFormView(form).get()); }

  PlaceCardForm Read() const override {
    PlaceCardForm form;
    ops_->read(
        card_,
        [](void* context, const TolvexUiCardForm* received) {
          *static_cast<PlaceCardForm*>(context) = PlaceCardFormOf(*received);
        },
        &form);
    return form;
  }

  // Also a line on standard error, as every message of the program.
  void ShowError(std::string_view text, std::string_view title) override {
    platform::WriteToStandardError(kProgramTitle, text);
    ops_->show_error(card_, UiText(text), UiText(title));
  }

  void CopyText(std::string_view text) override { ops_->copy_text(card_, UiText(text)); }
  std::string ClipboardText() const override {
    std::string text;
    ops_->clipboard_text(
        card_,
        [](void* context, TolvexUiText received) {
          *static_cast<std::string*>(context) = std::string(UiView(received));
        },
        &text);
    return text;
  }
  void Close() override { ops_->close(card_); }

 private:
  TolvexUiCard* card_ = nullptr;
  const TolvexUiCardOps* ops_ = nullptr;
};

struct CardRun {
  ModulePlaceCardView view;
  std::unique_ptr<FrmPlaceCard> logic;
};

void HandleCardEvent(void* context, int event, size_t item, TolvexUiCard* card,
                     const TolvexUiCardOps* ops) {
  auto& run = *static_cast<CardRun*>(context);
  run.view.Bind(card, ops);
  PlaceCardEvents& logic = *run.logic;
  switch (event) {
#define TOLVEX_CARD_EVENT(handler, name, param, button) \
  case TOLVEX_UI_CARD_##name:                           \
    return logic.handler(TOLVEX_CARD_EVENT_ARG_##param);
    TOLVEX_CARD_EVENTS(TOLVEX_CARD_EVENT)
#undef TOLVEX_CARD_EVENT
    default:
      return;
  }
}

// The child's whole run; its exit status.
int RunInChild(UiLoader& ui, FrmPlaceCardServices services, platform::posix::AnswerPipe& pipe) {
  UiModule* module = ui.Get();
  if (module == nullptr) {
    if (!ui.failure().empty()) {
      platform::WriteToStandardError(kProgramTitle,
                                     "the place card cannot be shown: " + ui.failure());
    }
    pipe.Answer(kNoCard);
    return 0;
  }
  CardRun run;
  run.logic = std::make_unique<FrmPlaceCard>(run.view, std::move(services));
  if (!module->RunPlaceCard(HandleCardEvent, &run)) {
    pipe.Answer(kNoCard);
    return 0;
  }
  const int status = run.logic->exit_status();
  platform::posix::LetGoOfTheCaller();
  pipe.Answer(status);
  if (module->ClipboardNeedsOwner()) {
    // The maps opened from the card are this process's children; none is left a zombie while
    // it serves.
    platform::posix::ReapChildrenFromNowOn();
    module->ServeClipboard();
  }
  ui.ShutDown();
  return status;
}

}  // namespace

std::optional<int> ChooseMapOnCard(UiLoader& ui, FrmPlaceCardServices services) {
  if (!DisplayNamed()) return std::nullopt;
  auto child = platform::posix::AnsweringChild::Start(
      [&](platform::posix::AnswerPipe& pipe) { return RunInChild(ui, std::move(services), pipe); });
  if (!child) return std::nullopt;
  const std::optional<int> answer = child->ReadAnswer();
  // The child may serve the clipboard on; it is not waited for.
  if (answer && *answer != kNoCard) return answer;
  const int status = child->WaitForExit(kExitMessage);
  if (answer) return std::nullopt;
  // The child ended without answering (the display was lost under the card): its status.
  return status;
}

}  // namespace tolvex
