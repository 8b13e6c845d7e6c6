#include <cstdio>

#include "platform/message.h"

namespace tolvex::platform {
namespace {

class StderrMessageSink final : public MessageSink {
 public:
  void ShowError(std::string_view text, std::string_view title) override {
    // stdio rather than iostream: the gateway starts once per link, and iostream's static
    // set-up costs more than the rest of a request's text handling.
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
};

}  // namespace

std::unique_ptr<MessageSink> CreateSystemMessageSink() {
  return std::make_unique<StderrMessageSink>();
}

}  // namespace tolvex::platform
