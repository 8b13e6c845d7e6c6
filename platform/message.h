// Error messages for the user: a modal box with the stop icon and one OK button where a
// display is available; always also a line on standard error on Linux.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tolvex::platform {

// Writes "PROGRAM: TEXT" and a line break to standard error.
void WriteToStandardError(std::string_view program, std::string_view text);

class MessageSink {
 public:
  virtual ~MessageSink() = default;

  // Shows the message and returns once the user has dismissed it.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
};

// This platform's messages: on Linux a line on standard error, "TITLE: TEXT" (the program adds a
// box where a display and the UI module are available); on Windows a message box.
std::unique_ptr<MessageSink> CreateSystemMessageSink();

}  // namespace tolvex::platform
