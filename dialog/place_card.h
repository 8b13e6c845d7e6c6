// FrmPlaceCard, the place card's logic: shown instead of launching when the option file asks at
// each link. It shows the place in every format, lists the maps, opens the chosen one as a
// request would, copies the place, and may store the choice for good. Its Place box holds the
// text the place is read from (place/place_text.h); what is typed there is read at once. It knows
// nothing of widgets: a toolkit's window implements PlaceCardView and forwards its events here.
//
//   window events -> FrmPlaceCard -> OpenLocation (gateway) -> shell
//                                 \-> option file (SaveOptionDocument) when "always"
//                                 \-> PlaceCardView (contents, clipboard, messages, close)
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/form_fields.h"
#include "dialog/window_events.h"
#include "gateway/gateway.h"
#include "gateway/option_edit.h"
#include "gateway/option_save.h"
#include "gateway/place_formats.h"
#include "platform/xml_document.h"

namespace tolvex {

inline constexpr std::string_view kPlaceCardCaption = "TolvexGateway   - Open -";

// What the card shows and what the user set in it: the fields of dialog/form_fields.h, then the
// selected map.
struct PlaceCardForm {
#define TOLVEX_CARD_TEXT(field, control) std::string field;
  TOLVEX_CARD_FORM_TEXTS(TOLVEX_CARD_TEXT)
#undef TOLVEX_CARD_TEXT
#define TOLVEX_CARD_FLAG(field, initial) bool field = initial;
  TOLVEX_CARD_FORM_FLAGS(TOLVEX_CARD_FLAG)
#undef TOLVEX_CARD_FLAG
#define TOLVEX_CARD_LIST(field) std::vector<std::string> field;
  TOLVEX_CARD_FORM_LISTS(TOLVEX_CARD_LIST)
#undef TOLVEX_CARD_LIST
  std::size_t selected = 0;  // index into ids
  bool operator==(const PlaceCardForm&) const = default;
};

// The copy items, in the order of PlaceCardForm::copy_labels: the place's format each copies,
// and last nullptr, the selected map's command line. Their labels and keys are the views'
// (kCopyLabels in dialog/place_card_layout.h).
inline constexpr PlaceFormat kCopyItems[] = {
    &PlaceFormats::coordinates, &PlaceFormats::dms, &PlaceFormats::geocode,
    &PlaceFormats::tolvex,      &PlaceFormats::geo, nullptr,
};

class PlaceCardView {
 public:
  virtual ~PlaceCardView() = default;
  virtual void Show(const PlaceCardForm& form) = 0;
  virtual PlaceCardForm Read() const = 0;  // selected, keep_open and always are the user's
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
  // Puts `text` on the clipboard so that it can be pasted after the card has closed.
  virtual void CopyText(std::string_view text) = 0;
  // The clipboard's text, "" when it holds none.
  virtual std::string ClipboardText() const = 0;
  virtual void Close() = 0;  // the toolkit then reports the unload
};

class PlaceCardEvents {
 public:
  virtual ~PlaceCardEvents() = default;
  // One handler an event of dialog/window_events.h.
#define TOLVEX_CARD_EVENT(handler, name, param, button) \
  virtual void handler(TOLVEX_CARD_EVENT_PARAM_##param) = 0;
  TOLVEX_CARD_EVENTS(TOLVEX_CARD_EVENT)
#undef TOLVEX_CARD_EVENT
};

struct FrmPlaceCardServices {
  std::optional<Location> location;  // the link's place, read when `place_text` is empty
  // What the Place box first holds: the link, or the text given. Without either, the
  // clipboard's text when it names a place.
  std::string place_text;
  const GatewayServices* gateway = nullptr;  // the run's: messages, shell, windir, separator
  std::function<std::unique_ptr<platform::XmlDocument>()> create_document;
  OptionSaveServices save;
};

class FrmPlaceCard final : public PlaceCardEvents {
 public:
  FrmPlaceCard(PlaceCardView& view, FrmPlaceCardServices services);

  void OnLoad() override;
  void OnPlaceChange() override;
  void OnOpen() override;
  void OnCopy(std::size_t item) override;
  void OnCopyCoordinates() override;
  void OnCopyMapLink() override;
  void OnCancel() override;
  void OnUnload() override;

  // The run's exit status: that of the last launch, 0 when nothing was opened.
  int exit_status() const { return exit_status_; }

 private:
  // Takes the user's settings from the card; false when no map is selected or the card has
  // no document (it failed to load, or has closed).
  bool ReadChoice();
  // Reads the Place box's text into the place and its rows.
  void ReadPlace(std::string_view text);
  void ShowPlace();

  PlaceCardView& view_;
  FrmPlaceCardServices services_;
  std::unique_ptr<platform::XmlDocument> document_;
  std::vector<MapOption> maps_;
  std::optional<Location> location_;
  PlaceFormats formats_;  // the place's, empty without one
  PlaceCardForm form_;
  int exit_status_ = 0;
};

}  // namespace tolvex
