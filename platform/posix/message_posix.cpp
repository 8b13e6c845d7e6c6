#include "platform/message.h"

namespace tolvex::platform {
namespace {

class StderrMessageSink final : public MessageSink {
 public:
  // The line begins with what a box would be titled: the program's name for every message of
  // a run.
  void ShowError(std::string_view text, std::string_view title) override {
    WriteToStandardError(title, text);
  }
};

}  // namespace

std::unique_ptr<MessageSink> CreateSystemMessageSink() {
  return std::make_unique<StderrMessageSink>();
}

}  // namespace tolvex::platform
