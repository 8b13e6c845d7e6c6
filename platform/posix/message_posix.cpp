#include "platform/message.h"

namespace tolvex::platform {
namespace {

class StderrMessageSink final : public MessageSink {
 public:
  // A line on standard error always names the program, whatever a box would be titled.
  void ShowError(std::string_view text, std::string_view /*title*/) override {
    WriteToStandardError(text);
  }
};

}  // namespace

std::unique_ptr<MessageSink> CreateSystemMessageSink() {
  return std::make_unique<StderrMessageSink>();
}

}  // namespace tolvex::platform
