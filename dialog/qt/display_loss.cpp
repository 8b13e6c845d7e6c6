#include "dialog/qt/display_loss.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "gateway/message_text.h"

namespace tolvex::qt {
namespace {

bool ui_is_up = false;
std::string lost_display_message;

void EndWhenTheDisplayWasLost() {
  if (!ui_is_up) return;
  (void)!::write(STDERR_FILENO, lost_display_message.data(), lost_display_message.size());
  ::_exit(1);
}

}  // namespace

UiUp::UiUp() : was_up_(ui_is_up) {
  if (lost_display_message.empty()) {
    lost_display_message = std::string(kProgramTitle) + ": the display was lost\n";
  }
  std::atexit(EndWhenTheDisplayWasLost);
  ui_is_up = true;
}

UiUp::~UiUp() { ui_is_up = was_up_; }

}  // namespace tolvex::qt
