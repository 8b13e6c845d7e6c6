// FrmOption, the option dialog's logic: it lists the maps of the option file, shows the one
// the user picks and, on OK, stores the pick as the file's `currentsetting`. It knows nothing
// of widgets: a toolkit's window implements OptionView and forwards its events here.
//
//   window events -> FrmOption -> option file (XmlDocument, SaveOptionDocument)
//                             \-> OptionView (the form's contents, messages, close)
//                             \-> Shell (manual.htm)
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/option_view.h"
#include "gateway/option_edit.h"
#include "gateway/option_save.h"
#include "gateway/option_store.h"
#include "platform/shell.h"
#include "platform/xml_document.h"

namespace tolvex {

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
  // The Maps tab: the catalogue beside the program (kCatalogueFileName), and what the map
  // editor's "&Try" hands the shell, as a request would.
  std::string catalogue_path;
  std::string decimal_separator = ".";
  std::optional<std::string> windir;
  // The shell "&Try" opens a command line with: the request path's, where that differs from
  // the one that opens manual.htm (Windows: command lines go through the ANSI code page as
  // the option file's templates are written for it); `shell` when null.
  platform::Shell* launch_shell = nullptr;
};

class FrmOption final : public OptionEvents {
 public:
  FrmOption(OptionView& view, FrmOptionServices services);

  // Window load: fills the window from the option file; after a message, stops where the
  // window then stays with what it has so far.
  void OnLoad() override;
  void OnPick() override;
  // Stores the text of `GISoptions` as `currentsetting`, with the Maps tab's edits, in the
  // option file as it is now, and closes the window. Writes nothing and just closes when no
  // document loaded, its root has no `currentsetting`, or nothing was changed; keeps the
  // window open with a message when the text names no option, an edit no longer applies to
  // the file (another program changed it meanwhile) or the save fails.
  void OnOk() override;
  void OnCancel() override;
  void OnHelp() override;
  void OnUnload() override;
  // The Maps tab: each change goes into the window's document and shows on both tabs at once;
  // OK writes them all with the pick of the first tab, Cancel drops them.
  void OnNewMap() override;
  void OnEditMap() override;
  void OnDuplicateMap() override;
  void OnDeleteMap() override;
  void OnCatalogue() override;
  void OnAskChange() override;

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

  // Takes what the user set in the window (the pick, the Maps tab's row and check box) into
  // form_; false, after a message, when the document cannot take the Maps tab's edits.
  bool BeginMapsEdit();
  // Shows the maps of the document on both tabs, the Maps tab's row at `row` (held to the list).
  void ShowMaps(int row);
  // Makes a Maps tab edit in the window's document and keeps it for OK; shows its refusal,
  // if any, then the maps as the document now holds them.
  void ApplyMapsEdit(const MapEdit& edit, int row);
  // Runs the map editor on `initial` (the map at `index`, or a new one when nullopt) and
  // returns the map it accepted; nullopt when the user cancelled.
  std::optional<MapOption> RunEditor(const MapOption& initial, std::optional<std::size_t> index);
  // The option of the Maps tab's row; null when the row picks none.
  const MapOption* RowOption() const;

  OptionView& view_;
  FrmOptionServices services_;
  OptionForm form_;                                    // what the window shows
  std::unique_ptr<platform::XmlDocument> option_doc_;  // set from load to unload
  std::vector<MapOption> maps_;                        // the document's, as the Maps tab lists
  std::vector<MapEdit> edits_;                         // the Maps tab's, in the order made
  bool loaded_ = false;
};

}  // namespace tolvex
