// Changing the option file: every writer (the option window's OK, the place card's "always
// open this map", `tolvex maps`) takes its turn under one lock, reads the file as it is then,
// applies its edits and writes the result whole or not at all: to the file it read, or to the
// user's own option file when the file read is not this user's to replace (a shared install's,
// one marked read-only, or a link to the package's file). No writer ever writes back a copy
// that another writer has changed meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_lock.h"
#include "platform/xml_document.h"

namespace tolvex {

// The title of the windows' messages about the option file; the load failures use
// OptionLoadMessage's texts.
inline constexpr std::string_view kOptionErrorTitle = "TolVex Gateway: Error";
inline constexpr std::string_view kSaveFailedMessage = "Can't Save Option File";
inline constexpr std::string_view kCatalogueLoadFailedMessage = "Can't Load Map Catalogue";
inline constexpr std::string_view kOptionFileBusyMessage =
    "The option file is being changed by another program; try again.";
// Follows the quoted path of the file.
inline constexpr std::string_view kReadOnlySuffix = " is read-only";

// How long a writer waits for another one to finish before it gives up.
inline constexpr std::chrono::milliseconds kOptionLockWait{5000};

struct OptionSaveServices {
  // The file the gateway reads (the user's own when it existed, else the one beside it).
  std::string option_file_path;
  // The user's own option file; empty when there is none to fall back on (a file named on the
  // command line is written where it is, or not at all).
  std::string user_option_file_path;
  // A read-only file named on the command line is replaced all the same, its mark kept.
  bool force = false;
  std::function<bool(const std::string& path)> exists;
  std::function<bool(const std::string& path)> may_replace_in_place;
  std::function<bool(const std::string& path)> is_read_only;
  std::function<platform::HeldLock(const std::string& path, std::chrono::milliseconds wait)> lock;
  std::function<std::unique_ptr<platform::XmlDocument>()> create_document;
  // Writes over an existing file / creates a new one (with its folder); false when the file
  // was left as it was.
  std::function<bool(const std::string& path, std::string_view bytes)> replace_file;
  std::function<bool(const std::string& path, std::string_view bytes)> write_new_file;
};

enum class OptionChangeError {
  kNone,
  kRefused,           // the edit's own refusal, in `message`
  kBusy,              // another writer held the lock for kOptionLockWait
  kReadOnly,          // the file to write is marked read-only
  kCannotLoad,        // the file does not load as XML
  kNoCurrentSetting,  // the root is not an option list with `currentsetting`
  kCannotSave,
};

struct OptionChange {
  OptionChangeError error = OptionChangeError::kNone;
  std::string message;  // the edit's refusal (kRefused)
  std::string path;     // the file read or to be written, for messages
};

// Returns the refusal of an edit of the freshly read document, empty when it applied.
using OptionDocumentEdit = std::function<std::string(platform::XmlDocument& document)>;

// Under the writers' lock: reads the option file as it is now, refuses one that is not an
// option list with `currentsetting`, applies `edit` and writes the document where it belongs.
// Nothing is written unless every step succeeds.
OptionChange ChangeOptionFile(const OptionSaveServices& services, const OptionDocumentEdit& edit);

// The one-line text of a failed change: the refusal itself, or the load and save messages,
// with the file's path as the tool prints them or without it as a window shows them (where a
// file that no longer loads is a save that failed).
std::string OptionChangeMessage(const OptionChange& change, bool with_path = true);

}  // namespace tolvex
