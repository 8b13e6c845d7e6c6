#include "gateway/option_edit.h"

#include <memory>

#include "gateway/message_text.h"
#include "platform/text.h"

namespace tolvex {
namespace {

constexpr std::string_view kAskQuery = "tolvexgateway_optionlist/@ask";
constexpr std::string_view kRootQuery = "/tolvexgateway_optionlist";
// The white space that indents an element on its own line: the text right before it.
constexpr std::string_view kIndentQuery = "preceding-sibling::node()[1][self::text()]";
// A new option's indentation when the list holds none to copy it from.
constexpr std::string_view kDefaultIndent = "\n  ";

// The refusal of a text that an option file cannot hold as it was typed: bytes that are not
// UTF-8, a character XML cannot hold (U+FFFE, U+FFFF), or a control character that `allowed`
// does not name (`control_message`). Empty when the text may be stored.
std::string TextRefusal(std::string_view what, std::string_view text, std::string_view allowed,
                        std::string_view control_message) {
  for (std::string_view rest = text; !rest.empty();) {
    const std::size_t length = Utf8CharacterLength(rest);
    if (length == 0) {
      return QuotedMessage("The " + std::string(what) + " is not UTF-8 text: ", text);
    }
    const auto byte = static_cast<unsigned char>(rest.front());
    if ((byte < 0x20 || byte == 0x7F) && allowed.find(rest.front()) == std::string_view::npos) {
      return QuotedMessage(control_message, text);
    }
    if (rest.starts_with("\xEF\xBF\xBE") || rest.starts_with("\xEF\xBF\xBF")) {
      const std::string_view name = rest[2] == '\xBE' ? "U+FFFE" : "U+FFFF";
      return QuotedMessage("The " + std::string(what) + " must not hold " + std::string(name) +
                               ", which an option file cannot hold: ",
                           text);
    }
    rest.remove_prefix(length);
  }
  return {};
}

std::unique_ptr<platform::XmlNode> OptionElement(const platform::XmlDocument& document,
                                                 std::size_t index) {
  auto elements = document.SelectNodes(kOptionsQuery);
  if (index >= elements.size()) return nullptr;
  return std::move(elements[index]);
}

// The white space before `element` when it stands on a line of its own; empty otherwise.
std::string IndentOf(const platform::XmlNode& element) {
  const auto before = element.SelectSingleNode(kIndentQuery);
  if (!before) return {};
  std::string text = before->Text();
  return Trim(text, kXmlWhiteSpace).empty() ? text : std::string();
}

// Writes `text` as attribute `name`, or removes the attribute when `text` is empty (an absent
// attribute reads as empty).
bool WriteAttribute(platform::XmlNode& element, std::string_view name, const std::string& text) {
  return text.empty() ? element.RemoveAttribute(name) : element.SetAttribute(name, text);
}

// Points `currentsetting` at `id` when it named `old_id` and no option has that id any more:
// the active option keeps being found after a rename or a removal.
bool FollowActive(platform::XmlDocument& document, const std::string& old_id,
                  const std::string& id) {
  const auto current = document.SelectSingleNode(kActiveIdQuery);
  if (!current || current->Text() != old_id || FindOption(document, old_id)) return true;
  return current->SetText(id);
}

std::string AttributeText(const platform::XmlNode& element, std::string_view xpath) {
  const auto attribute = element.SelectSingleNode(xpath);
  return attribute ? attribute->Text() : std::string();
}

}  // namespace

std::vector<MapOption> ReadMapOptions(const platform::XmlDocument& document) {
  std::vector<MapOption> options;
  for (const auto& element : document.SelectNodes(kOptionsQuery)) {
    options.push_back({AttributeText(*element, "@id"), AttributeText(*element, "@area"),
                       AttributeText(*element, "@datum"), AttributeText(*element, "@zoom"),
                       CommandTemplateOf(*element)});
  }
  return options;
}

CommandOption CommandOptionOf(const MapOption& option) {
  // As the request path reads the element: an absent datum is WGS84, a zoom that is no level
  // gives none.
  return {option.command_template, option.datum.empty() ? std::string(kDefaultDatum) : option.datum,
          option.zoom.empty() ? std::nullopt : ZoomAttributeLevel(option.zoom)};
}

bool AsksEachLink(const platform::XmlDocument& document) {
  const auto ask = document.SelectSingleNode(kAskQuery);
  return ask && ask->Text() == "true";
}

std::string CheckMapOption(const MapOption& option, const std::vector<MapOption>& options,
                           std::optional<std::size_t> index) {
  if (option.id.empty()) return std::string(kEmptyIdMessage);
  if (std::string refusal = TextRefusal("id", option.id, "", kIdControlMessage); !refusal.empty()) {
    return refusal;
  }
  if (Trim(option.id, kBlanks).empty()) return std::string(kBlankIdMessage);
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (i != index && options[i].id == option.id) {
      return QuotedMessage(kDuplicateIdMessage, option.id);
    }
  }
  if (std::string refusal = TextRefusal("area", option.area, "", kAreaControlMessage);
      !refusal.empty()) {
    return refusal;
  }
  // A datum the file already holds stays as it is; a new one is one the window offers.
  const bool kept_datum = index && *index < options.size() && options[*index].datum == option.datum;
  if (!kept_datum && !option.datum.empty() && option.datum != kDefaultDatum &&
      option.datum != kTokyoDatum) {
    return std::string(kDatumMessage);
  }
  if (!Trim(option.zoom, kBlanks).empty() && !ZoomAttributeLevel(option.zoom)) {
    return std::string(kZoomMessage);
  }
  if (Trim(option.command_template, kXmlWhiteSpace).empty()) {
    return std::string(kEmptyTemplateMessage);
  }
  return TextRefusal("command template", option.command_template, "\t\n\r",
                     kTemplateControlMessage);
}

std::string AddMapOption(platform::XmlDocument& document, const MapOption& option) {
  const auto root = document.SelectSingleNode(kRootQuery);
  if (!root) return std::string(OptionLoadMessage(OptionLoadError::kCannotLoadFile));
  std::string refusal = CheckMapOption(option, ReadMapOptions(document), std::nullopt);
  if (!refusal.empty()) return refusal;

  // The new option goes after the others, indented as the last of them.
  const auto elements = document.SelectNodes(kOptionsQuery);
  const std::string indent =
      elements.empty() ? std::string(kDefaultIndent) : IndentOf(*elements.back());
  const auto element = root->AppendElement("option", indent);
  if (!element) return std::string(kNotChangedMessage);
  const bool written =
      element->SetAttribute("id", option.id) && WriteAttribute(*element, "area", option.area) &&
      WriteAttribute(*element, "datum", option.datum) &&
      WriteAttribute(*element, "zoom", option.zoom) && element->SetText(option.command_template);
  if (!written) {
    // Whole or not at all: take out what was added.
    if (const auto before = element->SelectSingleNode(kIndentQuery); before && !indent.empty()) {
      before->Remove();
    }
    element->Remove();
    return std::string(kNotChangedMessage);
  }
  return {};
}

std::string ReplaceMapOption(platform::XmlDocument& document, std::size_t index,
                             const MapOption& option) {
  const std::vector<MapOption> options = ReadMapOptions(document);
  const auto element = OptionElement(document, index);
  if (!element) return std::string(kNoMapChosenMessage);
  std::string refusal = CheckMapOption(option, options, index);
  if (!refusal.empty()) return refusal;

  // Only what changed is written: an untouched template keeps its layout, comments and CDATA.
  const MapOption& old = options[index];
  bool written = true;
  if (option.id != old.id) written = written && element->SetAttribute("id", option.id);
  if (option.area != old.area) written = written && WriteAttribute(*element, "area", option.area);
  if (option.datum != old.datum) {
    written = written && WriteAttribute(*element, "datum", option.datum);
  }
  if (option.zoom != old.zoom) written = written && WriteAttribute(*element, "zoom", option.zoom);
  if (option.command_template != old.command_template) {
    written = written && element->SetText(option.command_template);
  }
  if (option.id != old.id) written = written && FollowActive(document, old.id, option.id);
  return written ? std::string() : std::string(kNotChangedMessage);
}

std::string RemoveMapOption(platform::XmlDocument& document, std::size_t index) {
  const std::vector<MapOption> options = ReadMapOptions(document);
  const auto element = OptionElement(document, index);
  if (!element) return std::string(kNoMapChosenMessage);
  if (options.size() <= 1) return std::string(kLastMapMessage);

  // The option's line goes with it: the white space that indented it.
  if (const auto before = element->SelectSingleNode(kIndentQuery);
      before && Trim(before->Text(), kXmlWhiteSpace).empty()) {
    before->Remove();
  }
  if (!element->Remove()) return std::string(kNotChangedMessage);
  const std::string& first_left = options[index == 0 ? 1 : 0].id;
  return FollowActive(document, options[index].id, first_left) ? std::string()
                                                               : std::string(kNotChangedMessage);
}

std::optional<std::size_t> IndexOfMap(const std::vector<MapOption>& maps, std::string_view id,
                                      std::size_t twin) {
  for (std::size_t i = 0; i < maps.size(); ++i) {
    if (maps[i].id == id && twin-- == 0) return i;
  }
  return std::nullopt;
}

std::size_t TwinOf(const std::vector<MapOption>& maps, std::size_t index) {
  std::size_t twin = 0;
  for (std::size_t i = 0; i < index && i < maps.size(); ++i) {
    if (maps[i].id == maps[index].id) ++twin;
  }
  return twin;
}

std::vector<MapOption> MapsNotIn(const std::vector<MapOption>& offered,
                                 const std::vector<MapOption>& maps) {
  std::vector<MapOption> missing;
  for (const MapOption& map : offered) {
    if (!IndexOfMap(maps, map.id)) missing.push_back(map);
  }
  return missing;
}

std::string ApplyMapEdit(platform::XmlDocument& document, const MapEdit& edit) {
  switch (edit.kind) {
    case MapEdit::Kind::kAdd:
      return AddMapOption(document, edit.option);
    case MapEdit::Kind::kReplace:
    case MapEdit::Kind::kRemove: {
      const auto index = IndexOfMap(ReadMapOptions(document), edit.id, edit.twin);
      if (!index) return QuotedMessage(kNoSuchMapMessage, edit.id);
      return edit.kind == MapEdit::Kind::kRemove ? RemoveMapOption(document, *index)
                                                 : ReplaceMapOption(document, *index, edit.option);
    }
    case MapEdit::Kind::kChoose:
      return SetActiveOption(document, edit.id);
    case MapEdit::Kind::kAsk:
      return SetAskEachLink(document, edit.ask);
  }
  return std::string(kNotChangedMessage);
}

std::string ApplyMapEdits(platform::XmlDocument& document, const std::vector<MapEdit>& edits) {
  for (const MapEdit& edit : edits) {
    std::string refusal = ApplyMapEdit(document, edit);
    if (refusal.empty()) continue;
    std::string what;
    switch (edit.kind) {
      case MapEdit::Kind::kAdd:
        what = QuotedMessage("Adding the map ", edit.option.id);
        break;
      case MapEdit::Kind::kReplace:
        what = QuotedMessage("Editing the map ", edit.id);
        break;
      case MapEdit::Kind::kRemove:
        what = QuotedMessage("Deleting the map ", edit.id);
        break;
      case MapEdit::Kind::kChoose:
        what = QuotedMessage("Choosing the map ", edit.id);
        break;
      case MapEdit::Kind::kAsk:
        what = "Letting each link choose the map";
        break;
    }
    std::string message(kStaleEditMessage);
    message.append(what).append(": ").append(refusal);
    return message;
  }
  return {};
}

std::string SetActiveOption(platform::XmlDocument& document, std::string_view id) {
  const auto root = document.SelectSingleNode(kRootQuery);
  if (!root) return std::string(OptionLoadMessage(OptionLoadError::kCannotLoadFile));
  if (!FindOption(document, id)) return QuotedMessage(kNoSuchMapMessage, id);
  return root->SetAttribute("currentsetting", id) ? std::string() : std::string(kNotChangedMessage);
}

std::string SetAskEachLink(platform::XmlDocument& document, bool ask) {
  const auto root = document.SelectSingleNode(kRootQuery);
  if (!root) return std::string(OptionLoadMessage(OptionLoadError::kCannotLoadFile));
  const bool written = ask ? root->SetAttribute("ask", "true") : root->RemoveAttribute("ask");
  return written ? std::string() : std::string(kNotChangedMessage);
}

}  // namespace tolvex
