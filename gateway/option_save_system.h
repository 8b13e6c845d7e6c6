// The option file's writers on this system: the platform backends behind OptionSaveServices.
// Inline, so that each program takes it with the platform library it links (the gateway's
// static libxml2, the tool's shared one).
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "gateway/option_save.h"
#include "gateway/option_store.h"
#include "platform/file_lock.h"
#include "platform/file_replace.h"
#include "platform/process.h"
#include "platform/xml_document.h"

namespace tolvex {

// For changing `option_file_path`, with the user's own option file as the fallback.
inline OptionSaveServices SystemOptionSaveServices(const std::string& option_file_path) {
  OptionSaveServices save;
  save.option_file_path = option_file_path;
  save.user_option_file_path = platform::UserConfigPath(kOptionFileName);
  save.exists = [](const std::string& path) { return platform::FileExists(path); };
  save.may_replace_in_place = [](const std::string& path) {
    return platform::MayReplaceInPlace(path);
  };
  save.is_read_only = [](const std::string& path) { return platform::IsReadOnlyFile(path); };
  save.lock = [](const std::string& path, std::chrono::milliseconds wait) {
    return platform::LockForChange(path, wait);
  };
  save.create_document = [] { return platform::CreateXmlDocument(); };
  save.replace_file = [](const std::string& path, std::string_view bytes) {
    return platform::ReplaceFileContents(path, bytes);
  };
  save.write_new_file = [](const std::string& path, std::string_view bytes) {
    return platform::WriteNewFile(path, bytes);
  };
  return save;
}

}  // namespace tolvex
