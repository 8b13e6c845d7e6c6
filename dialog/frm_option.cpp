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
  form_.ids = ListOptionIds(*option_doc_);

  // The first currentsetting anywhere, as the window shows it; OK writes only the root's.
  const auto current = option_doc_->SelectSingleNode(kFirstCurrentSettingQuery);
  if (current == nullptr) return OptionLoadError::kNoCurrentSetting;
  form_.selected = current->Text();

  const auto first_area = option_doc_->SelectSingleNode(kFirstAreaQuery);
  form_.area = first_area != nullptr ? first_area->Text() : "";

  if (FindOption(*option_doc_, form_.selected) == nullptr) return OptionLoadError::kNoSuchOption;
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
  // Only the exact lower-case "tokyo" shifts the datum; every other value means WGS84.
  const auto datum = option->SelectSingleNode("@datum");
  form_.datum = datum != nullptr && datum->Text() == kTokyoDatum ? kTokyoDatum : kDefaultDatum;
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
  if (!setting->SetText(chosen) || !SaveOptionDocument(*option_doc_, services_.save)) {
    view_.ShowError(kSaveFailedMessage, kOptionErrorTitle);
    return false;
  }
  return true;
}

void FrmOption::OnCancel() { view_.Close(); }

void FrmOption::OnHelp() { OpenManual(*services_.shell, services_.manual_path); }

void FrmOption::OnUnload() {
  option_doc_.reset();
  loaded_ = false;
}

}  // namespace tolvex
