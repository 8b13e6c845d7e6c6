#include "dialog/place_card.h"

#include <iterator>
#include <string>
#include <utility>

#include "dialog/place_card_layout.h"
#include "gateway/message_text.h"
#include "gateway/option_store.h"
#include "place/place_text.h"
#include "platform/text.h"

namespace tolvex {
namespace {

// The copy item that copies the selected map's command line: the last.
constexpr std::size_t kMapLinkItem = std::size(kCopyItems) - 1;
static_assert(kCopyItems[kMapLinkItem] == nullptr);

}  // namespace

FrmPlaceCard::FrmPlaceCard(PlaceCardView& view, FrmPlaceCardServices services)
    : view_(view), services_(std::move(services)) {}

void FrmPlaceCard::OnLoad() {
  document_ = services_.create_document();
  // The card stands for a request with the active option: a file the request would refuse
  // (changed since the link was read) gets the request's message, and no card.
  const ActiveOption active = LoadActiveOption(*document_, services_.save.option_file_path);
  if (active.error != OptionLoadError::kNone) {
    exit_status_ = kExitMessage;
    view_.ShowError(OptionLoadMessage(active.error), kProgramTitle);
    view_.Close();
    return;
  }
  maps_ = ReadMapOptions(*document_);
  form_ = PlaceCardForm();
  if (!services_.place_text.empty()) {
    ReadPlace(services_.place_text);
  } else if (services_.location) {
    location_ = services_.location;
    ShowPlace();
  } else {
    // Opened by hand without a text: what was copied last, if it is a place.
    ReadPlace(view_.ClipboardText());
    if (!location_) ReadPlace("");
  }
  const auto current = document_->SelectSingleNode(kActiveIdQuery);
  const std::string active_id = current != nullptr ? current->Text() : "";
  bool found = false;
  for (std::size_t i = 0; i < maps_.size(); ++i) {
    form_.ids.push_back(maps_[i].id);
    form_.areas.push_back(maps_[i].area);
    if (!found && maps_[i].id == active_id) {
      form_.selected = i;
      found = true;
    }
  }
  for (const place_card_layout::CopyLabel& label : place_card_layout::kCopyLabels) {
    form_.copy_labels.emplace_back(label.label);
  }
  view_.Show(form_);
}

void FrmPlaceCard::ReadPlace(std::string_view text) {
  form_.place = text;
  PlaceTextReading reading = ReadPlaceText(text, {services_.gateway->decimal_separator, {}});
  location_ = std::move(reading.location);
  form_.place_message.clear();
  if (!location_ && !Trim(text, kAsciiWhiteSpace).empty()) {
    form_.place_message = reading.option_request ? InvalidLocationMessage(text) : reading.message;
  }
  ShowPlace();
}

void FrmPlaceCard::ShowPlace() {
  formats_ = location_ ? DescribePlace(*location_, maps_, services_.gateway->decimal_separator)
                       : PlaceFormats();
  form_.can_open = location_.has_value();
  form_.coordinates = formats_.coordinates;
  form_.dms = formats_.dms;
  form_.geocode = formats_.geocode;
  form_.zoom = location_ && location_->zoom ? std::to_string(*location_->zoom) : "";
}

void FrmPlaceCard::OnPlaceChange() {
  if (document_ == nullptr) return;
  ReadChoice();
  ReadPlace(view_.Read().place);
  view_.Show(form_);
}

bool FrmPlaceCard::ReadChoice() {
  if (document_ == nullptr) return false;
  const PlaceCardForm read = view_.Read();
  form_.keep_open = read.keep_open;
  form_.always = read.always;
  if (read.selected >= maps_.size()) return false;
  form_.selected = read.selected;
  return true;
}

void FrmPlaceCard::OnOpen() {
  if (!ReadChoice() || !location_) return;
  const MapOption& map = maps_[form_.selected];
  if (form_.always) {
    // The choice is stored whole or not at all, in the file as it is now (the card may have
    // been open for long); the map opens either way, as asked.
    const std::vector<MapEdit> edits{{MapEdit::Kind::kChoose, map.id, 0, {}, false},
                                     {MapEdit::Kind::kAsk, {}, 0, {}, false}};
    const OptionChange change = ChangeOptionFile(
        services_.save,
        [&edits](platform::XmlDocument& file) { return ApplyMapEdits(file, edits); });
    if (change.error != OptionChangeError::kNone) {
      view_.ShowError(OptionChangeMessage(change, false), kOptionErrorTitle);
    }
  }
  exit_status_ = OpenLocation(*location_, CommandOptionOf(map), *services_.gateway);
  if (!form_.keep_open) view_.Close();
}

void FrmPlaceCard::OnCopy(std::size_t item) {
  if (!ReadChoice() || !location_ || item >= std::size(kCopyItems)) return;
  if (kCopyItems[item] != nullptr) {
    view_.CopyText(formats_.*kCopyItems[item]);
    return;
  }
  // The maps' lines are in file order: found by position, as ids may repeat.
  if (form_.selected >= formats_.maps.size()) return;
  view_.CopyText(formats_.maps[form_.selected].command_line);
}

void FrmPlaceCard::OnCopyCoordinates() {
  static_assert(kCopyItems[0] == &PlaceFormats::coordinates);
  OnCopy(0);
}

void FrmPlaceCard::OnCopyMapLink() { OnCopy(kMapLinkItem); }

void FrmPlaceCard::OnCancel() {
  if (document_ != nullptr) view_.Close();
}

void FrmPlaceCard::OnUnload() {
  document_.reset();
  location_.reset();
  maps_.clear();
  formats_ = PlaceFormats();
}

}  // namespace tolvex
