// Error messages for the user: a modal box with the stop icon and one OK button where a
// display is available; always also a line on standard error on Linux.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tolvex::platform {

// The program's name: the title of its message boxes and the prefix of its lines on standard
// error.
inline constexpr std::string_view kProgramTitle = "TolvexGateway";

// How a message quotes a text that came from a link, the option file or the system (a command
// line, a path): at most `max_characters` UTF-8 characters, followed by "…" when cut, and
// every control character (below U+0020, and U+007F) written as "%XX", so that a message stays
// short and never holds a line break or a NUL.
std::string QuoteForMessage(std::string_view text, std::size_t max_characters = 200);

// Writes "TolvexGateway: TEXT" and a line break to standard error.
void WriteToStandardError(std::string_view text);

class MessageSink {
 public:
  virtual ~MessageSink() = default;

  // Shows the message and returns once the user has dismissed it.
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
};

// This platform's messages: on Linux a line on standard error (WriteToStandardError) (and a box
// where a display and the UI module are available); on Windows a message box.
std::unique_ptr<MessageSink> CreateSystemMessageSink();

}  // namespace tolvex::platform
