#include "gateway/option_edit.h"

#include "gateway/text.h"

namespace tolvex {
namespace {

constexpr std::string_view kAskQuery = "tolvexgateway_optionlist/@ask";

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

}  // namespace tolvex
