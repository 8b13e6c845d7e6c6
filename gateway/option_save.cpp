#include "gateway/option_save.h"

#include <optional>

namespace tolvex {

bool SaveOptionDocument(const platform::XmlDocument& document, const OptionSaveServices& services) {
  const std::optional<std::string> bytes = document.Serialize();
  if (!bytes) return false;
  const std::string& own = services.user_option_file_path;
  const std::string& read = services.option_file_path;
  // A shared file stays as it is: the user's changes go to the user's own file.
  if (!own.empty() && own != read && services.may_replace_in_place &&
      !services.may_replace_in_place(read)) {
    return services.write_new_file && services.write_new_file(own, *bytes);
  }
  return services.replace_file && services.replace_file(read, *bytes);
}

}  // namespace tolvex
