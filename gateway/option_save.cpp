#include "gateway/option_save.h"

#include <optional>

#include "gateway/message_text.h"
#include "gateway/option_store.h"

namespace tolvex {
namespace {

// Where a change reads the file and where it writes the result.
struct ChangePaths {
  std::string read;
  std::string write;
  bool write_is_new = false;  // the user's own file, made from the shared one
  bool read_only = false;     // `write` is marked read-only and may not be replaced
};

ChangePaths PathsOf(const OptionSaveServices& services) {
  ChangePaths paths;
  const std::string& own = services.user_option_file_path;
  paths.read = services.option_file_path;
  // Another writer may have made the user's own file since the caller looked: from then on
  // it is the file the gateway reads.
  if (!own.empty() && own != paths.read && services.exists(own)) paths.read = own;
  paths.write = paths.read;
  if (own.empty() || own == paths.read) {
    paths.read_only = services.is_read_only(paths.read) && !(own.empty() && services.force);
    return paths;
  }
  // A shared file, or one marked read-only, stays as it is: the user's changes go to the
  // user's own file.
  if (!services.may_replace_in_place(paths.read) || services.is_read_only(paths.read)) {
    paths.write = own;
    paths.write_is_new = true;
  }
  return paths;
}

}  // namespace

OptionChange ChangeOptionFile(const OptionSaveServices& services, const OptionDocumentEdit& edit) {
  ChangePaths paths = PathsOf(services);
  // No lock file for a file that is not there to change.
  if (!services.exists(paths.read)) return {OptionChangeError::kCannotLoad, {}, paths.read};
  platform::HeldLock held;
  // The lock belongs to the file written; should the paths move while waiting for it (the
  // user's own file made meanwhile), the lock of the new one is taken instead.
  for (int attempt = 0;; ++attempt) {
    held = services.lock(paths.write, kOptionLockWait);
    if (held.result == platform::LockResult::kBusy) {
      return {OptionChangeError::kBusy, {}, paths.write};
    }
    if (held.result != platform::LockResult::kLocked) {
      return {OptionChangeError::kCannotSave, {}, paths.write};
    }
    ChangePaths now = PathsOf(services);
    if (now.write == paths.write || attempt == 2) {
      paths = std::move(now);
      break;
    }
    paths = std::move(now);
  }
  if (paths.read_only) return {OptionChangeError::kReadOnly, {}, paths.write};

  const auto document =
      services.create_document ? services.create_document() : platform::CreateXmlDocument();
  if (!document->Load(paths.read)) return {OptionChangeError::kCannotLoad, {}, paths.read};
  // The query names the root: a root of another name, or in a namespace, has no match.
  if (!document->SelectSingleNode(kActiveIdQuery)) {
    return {OptionChangeError::kNoCurrentSetting, {}, paths.read};
  }
  if (std::string refusal = edit(*document); !refusal.empty()) {
    return {OptionChangeError::kRefused, std::move(refusal), paths.read};
  }
  const std::optional<std::string> bytes = document->Serialize();
  const bool saved = bytes && (paths.write_is_new && !services.exists(paths.write)
                                   ? services.write_new_file(paths.write, *bytes)
                                   : services.replace_file(paths.write, *bytes));
  if (!saved) return {OptionChangeError::kCannotSave, {}, paths.write};
  return {};
}

std::string OptionChangeMessage(const OptionChange& change, bool with_path) {
  const std::string path = with_path ? " (" + change.path + ")" : std::string();
  switch (change.error) {
    case OptionChangeError::kNone:
      return {};
    case OptionChangeError::kRefused:
      return change.message;
    case OptionChangeError::kBusy:
      return std::string(kOptionFileBusyMessage);
    case OptionChangeError::kReadOnly:
      return QuotedMessage("", change.path) + std::string(kReadOnlySuffix);
    case OptionChangeError::kCannotLoad:
      // A window loaded the file when it opened: what fails for its user is the save.
      if (!with_path) return std::string(kSaveFailedMessage);
      return std::string(OptionLoadMessage(OptionLoadError::kCannotLoadFile)) + path;
    case OptionChangeError::kNoCurrentSetting:
      return std::string(OptionLoadMessage(OptionLoadError::kNoCurrentSetting)) + path;
    case OptionChangeError::kCannotSave:
      return std::string(kSaveFailedMessage) + path;
  }
  return {};
}

}  // namespace tolvex
