#include "dialog/frm_option.h"

#include <utility>

#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "version.h"

namespace tolvex {

std::string VersionLine() {
  return std::string(kProgramTitle) + " Version " + std::to_string(TOLVEX_VERSION_MAJOR) + "." +
         std::to_string(TOLVEX_VERSION_MINOR) + "." + std::to_string(TOLVEX_VERSION_PATCH);
}

FrmOption::FrmOption(OptionView& view, FrmOptionServices services)
    : view_(view), services_(std::move(services)) {}

void FrmOption::ShowLoadError(OptionLoadError error) {
  view_.ShowError(OptionLoadMessage(error), kOptionErrorTitle);
}

void FrmOption::OnLoad() {
  view_.SetVersionLine(VersionLine());
  view_.SetCopyrightNotice(kCopyrightNotice);

  option_doc_ = services_.create_document();
  loaded_ = option_doc_->Load(services_.option_file_path);
  if (!loaded_) {
    ShowLoadError(OptionLoadError::kCannotLoadFile);
    return;
  }
  view_.SetOptionIds(ListOptionIds(*option_doc_));

  // The first currentsetting anywhere, as the window shows it; OK writes only the root's.
  const auto current = option_doc_->SelectSingleNode(kFirstCurrentSettingQuery);
  if (current == nullptr) {
    ShowLoadError(OptionLoadError::kNoCurrentSetting);
    return;
  }
  const std::string current_id = current->Text();
  view_.SetSelectedText(current_id);

  const auto first_area = option_doc_->SelectSingleNode(kFirstAreaQuery);
  view_.SetArea(first_area != nullptr ? first_area->Text() : "");

  if (FindOption(*option_doc_, current_id) == nullptr) {
    ShowLoadError(OptionLoadError::kNoSuchOption);
    return;
  }
  ShowOption(current_id);
}

void FrmOption::ShowOption(std::string_view id) {
  const auto option = option_doc_ != nullptr ? FindOption(*option_doc_, id) : nullptr;
  if (option == nullptr) {
    view_.SetCommandTemplate("");
    view_.SetDatum("");
    view_.SetArea("");
    return;
  }
  view_.SetCommandTemplate(CommandTemplateOf(*option));
  // Only the exact lower-case "tokyo" shifts the datum; every other value means WGS84.
  const auto datum = option->SelectSingleNode("@datum");
  view_.SetDatum(datum != nullptr && datum->Text() == kTokyoDatum ? kTokyoDatum : kDefaultDatum);
  const auto area = option->SelectSingleNode("@area");
  view_.SetArea(area != nullptr ? area->Text() : "");
}

void FrmOption::OnPick() { ShowOption(view_.SelectedText()); }

void FrmOption::OnOk() {
  // Saving a document that did not load, or whose root lacks currentsetting, would replace
  // the user's file with an empty or broken one: close without writing instead.
  const auto setting = loaded_ ? option_doc_->SelectSingleNode(kActiveIdQuery)
                               : std::unique_ptr<platform::XmlNode>();
  if (setting == nullptr) {
    view_.Close();
    return;
  }
  // Every location request looks the stored id up: an id that names no option would leave
  // the gateway unable to handle any link.
  const std::string chosen = view_.SelectedText();
  if (FindOption(*option_doc_, chosen) == nullptr) {
    view_.ShowError(kUnknownIdMessage, kOptionErrorTitle);
    return;
  }
  std::optional<std::string> bytes;
  if (setting->SetText(chosen)) bytes = option_doc_->Serialize();
  if (!bytes || !services_.replace_file(services_.option_file_path, *bytes)) {
    view_.ShowError(kSaveFailedMessage, kOptionErrorTitle);
    return;
  }
  view_.Close();
}

void FrmOption::OnCancel() { view_.Close(); }

void FrmOption::OnHelp() { OpenManual(*services_.shell, services_.manual_path); }

void FrmOption::OnUnload() {
  option_doc_.reset();
  loaded_ = false;
}

}  // namespace tolvex
