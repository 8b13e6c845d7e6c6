// FrmOption, the option dialog's logic: it lists the options of the option file, shows the one
// the user picks and, on OK, stores the pick as the file's `currentsetting`. It knows nothing
// of widgets: a toolkit's window implements OptionView and forwards its events here.
//
//   window events -> FrmOption -> option file (XmlDocument, SaveOptionDocument)
//                             \-> OptionView (the form's contents, messages, close)
//                             \-> Shell (manual.htm)
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialog/option_view.h"
#include "gateway/option_save.h"
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
  std::string manual_path;
  // Where the option file is read from and how OK writes it back (SaveOptionDocument): over
  // the file it read, or the user's own file when that one is not this user's to replace.
  OptionSaveServices save;
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

  OptionView& view_;
  FrmOptionServices services_;
  OptionForm form_;                                    // what the window shows
  std::unique_ptr<platform::XmlDocument> option_doc_;  // set from load to unload
  bool loaded_ = false;
};

}  // namespace tolvex
