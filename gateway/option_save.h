// Writing an edited option document back: whole or not at all, to the file it was read from,
// or to the user's own option file when the file read is not this user's to replace (a shared
// install's, or a link to the package's file). The option window's OK, the place card's
// "always open this map" and `tolvex maps` all save through here.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/xml_document.h"

namespace tolvex {

struct OptionSaveServices {
  std::string option_file_path;  // the file the document was read from
  // The user's own option file; empty when there is none to fall back on.
  std::string user_option_file_path;
  std::function<bool(const std::string& path)> may_replace_in_place;
  // Writes over an existing file / creates a new one (with its folder); false when the file
  // was left as it was.
  std::function<bool(const std::string& path, std::string_view bytes)> replace_file;
  std::function<bool(const std::string& path, std::string_view bytes)> write_new_file;
};

// Serialises `document` and writes it where it belongs. False when nothing was written (the
// caller says "Can't Save Option File").
bool SaveOptionDocument(const platform::XmlDocument& document, const OptionSaveServices& services);

}  // namespace tolvex
