#include "platform/command_line.h"

#include "platform/text.h"

namespace tolvex::platform {

std::string_view ArgumentTextOfCommandLine(std::string_view command_line) {
  std::size_t end_of_name = 0;
  if (command_line.starts_with('"')) {
    const std::size_t closing = command_line.find('"', 1);
    end_of_name = closing == std::string_view::npos ? command_line.size() : closing + 1;
  } else {
    end_of_name = command_line.find_first_of(kBlanks);
    if (end_of_name == std::string_view::npos) end_of_name = command_line.size();
  }
  const std::size_t start = command_line.find_first_not_of(kBlanks, end_of_name);
  return start == std::string_view::npos ? std::string_view() : command_line.substr(start);
}

}  // namespace tolvex::platform
