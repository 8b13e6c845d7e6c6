// FrmOption, the option dialog's logic: it lists the options of the option file, shows the one
// the user picks and, on OK, stores the pick as the file's `currentsetting`. It knows nothing
// of widgets: a toolkit's window implements OptionView and forwards its events here.
//
//   window events -> FrmOption -> option file (XmlDocument, ReplaceFileContents)
//                             \-> OptionView (the form's contents, messages, close)
//                             \-> Shell (manual.htm)
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialog/option_view.h"
#include "gateway/option_store.h"
#include "platform/shell.h"
#include "platform/xml_document.h"

namespace tolvex {

// The title of the dialog's messages; the load failures use OptionLoadMessage's texts.
inline constexpr std::string_view kOptionErrorTitle = "TolVex Gateway: Error";
inline constexpr std::string_view kSaveFailedMessage = "Can't Save Option File";
inline constexpr std::string_view kUnknownIdMessage =
    "Can't Save Current Value. No option has this id.";

// The `copyright` and `copyright2` captions.
std::string VersionLine();
inline constexpr std::string_view kCopyrightNotice = "Copyright (C) 2026 the TolvexGateway authors";

struct FrmOptionServices {
  std::function<std::unique_ptr<platform::XmlDocument>()> create_document;
  platform::Shell* shell = nullptr;
  std::string option_file_path;
  std::string manual_path;
  // Writes the saved document over the option file; platform::ReplaceFileContents in the
  // program. False when the file was left as it was.
  std::function<bool(const std::string& path, std::string_view bytes)> replace_file;
  // The user's own option file; empty when there is none to fall back on. OK writes it
  // (write_new_file) instead of the file it read when may_replace_in_place says that file is
  // not this user's to replace: a shared install's, whose folder the user cannot write or
  // which links to the package's file.
  std::string user_option_file_path;
  std::function<bool(const std::string& path)> may_replace_in_place;
  std::function<bool(const std::string& path, std::string_view bytes)> write_new_file;
};

class FrmOption final : public OptionEvents {
 public:
  FrmOption(OptionView& view, FrmOptionServices services);

  // Window load: fills the window from the option file; after a message, stops where the
  // window then stays with what it has so far.
  void OnLoad() override;
  void OnPick() override;
  // Stores the text of `GISoptions` as `currentsetting` and closes the window. Writes nothing
  // and just closes when no document loaded or its root has no `currentsetting`; keeps the
  // window open with a message when the text names no option or the save fails.
  void OnOk() override;
  void OnCancel() override;
  void OnHelp() override;
  void OnUnload() override;

  // Shows in `oscommand`, `datum` and `GISareas` the first option whose id is `id`; empties
  // them when there is none.
  void ShowOption(std::string_view id);

 private:
  // Loads the option file and fills form_ from it as far as it allows; the failure, if any.
  std::optional<OptionLoadError> LoadForm();
  void FillOption(std::string_view id);
  // OK's save: true when the window may close (saved, or nothing to write); false after a
  // message, the file unchanged.
  bool SaveChoice();
  // Writes the saved document where it belongs; false when nothing was written.
  bool Save(std::string_view bytes) const;

  OptionView& view_;
  FrmOptionServices services_;
  OptionForm form_;                                    // what the window shows
  std::unique_ptr<platform::XmlDocument> option_doc_;  // set from load to unload
  bool loaded_ = false;
};

}  // namespace tolvex
