// The option file: which maps a location can be handed to, and which of them is active (the
// active option). The request path reads the active option (LoadActiveOption); the option
// dialog lists the maps, looks them up and stores the user's choice. Maps are always found by
// comparing ids, never by splicing an id into a query.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml_document.h"

namespace tolvex {

inline constexpr std::string_view kOptionFileName = "tolvexgwoption.xml";
inline constexpr std::string_view kManualFileName = "manual.htm";

// The option file a run reads: the user's own, `own` (empty where the system names no place
// for it), when `exists` finds it, otherwise the one beside the program, `beside`, which a
// shared install keeps for all of its users.
std::string OptionFileToRead(const std::string& own, const std::string& beside,
                             const std::function<bool(const std::string&)>& exists);

// The queries of the option file, run with the document as context node.
inline constexpr std::string_view kActiveIdQuery = "tolvexgateway_optionlist/@currentsetting";
inline constexpr std::string_view kOptionsQuery = "/tolvexgateway_optionlist/option";
inline constexpr std::string_view kFirstCurrentSettingQuery = "//@currentsetting";
inline constexpr std::string_view kFirstAreaQuery = "//@area";

// The datum names: only the exact value "tokyo" selects the Tokyo datum; the name used when an
// option has no `datum` attribute is "wgs84".
inline constexpr std::string_view kTokyoDatum = "tokyo";
inline constexpr std::string_view kDefaultDatum = "wgs84";
// The datum a name means, as the windows show it: "tokyo" for the exact "tokyo", else "wgs84".
constexpr std::string_view ShownDatum(std::string_view datum) {
  return datum == kTokyoDatum ? kTokyoDatum : kDefaultDatum;
}

enum class OptionLoadError {
  kNone,
  kCannotLoadFile,    // missing, unreadable, not well-formed, or has a DOCTYPE
  kNoCurrentSetting,  // the root element has no currentsetting attribute
  kNoSuchOption,      // no option has the id that currentsetting names
};

// The user-facing text of a load failure ("" for kNone).
std::string_view OptionLoadMessage(OptionLoadError error);

// What an option hands the template expansion.
struct CommandOption {
  std::string command_template;  // trimmed of leading and trailing XML white space
  std::string datum_name;        // the attribute's text unchanged, or "wgs84" when absent
  // The `zoom` attribute, when it is a whole number 0..21 (blanks around allowed); a link's own
  // zoom goes before it.
  std::optional<int> zoom = std::nullopt;
};

struct ActiveOption {
  OptionLoadError error = OptionLoadError::kNone;
  CommandOption option;  // set when error is kNone
};

// Loads `path` into `document` and reads the active option. `document` must be fresh.
ActiveOption LoadActiveOption(platform::XmlDocument& document, const std::string& path);

// The first option, in document order, whose id equals `id` exactly; null when none does.
std::unique_ptr<platform::XmlNode> FindOption(const platform::XmlDocument& document,
                                              std::string_view id);

// A `zoom` attribute's level: a whole number 0..21, blanks around allowed; nullopt for any other
// text, so that the default applies rather than a level the file's author did not mean.
std::optional<int> ZoomAttributeLevel(std::string_view text);

// An option element's command template: its text without leading and trailing XML white
// space (so a template on its own indented line works), inner text unchanged.
std::string CommandTemplateOf(const platform::XmlNode& option);

}  // namespace tolvex
