#include "services/system_services.h"

#include <chrono>
#include <string_view>

#include "gateway/option_store.h"
#include "gateway/product_folders.h"
#include "gateway/start_chain_check.h"
#include "platform/file_lock.h"
#include "platform/file_replace.h"
#include "platform/process.h"
#include "platform/xml_document.h"

namespace tolvex {
namespace {

std::string UserOptionFilePath() {
  return platform::UserConfigPath(kProductFolderName, kOptionFileName);
}

}  // namespace

std::string SystemOptionFilePath() {
  return OptionFileToRead(UserOptionFilePath(), platform::PathBesideProgram(kOptionFileName),
                          [](const std::string& path) { return platform::PathExists(path); });
}

GatewayServices SystemGatewayServices(platform::MessageSink& messages, platform::Shell& shell) {
  GatewayServices services;
  services.messages = &messages;
  services.shell = &shell;
  services.create_document = [] { return platform::CreateXmlDocument(); };
  services.option_file_path = SystemOptionFilePath();
  services.decimal_separator = platform::UserDecimalSeparator();
  services.windir = platform::EnvironmentVariable("windir");
  services.start_chain = platform::CreateSystemStartChain(ProductStartTraceNames());
  return services;
}

OptionSaveServices SystemOptionSaveServices(const std::string& option_file_path) {
  OptionSaveServices save;
  save.option_file_path = option_file_path;
  save.user_option_file_path = UserOptionFilePath();
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
