#include <iostream>

#include "platform/message.h"

namespace tolvex::platform {
namespace {

class StderrMessageSink final : public MessageSink {
 public:
  void ShowError(std::string_view text, std::string_view title) override {
    std::cerr << title << ": " << text << std::endl;
  }
};

}  // namespace

std::unique_ptr<MessageSink> CreateSystemMessageSink() {
  return std::make_unique<StderrMessageSink>();
}

}  // namespace tolvex::platform
