#include "dialog/frm_option.h"

#include <algorithm>
#include <utility>

#include "dialog/maps_layout.h"

#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "version.h"

namespace tolvex {
namespace {

// The row of the first map whose id is `id`; -1 when none is.
int RowOf(const std::vector<MapOption>& maps, std::string_view id) {
  const auto index = IndexOfMap(maps, id);
  return index ? static_cast<int>(*index) : -1;
}

// The map editor's preview place in the option window, where no link is being handled.
Location PreviewPlace() {
  return ClassifyArgument(std::string(kLinkPrefix) + std::string(kPreviewGeocode), ".").location;
}

}  // namespace

std::string VersionLine() {
  return std::string(kProgramTitle) + " Version " + std::to_string(TOLVEX_VERSION_MAJOR) + "." +
         std::to_string(TOLVEX_VERSION_MINOR) + "." + std::to_string(TOLVEX_VERSION_PATCH);
}

FrmOption::FrmOption(OptionView& view, FrmOptionServices services)
    : view_(view), services_(std::move(services)) {}

void FrmOption::OnLoad() {
  form_ = OptionForm();
  form_.version_line = VersionLine();
  form_.copyright_notice = kCopyrightNotice;
  const std::optional<OptionLoadError> error = LoadForm();
  // The window is still hidden: the message comes before it opens with what was filled in.
  view_.Show(form_);
  if (error) view_.ShowError(OptionLoadMessage(*error), kOptionErrorTitle);
}

std::optional<OptionLoadError> FrmOption::LoadForm() {
  option_doc_ = services_.create_document();
  loaded_ = option_doc_->Load(services_.save.option_file_path);
  if (!loaded_) return OptionLoadError::kCannotLoadFile;
  maps_ = ReadMapOptions(*option_doc_);
  for (const MapOption& map : maps_) {
    form_.ids.push_back(map.id);
    form_.areas.push_back(map.area);
  }
  form_.map_row = maps_.empty() ? -1 : 0;
  form_.ask = AsksEachLink(*option_doc_);

  // The first currentsetting anywhere, as the window shows it; OK writes only the root's.
  const auto current = option_doc_->SelectSingleNode(kFirstCurrentSettingQuery);
  if (current == nullptr) return OptionLoadError::kNoCurrentSetting;
  form_.selected = current->Text();

  const auto first_area = option_doc_->SelectSingleNode(kFirstAreaQuery);
  form_.area = first_area != nullptr ? first_area->Text() : "";

  if (FindOption(*option_doc_, form_.selected) == nullptr) return OptionLoadError::kNoSuchOption;
  form_.map_row = RowOf(maps_, form_.selected);
  FillOption(form_.selected);
  return std::nullopt;
}

void FrmOption::FillOption(std::string_view id) {
  const auto option = option_doc_ != nullptr ? FindOption(*option_doc_, id) : nullptr;
  if (option == nullptr) {
    form_.command.clear();
    form_.datum.clear();
    form_.area.clear();
    return;
  }
  form_.command = CommandTemplateOf(*option);
  const auto datum = option->SelectSingleNode("@datum");
  form_.datum = datum != nullptr ? ShownDatum(datum->Text()) : kDefaultDatum;
  const auto area = option->SelectSingleNode("@area");
  form_.area = area != nullptr ? area->Text() : "";
}

void FrmOption::ShowOption(std::string_view id) {
  FillOption(id);
  view_.Show(form_);
}

void FrmOption::OnPick() {
  form_.selected = view_.Read().selected;
  ShowOption(form_.selected);
}

void FrmOption::OnOk() {
  // Close unloads the document: the save, and with it every node of the document, is done
  // before.
  if (SaveChoice()) view_.Close();
}

bool FrmOption::SaveChoice() {
  // Saving a document that did not load, or whose root lacks currentsetting, would replace
  // the user's file with an empty or broken one: close without writing instead.
  const auto setting = loaded_ ? option_doc_->SelectSingleNode(kActiveIdQuery)
                               : std::unique_ptr<platform::XmlNode>();
  if (setting == nullptr) return true;
  // Every location request looks the stored id up: an id that names no option would leave
  // the gateway unable to handle any link.
  const std::string chosen = view_.Read().selected;
  if (FindOption(*option_doc_, chosen) == nullptr) {
    view_.ShowError(kUnknownIdMessage, kOptionErrorTitle);
    return false;
  }
  // What the user did, made again on the file as it is now: another program's changes since
  // the window opened stay. A window that changed nothing writes nothing.
  std::vector<MapEdit> edits = edits_;
  if (chosen != setting->Text()) edits.push_back({MapEdit::Kind::kChoose, chosen, 0, {}, false});
  if (edits.empty()) return true;
  const OptionChange change = ChangeOptionFile(
      services_.save, [&edits](platform::XmlDocument& file) { return ApplyMapEdits(file, edits); });
  if (change.error != OptionChangeError::kNone) {
    view_.ShowError(OptionChangeMessage(change, false), kOptionErrorTitle);
    return false;
  }
  edits_.clear();
  return true;
}

void FrmOption::OnCancel() { view_.Close(); }

void FrmOption::OnHelp() { OpenManual(*services_.shell, services_.manual_path); }

void FrmOption::OnUnload() {
  option_doc_.reset();
  maps_.clear();
  edits_.clear();
  loaded_ = false;
}

bool FrmOption::BeginMapsEdit() {
  if (option_doc_ == nullptr) return false;
  const OptionForm shown = view_.Read();
  form_.selected = shown.selected;
  form_.map_row = shown.map_row;
  // OK writes nothing into a document that did not load or whose root lacks currentsetting:
  // edits made there would be lost without a word.
  if (!loaded_ || option_doc_->SelectSingleNode(kActiveIdQuery) == nullptr) {
    const OptionLoadError error =
        loaded_ ? OptionLoadError::kNoCurrentSetting : OptionLoadError::kCannotLoadFile;
    view_.ShowError(OptionLoadMessage(error), kOptionErrorTitle);
    view_.Show(form_);
    return false;
  }
  return true;
}

void FrmOption::ShowMaps(int row) {
  const bool selected_listed = RowOf(maps_, form_.selected) >= 0;
  maps_ = ReadMapOptions(*option_doc_);
  form_.ids.clear();
  form_.areas.clear();
  for (const MapOption& map : maps_) {
    form_.ids.push_back(map.id);
    form_.areas.push_back(map.area);
  }
  // The first tab's pick stays a listed option: after a deletion, the first one left.
  if (selected_listed && RowOf(maps_, form_.selected) < 0 && !maps_.empty()) {
    form_.selected = maps_.front().id;
  }
  const int last = static_cast<int>(maps_.size()) - 1;
  form_.map_row = std::clamp(row, std::min(0, last), last);
  form_.ask = AsksEachLink(*option_doc_);
  // The first tab shows the picked map as it is now; a pick that named no map before and
  // still names none keeps what the load showed.
  if (selected_listed || RowOf(maps_, form_.selected) >= 0) FillOption(form_.selected);
  view_.Show(form_);
}

void FrmOption::ApplyMapsEdit(const MapEdit& edit, int row) {
  // The window's document shows the edit at once; OK makes it again in the file.
  const std::string refusal = ApplyMapEdit(*option_doc_, edit);
  if (refusal.empty()) {
    edits_.push_back(edit);
    // A renamed option stays the first tab's pick when it was.
    if (edit.kind == MapEdit::Kind::kReplace && form_.selected == edit.id &&
        FindOption(*option_doc_, edit.id) == nullptr) {
      form_.selected = edit.option.id;
    }
  } else {
    view_.ShowError(refusal, kOptionErrorTitle);
  }
  ShowMaps(row);
}

const MapOption* FrmOption::RowOption() const {
  if (form_.map_row < 0 || static_cast<std::size_t>(form_.map_row) >= maps_.size()) {
    return nullptr;
  }
  return &maps_[static_cast<std::size_t>(form_.map_row)];
}

std::optional<MapOption> FrmOption::RunEditor(const MapOption& initial,
                                              std::optional<std::size_t> index) {
  GatewayServices gateway;
  gateway.shell = services_.launch_shell != nullptr ? services_.launch_shell : services_.shell;
  gateway.decimal_separator = services_.decimal_separator;
  gateway.windir = services_.windir;
  std::optional<MapOption> accepted;
  FrmMapEditorServices editor;
  editor.initial = initial;
  editor.options = maps_;
  editor.index = index;
  editor.place = PreviewPlace();
  editor.gateway = &gateway;
  editor.accept = [&accepted](const MapOption& option) { accepted = option; };
  view_.RunMapEditor([&editor](MapEditorView& window) -> std::unique_ptr<MapEditorEvents> {
    return std::make_unique<FrmMapEditor>(window, editor);
  });
  return accepted;
}

void FrmOption::OnNewMap() {
  if (!BeginMapsEdit()) return;
  MapOption initial;
  initial.datum = kDefaultDatum;
  const std::optional<MapOption> added = RunEditor(initial, std::nullopt);
  if (!added) return;
  ApplyMapsEdit({MapEdit::Kind::kAdd, {}, 0, *added, false}, static_cast<int>(maps_.size()));
}

void FrmOption::OnEditMap() {
  if (!BeginMapsEdit() || RowOption() == nullptr) return;
  const std::size_t index = static_cast<std::size_t>(form_.map_row);
  const std::string old_id = maps_[index].id;
  const std::optional<MapOption> changed = RunEditor(maps_[index], index);
  if (!changed) return;
  ApplyMapsEdit({MapEdit::Kind::kReplace, old_id, TwinOf(maps_, index), *changed, false},
                form_.map_row);
}

void FrmOption::OnDuplicateMap() {
  if (!BeginMapsEdit() || RowOption() == nullptr) return;
  // The copy opens in the editor as a new option, under an id of its own.
  const MapOption& original = *RowOption();
  MapOption copy = original;
  for (int n = 2; RowOf(maps_, copy.id) >= 0; ++n) {
    copy.id = original.id + " " + std::to_string(n);
  }
  const std::optional<MapOption> added = RunEditor(copy, std::nullopt);
  if (!added) return;
  ApplyMapsEdit({MapEdit::Kind::kAdd, {}, 0, *added, false}, static_cast<int>(maps_.size()));
}

void FrmOption::OnDeleteMap() {
  if (!BeginMapsEdit() || RowOption() == nullptr) return;
  const auto row = static_cast<std::size_t>(form_.map_row);
  ApplyMapsEdit({MapEdit::Kind::kRemove, maps_[row].id, TwinOf(maps_, row), {}, false},
                form_.map_row);
}

void FrmOption::OnCatalogue() {
  if (!BeginMapsEdit()) return;
  std::vector<MapOption> offered;
  {
    const auto catalogue = services_.create_document();
    if (!catalogue->Load(services_.catalogue_path)) {
      view_.ShowError(kCatalogueLoadFailedMessage, kOptionErrorTitle);
      return;
    }
    offered = MapsNotIn(ReadMapOptions(*catalogue), maps_);
  }
  std::vector<CatalogueRow> rows;
  rows.reserve(offered.size());
  for (const MapOption& map : offered) rows.push_back({map.id, map.area});
  const std::optional<std::size_t> chosen = view_.ChooseItem(maps_layout::chooser::kCaption, rows);
  if (!chosen || *chosen >= offered.size()) return;
  ApplyMapsEdit({MapEdit::Kind::kAdd, {}, 0, offered[*chosen], false},
                static_cast<int>(maps_.size()));
}

void FrmOption::OnAskChange() {
  const bool ask = view_.Read().ask;
  if (!BeginMapsEdit()) return;
  ApplyMapsEdit({MapEdit::Kind::kAsk, {}, 0, {}, ask}, form_.map_row);
}

}  // namespace tolvex
