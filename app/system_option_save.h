// How both programs and the tolvex tool write an edited option document on this platform: over
// the file it was read from, or the user's own option file when that one is not this user's
// to replace. Inline, so that each program takes it with the platform library it links.
#pragma once

#include <string>
#include <string_view>

#include "gateway/option_save.h"
#include "gateway/option_store.h"
#include "platform/file_replace.h"
#include "platform/process.h"

namespace tolvex {

inline OptionSaveServices SystemOptionSaveServices(const std::string& option_file_path) {
  OptionSaveServices save;
  save.option_file_path = option_file_path;
  save.user_option_file_path = platform::UserConfigPath(kOptionFileName);
  save.may_replace_in_place = [](const std::string& path) {
    return platform::MayReplaceInPlace(path);
  };
  save.replace_file = [](const std::string& path, std::string_view bytes) {
    return platform::ReplaceFileContents(path, bytes);
  };
  save.write_new_file = [](const std::string& path, std::string_view bytes) {
    return platform::WriteNewFile(path, bytes);
  };
  return save;
}

}  // namespace tolvex
