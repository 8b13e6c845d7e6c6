#include "app/linux/place_card.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/linux/display_probe.h"
#include "dialog/ui_module_form.h"
#include "gateway/gateway.h"
#include "gateway/message_text.h"
#include "platform/message.h"

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
#define TOLVEX_CARD_EVENT(handler, name, param) \
  case TOLVEX_UI_CARD_##name:                   \
    return logic.handler(TOLVEX_CARD_EVENT_ARG_##param);
    TOLVEX_CARD_EVENTS(TOLVEX_CARD_EVENT)
#undef TOLVEX_CARD_EVENT
    default:
      return;
  }
}

void Answer(int fd, int answer) {
  // Fewer bytes than PIPE_BUF: written whole or not at all.
  while (::write(fd, &answer, sizeof answer) < 0 && errno == EINTR) {
  }
  ::close(fd);
}

// The standard streams go to /dev/null and the process leaves the caller's session, so that a
// caller reading the streams to their end, or a terminal closing, does not wait on it.
void LetGoOfTheCaller() {
  const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null >= 0) {
    for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
    ::close(null);
  }
  ::setsid();
}

// The child's whole run; it ends with ::_exit, never returning into the caller's code.
[[noreturn]] void RunInChild(UiLoader& ui, FrmPlaceCardServices services, int answer_fd) {
  UiModule* module = ui.Get();
  if (module == nullptr) {
    if (!ui.failure().empty()) {
      platform::WriteToStandardError(kProgramTitle,
                                     "the place card cannot be shown: " + ui.failure());
    }
    Answer(answer_fd, kNoCard);
    ::_exit(0);
  }
  CardRun run;
  run.logic = std::make_unique<FrmPlaceCard>(run.view, std::move(services));
  if (!module->RunPlaceCard(HandleCardEvent, &run)) {
    Answer(answer_fd, kNoCard);
    ::_exit(0);
  }
  const int status = run.logic->exit_status();
  std::fflush(nullptr);
  LetGoOfTheCaller();
  Answer(answer_fd, status);
  if (module->ClipboardNeedsOwner()) {
    // The maps opened from the card are this process's children; none is left a zombie while
    // it serves.
    ::signal(SIGCHLD, SIG_IGN);
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    module->ServeClipboard();
  }
  ui.ShutDown();
  ::_exit(status);
}

}  // namespace

std::optional<int> ChooseMapOnCard(UiLoader& ui, FrmPlaceCardServices services) {
  if (!DisplayNamed()) return std::nullopt;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(ends[0]);
    RunInChild(ui, std::move(services), ends[1]);
  }
  ::close(ends[1]);
  int answer = 0;
  ssize_t got;
  while ((got = ::read(ends[0], &answer, sizeof answer)) < 0 && errno == EINTR) {
  }
  ::close(ends[0]);
  if (got == static_cast<ssize_t>(sizeof answer) && answer != kNoCard) {
    // The child may serve the clipboard on; it is not waited for.
    return answer;
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (got == static_cast<ssize_t>(sizeof answer)) return std::nullopt;
  // The child ended without answering (the display was lost under the card): its status.
  return WIFEXITED(status) ? WEXITSTATUS(status) : kExitMessage;
}

}  // namespace tolvex
