// The place card in Qt 6 Widgets, built from its table (dialog/place_card_layout.h). It only
// shows what FrmPlaceCard sets and forwards the user's actions as PlaceCardEvents: Enter, a
// double-click or "&Open" open the selected map, Esc and the close button close the card,
// Ctrl+C and Ctrl+Shift+C and the "&Copy" menu copy the place.
#pragma once

#include <string_view>

#include "dialog/place_card.h"
#include "dialog/qt/form_builder.h"

class QTreeWidget;

namespace tolvex::qt {

class PlaceCardWindow final : public TableDialog, public PlaceCardView {
 public:
  PlaceCardWindow();

  // Runs the card's load through `events`, then shows it centred with its list focused.
  // Events go to `events` until the card has been unloaded (closed).
  void Open(PlaceCardEvents& events);

  // PlaceCardView
  void Show(const PlaceCardForm& form) override;
  PlaceCardForm Read() const override;
  void ShowError(std::string_view text, std::string_view title) override;
  void CopyText(std::string_view text) override;
  std::string ClipboardText() const override;
  void Close() override;

 protected:
  void reject() override;  // Esc
  void Unloaded() override;

 private:
  template <typename... Args>
  void Send(void (PlaceCardEvents::*handler)(Args...), Args... args) {
    if (events_ != nullptr && !unloaded()) (events_->*handler)(args...);
  }

  PlaceCardEvents* events_ = nullptr;
  QTreeWidget* maps_ = nullptr;
};

}  // namespace tolvex::qt
