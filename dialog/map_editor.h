// FrmMapEditor, the logic of the window in which one map is added or changed: id,
// area, datum, zoom and command template, with a preview of the command line for a place and
// "&Try", which opens it. It refuses what the option list's rules refuse, with their messages,
// and hands the accepted option back; the option window keeps it until OK.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/window_events.h"
#include "gateway/gateway.h"
#include "gateway/option_edit.h"
#include "gateway/request.h"

namespace tolvex {

// The geocode of Tokyo Tower: the preview's place when no link is being handled.
inline constexpr std::string_view kPreviewGeocode = "SD9.XC4.EQ2.CV5";

struct MapEditorForm {
  MapOption option;     // what the fields hold
  std::string preview;  // the command line the template expands to for the place
  bool operator==(const MapEditorForm&) const = default;
};

class MapEditorView {
 public:
  virtual ~MapEditorView() = default;
  virtual void Show(const MapEditorForm& form) = 0;
  virtual MapEditorForm Read() const = 0;
  virtual void ShowError(std::string_view text, std::string_view title) = 0;
  virtual void Close() = 0;  // the toolkit then reports the unload
};

class MapEditorEvents {
 public:
  virtual ~MapEditorEvents() = default;
  // One handler an event of dialog/window_events.h.
#define TOLVEX_EDITOR_EVENT(handler, name, button) virtual void handler() = 0;
  TOLVEX_EDITOR_EVENTS(TOLVEX_EDITOR_EVENT)
#undef TOLVEX_EDITOR_EVENT
};

struct FrmMapEditorServices {
  MapOption initial;                         // the map edited, or a new one's defaults
  std::vector<MapOption> options;            // all options as the window holds them now
  std::optional<std::size_t> index;          // the edited option's index; nullopt for a new one
  Location place;                            // the preview's place
  const GatewayServices* gateway = nullptr;  // for Try: the shell, messages, separator
  // Called with the accepted option when OK passes the rules; the editor then closes.
  std::function<void(const MapOption&)> accept;
};

class FrmMapEditor final : public MapEditorEvents {
 public:
  FrmMapEditor(MapEditorView& view, FrmMapEditorServices services);

  void OnLoad() override;
  void OnChange() override;
  void OnTry() override;
  void OnOk() override;
  void OnCancel() override;
  void OnUnload() override;

 private:
  // The form for `option`, with the preview of its command line for the place.
  MapEditorForm FormFor(MapOption option) const;
  // The option as the user typed it, the datum kept as the file spelt it unless changed.
  MapOption Typed() const;

  MapEditorView& view_;
  FrmMapEditorServices services_;
  bool unloaded_ = false;
};

}  // namespace tolvex
