// Error messages for the user: a modal box with the stop icon and one OK button where a
// display is available; always also a line on standard error on Linux.
#pragma once

#include <memory>
#include <string_view>

namespace tolvex::platform {

class MessageSink {
 public:
  virtual ~MessageSink() = default;

  // Shows the message and returns once the user has dismissed it.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
};

}  // namespace tolvex::platform
