// The Windows command-line split over any text: the argument text is always the rest of the
// command line after the program's name and the blanks that follow it, and a program path
// put in front of any argument gives that argument back, quoted or not.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  using tolvex::platform::ArgumentTextOfCommandLine;

  // Whatever the text, the argument text is a suffix of it and never starts with a blank.
  const std::string_view rest = ArgumentTextOfCommandLine(input);
  FUZZ_CHECK(rest.size() <= input.size());
  FUZZ_CHECK(input.substr(input.size() - rest.size()) == rest);
  FUZZ_CHECK(rest.empty() || !IsBlank(rest.front()));

  // What the shell builds for a link: the program's path, then the argument.
  constexpr std::string_view kPrograms[] = {
      "\"C:\\Program Files\\TolvexGateway\\TolvexGateway.exe\" ", "C:\\Tools\\TolvexGateway.exe ",
      "TolvexGateway\t"};
  for (const std::string_view program : kPrograms) {
    const std::string command_line = std::string(program) + std::string(input);
    FUZZ_CHECK(ArgumentTextOfCommandLine(command_line) == WithoutLeadingBlanks(input));
  }
  return 0;
}
