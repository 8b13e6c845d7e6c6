#include "gateway/option_store.h"

#include <charconv>

#include "gateway/request.h"
#include "platform/text.h"

namespace tolvex {

std::string OptionFileToRead(const std::string& own, const std::string& beside,
                             const std::function<bool(const std::string&)>& exists) {
  return !own.empty() && exists(own) ? own : beside;
}

// A link's zoom is read otherwise on purpose (ZoomLevel: any number, rounded and held to
// 0..21): maps and phones write "z=12.5" or "z=25" and mean the nearest level, while the
// attribute is written by hand as the manual shows it, and a slip there must not be bent into
// some level.
std::optional<int> ZoomAttributeLevel(std::string_view text) {
  const std::string_view digits = Trim(text, kBlanks);
  if (digits.empty() || digits.front() == '-') return std::nullopt;
  int level = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), level);
  if (error != std::errc() || end != digits.data() + digits.size() || level > kMaxZoom) {
    return std::nullopt;
  }
  return level;
}

std::string_view OptionLoadMessage(OptionLoadError error) {
  switch (error) {
    case OptionLoadError::kNone:
      return "";
    case OptionLoadError::kCannotLoadFile:
      return "Can't Load Option File";
    case OptionLoadError::kNoCurrentSetting:
      return "Can't Load Option file. XML file may be collasped.";
    case OptionLoadError::kNoSuchOption:
      return "Can't Load Current Value. XML file may be collasped.";
  }
  return "";
}

std::unique_ptr<platform::XmlNode> FindOption(const platform::XmlDocument& document,
                                              std::string_view id) {
  for (auto& option : document.SelectNodes(kOptionsQuery)) {
    const auto option_id = option->SelectSingleNode("@id");
    if (option_id && option_id->Text() == id) return std::move(option);
  }
  return nullptr;
}

std::string CommandTemplateOf(const platform::XmlNode& option) {
  return std::string(Trim(option.Text(), kXmlWhiteSpace));
}

ActiveOption LoadActiveOption(platform::XmlDocument& document, const std::string& path) {
  ActiveOption active;
  if (!document.Load(path)) {
    active.error = OptionLoadError::kCannotLoadFile;
    return active;
  }
  const auto active_id = document.SelectSingleNode(kActiveIdQuery);
  if (!active_id) {
    active.error = OptionLoadError::kNoCurrentSetting;
    return active;
  }
  const auto option = FindOption(document, active_id->Text());
  if (!option) {
    active.error = OptionLoadError::kNoSuchOption;
    return active;
  }
  active.option.command_template = CommandTemplateOf(*option);
  const auto datum = option->SelectSingleNode("@datum");
  active.option.datum_name = datum ? datum->Text() : std::string(kDefaultDatum);
  if (const auto zoom = option->SelectSingleNode("@zoom"))
    active.option.zoom = ZoomAttributeLevel(zoom->Text());
  return active;
}

}  // namespace tolvex
