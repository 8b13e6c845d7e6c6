#include "app/linux/graphical_message_sink.h"

namespace tolvex {

void GraphicalMessageSink::ShowError(std::string_view text, std::string_view title) {
  // The line comes first: it stays the one record when no box can show.
  text_sink_.ShowError(text, title);
  if (UiModule* module = ui_.Get()) module->ShowError(text, title);
}

}  // namespace tolvex
