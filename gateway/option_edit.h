// The option file as a list of maps that the user edits: the Maps tab of the option window, the
// place card's "always open this map" and `tolvex maps` all read and change the document through
// these functions, so that one set of rules and messages holds everywhere. Every edit changes
// only what it names and keeps the rest of the document: other attributes, comments, the order
// of the maps, the encoding declaration.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/option_store.h"
#include "platform/xml_document.h"

namespace tolvex {

// The catalogue of well-known maps, shipped beside the program in the option file's format.
inline constexpr std::string_view kCatalogueFileName = "tolvexgwcatalogue.xml";

// The messages that refuse an edit. Those ending in a blank are followed by the text they name,
// quoted as QuotedMessage does.
inline constexpr std::string_view kEmptyIdMessage = "The id must not be empty";
inline constexpr std::string_view kIdControlMessage = "The id must not hold a control character: ";
inline constexpr std::string_view kBlankIdMessage = "The id must not be only blanks";
inline constexpr std::string_view kDuplicateIdMessage = "Another map already has the id ";
inline constexpr std::string_view kAreaControlMessage =
    "The area must not hold a control character: ";
inline constexpr std::string_view kDatumMessage = "The datum must be wgs84 or tokyo";
inline constexpr std::string_view kZoomMessage =
    "The zoom must be blank or a whole number from 0 to 21";
inline constexpr std::string_view kEmptyTemplateMessage = "The command template must not be empty";
inline constexpr std::string_view kTemplateControlMessage =
    "The command template must not hold a control character other than a tab or a line break: ";
inline constexpr std::string_view kLastMapMessage = "The last map cannot be deleted";
inline constexpr std::string_view kNoSuchMapMessage = "No map has the id ";
inline constexpr std::string_view kNoMapChosenMessage = "No map is chosen";
inline constexpr std::string_view kNotInCatalogueMessage = "The catalogue has no map with the id ";
inline constexpr std::string_view kNotChangedMessage = "The option file could not be changed";

// One option as the user edits it. Texts are the attributes' own ("" when absent), so that
// what the user did not change is written back as it was.
struct MapOption {
  std::string id;
  std::string area;
  std::string datum;             // "tokyo", "wgs84" or any text the file holds
  std::string zoom;              // "" or the attribute's text
  std::string command_template;  // the element's text, trimmed as the request path reads it
  bool operator==(const MapOption&) const = default;
};

// All options of a loaded document, in file order.
std::vector<MapOption> ReadMapOptions(const platform::XmlDocument& document);

// What a request hands the expansion for this option (datum, zoom attribute, template).
CommandOption CommandOptionOf(const MapOption& option);

// True when the root carries ask="true": a location request then lets the user choose the map.
bool AsksEachLink(const platform::XmlDocument& document);

// The message that refuses storing `option` among `options` (at `index`, or as a new option
// when nullopt): an empty id, an id with a control character or another option's id, an empty
// template, a zoom other than blank or a whole number 0..21. Empty when it may be stored.
std::string CheckMapOption(const MapOption& option, const std::vector<MapOption>& options,
                           std::optional<std::size_t> index);

// The position of the first map whose id is `id` (of the `twin`th after it that shares the
// id, counted from 0); nullopt when there is none.
std::optional<std::size_t> IndexOfMap(const std::vector<MapOption>& maps, std::string_view id,
                                      std::size_t twin = 0);

// Which of the maps sharing its id the map at `index` is (0: the first).
std::size_t TwinOf(const std::vector<MapOption>& maps, std::size_t index);

// The maps of `offered` (the catalogue's) whose ids `maps` lacks, in the catalogue's order.
std::vector<MapOption> MapsNotIn(const std::vector<MapOption>& offered,
                                 const std::vector<MapOption>& maps);

// Edits of a loaded document. Each returns the message that refused it, empty on success; a
// refused edit leaves the document as it was.
std::string AddMapOption(platform::XmlDocument& document, const MapOption& option);
std::string ReplaceMapOption(platform::XmlDocument& document, std::size_t index,
                             const MapOption& option);
// Removing the active option makes the first remaining one active; the last map stays.
std::string RemoveMapOption(platform::XmlDocument& document, std::size_t index);
std::string SetActiveOption(platform::XmlDocument& document, std::string_view id);
// true writes ask="true" on the root; false removes the attribute.
std::string SetAskEachLink(platform::XmlDocument& document, bool ask);

// One change that a user made in a window, named by ids rather than positions, so that it can
// be made again on the file as another program has left it meanwhile.
struct MapEdit {
  enum class Kind { kAdd, kReplace, kRemove, kChoose, kAsk };
  Kind kind = Kind::kAdd;
  std::string id;        // the map replaced, removed or chosen
  std::size_t twin = 0;  // which of the maps that share `id` is replaced or removed: 0 the first
  MapOption option;      // the map added, or what the replaced one becomes
  bool ask = false;      // kAsk: on or off
};

// Makes `edit` in the document: the edit functions above, the map found by its id. The
// refusal is theirs, or kNoSuchMapMessage for a map that is not there.
std::string ApplyMapEdit(platform::XmlDocument& document, const MapEdit& edit);

// Makes a window's edits, in order, in the option file as it is now; the refusal of the
// first that no longer applies says which edit and why (kStaleEditMessage).
inline constexpr std::string_view kStaleEditMessage =
    "Another program changed the option file meanwhile; nothing was saved. ";
std::string ApplyMapEdits(platform::XmlDocument& document, const std::vector<MapEdit>& edits);

}  // namespace tolvex
