#include "cli/arguments.h"

#include <iostream>

#include "gateway/message_text.h"

namespace tolvex::cli {

int UsageError(std::string_view message, std::string_view usage) {
  std::cerr << "tolvex: " << message << "\n\n" << usage;
  return kExitUsage;
}

int Fail(std::string_view message) {
  std::cerr << "tolvex: " << message << '\n';
  return kExitBadInput;
}

std::string TakeOptions(std::vector<std::string_view>& args, const OptionSlots& slots,
                        bool* force) {
  std::vector<std::string_view> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view word = args[i];
    if (word == "--") {
      rest.insert(rest.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    }
    if (force != nullptr && word == "--force") {
      *force = true;
      continue;
    }
    std::optional<std::string>* slot = nullptr;
    for (const auto& [name, value] : slots) {
      if (word == name) slot = value;
    }
    if (slot == nullptr) {
      if (word.starts_with("--")) return QuotedMessage("unknown option ", word);
      rest.push_back(word);
      continue;
    }
    if (i + 1 >= args.size()) return std::string(word) + " needs a value";
    if (*slot) return std::string(word) + " is given twice";
    *slot = std::string(args[++i]);
  }
  args = std::move(rest);
  return {};
}

}  // namespace tolvex::cli
