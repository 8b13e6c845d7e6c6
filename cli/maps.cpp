#include "cli/maps.h"

#include <cstddef>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/expand.h"
#include "gateway/message_text.h"
#include "gateway/option_edit.h"
#include "gateway/option_save.h"
#include "gateway/option_store.h"
#include "gateway/place_formats.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/xml_document.h"
#include "services/system_services.h"

namespace tolvex::cli {
namespace {

constexpr std::string_view kShowUsage =
    "Usage: tolvex show [--options FILE] [--near LOCATION] LOCATION\n"
    "\n"
    "Prints the place in every format, one item a line as NAME<TAB>TEXT: coordinates, dms,\n"
    "geocode, pluscode, tolvex, geo, then map:ID for each map of the option file, the command\n"
    "line that map opens. LOCATION is any text that names a place, taken as expand takes it\n"
    "(\"-\" reads it from standard input).\n"
    "  --options FILE   read the maps from FILE\n"
    "  --near LOCATION  the place near a short plus code (MP5W+C5 needs one)\n";

constexpr std::string_view kMapsUsage =
    "Usage: tolvex maps [--options FILE] list\n"
    "       tolvex maps [--options FILE] add ID TEMPLATE [--area A] [--datum D] [--zoom Z]\n"
    "       tolvex maps [--options FILE] remove ID\n"
    "       tolvex maps [--options FILE] use ID\n"
    "       tolvex maps [--options FILE] ask on|off\n"
    "       tolvex maps [--options FILE] catalogue [ID...]\n"
    "\n"
    "Lists or changes the maps of the option file, under the option window's rules.\n"
    "  list       one map a line, ID<TAB>AREA<TAB>DATUM<TAB>ZOOM<TAB>TEMPLATE, each line\n"
    "             begun by \"* \" for the active map and by two blanks for the others\n"
    "  add        a new map (datum wgs84 or tokyo, default wgs84; zoom blank or 0 to 21)\n"
    "  remove     a map; removing the active one makes the first one left active\n"
    "  use        makes a map the active one\n"
    "  ask        on: every link lets the user choose the map; off: it opens the active one\n"
    "  catalogue  without IDs, lists the catalogue's maps that the file lacks (as list does);\n"
    "             with IDs, adds those maps from the catalogue\n"
    "Control characters in what list prints are written as %XX.\n"
    "Without --options, the file the gateway reads is changed: the user's own option file\n"
    "when it exists, else the one beside the gateway; a shared file that is not the user's to\n"
    "replace (or one marked read-only) stays as it is, and the change goes to the user's\n"
    "own file. A refused change leaves the file as it was. Writers take turns: a change\n"
    "waits up to five seconds for another program's change to the file to end.\n"
    "  --force    with --options, changes FILE even when it is marked read-only (the mark\n"
    "             stays)\n";

// A text for a line of tab-separated fields: control characters as messages write them, so
// that a tab or a line break in a text never splits a field or a line.
std::string Field(std::string_view text) { return QuoteForMessage(text, text.size()); }

// The option file loaded, or the message that says why it is not.
struct LoadedFile {
  std::string path;
  std::unique_ptr<platform::XmlDocument> document;
  std::string error;
};

LoadedFile LoadFile(const std::optional<std::string>& options) {
  LoadedFile file{options.value_or(SystemOptionFilePath()), platform::CreateXmlDocument(), {}};
  if (!file.document->Load(file.path)) {
    file.error =
        std::string(OptionLoadMessage(OptionLoadError::kCannotLoadFile)) + " (" + file.path + ")";
  }
  return file;
}

void PrintMaps(const std::vector<MapOption>& maps, std::string_view active) {
  for (const MapOption& map : maps) {
    std::cout << (map.id == active ? "* " : "  ") << Field(map.id) << '\t' << Field(map.area)
              << '\t' << Field(map.datum) << '\t' << Field(map.zoom) << '\t'
              << Field(map.command_template) << '\n';
  }
}

// The catalogue's maps, or the message that says why it does not load.
std::string ReadCatalogue(std::vector<MapOption>& offered) {
  const auto catalogue = platform::CreateXmlDocument();
  if (!catalogue->Load(platform::PathBesideProgram(kCatalogueFileName))) {
    return std::string(kCatalogueLoadFailedMessage);
  }
  offered = ReadMapOptions(*catalogue);
  return {};
}

}  // namespace

int RunShow(const std::vector<std::string_view>& arguments) {
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::cout << kShowUsage;
    return kExitSuccess;
  }
  std::vector<std::string_view> args = arguments;
  std::optional<std::string> options;
  std::optional<std::string> near;
  if (std::string error = TakeOptions(args, {{"--options", &options}, {"--near", &near}});
      !error.empty()) {
    return UsageError(error, kShowUsage);
  }
  if (args.empty()) return UsageError("no location given", kShowUsage);

  const std::string separator = platform::UserDecimalSeparator();
  const LocationArgument place =
      ReadLocationArgument(JoinWithSpaces(args), "show", separator, near);
  if (!place.location) return Fail(place.error);
  const LoadedFile file = LoadFile(options);
  if (!file.error.empty()) return Fail(file.error);
  for (const PlaceText& item :
       DescribePlace(*place.location, ReadMapOptions(*file.document), separator).Rows()) {
    std::cout << Field(item.name) << '\t' << Field(item.text) << '\n';
  }
  return kExitSuccess;
}

int RunMaps(const std::vector<std::string_view>& arguments) {
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::cout << kMapsUsage;
    return kExitSuccess;
  }
  std::vector<std::string_view> args = arguments;
  std::optional<std::string> options;
  std::optional<std::string> area;
  std::optional<std::string> datum;
  std::optional<std::string> zoom;
  bool force = false;
  if (std::string error = TakeOptions(
          args,
          {{"--options", &options}, {"--area", &area}, {"--datum", &datum}, {"--zoom", &zoom}},
          &force);
      !error.empty()) {
    return UsageError(error, kMapsUsage);
  }
  if (force && !options) return UsageError("--force goes with --options", kMapsUsage);
  if (args.empty()) return UsageError("no maps command given", kMapsUsage);
  const std::string_view command = args[0];
  const std::vector<std::string_view> operands(args.begin() + 1, args.end());
  const bool adds = command == "add";
  if (!adds && (area || datum || zoom)) {
    return UsageError("--area, --datum and --zoom go with add", kMapsUsage);
  }
  const std::size_t wanted = command == "list" ? 0 : adds ? 2 : 1;
  if (command != "list" && command != "add" && command != "remove" && command != "use" &&
      command != "ask" && command != "catalogue") {
    return UsageError(QuotedMessage("unknown maps command ", command), kMapsUsage);
  }
  if (command != "catalogue" && operands.size() != wanted) {
    return UsageError(std::string(command) + " takes " +
                          (wanted == 0 ? "no operand"
                           : adds      ? "an id and a template"
                                       : "one operand"),
                      kMapsUsage);
  }
  if (command == "ask" && operands[0] != "on" && operands[0] != "off") {
    return UsageError("ask takes on or off", kMapsUsage);
  }

  if (command == "list") {
    const LoadedFile file = LoadFile(options);
    if (!file.error.empty()) return Fail(file.error);
    const auto active = file.document->SelectSingleNode(kActiveIdQuery);
    PrintMaps(ReadMapOptions(*file.document), active ? active->Text() : std::string());
    return kExitSuccess;
  }
  if (command == "catalogue" && operands.empty()) {
    const LoadedFile file = LoadFile(options);
    if (!file.error.empty()) return Fail(file.error);
    std::vector<MapOption> offered;
    if (std::string error = ReadCatalogue(offered); !error.empty()) return Fail(error);
    PrintMaps(MapsNotIn(offered, ReadMapOptions(*file.document)), {});
    return kExitSuccess;
  }
  std::vector<MapOption> offered;
  if (command == "catalogue") {
    if (std::string error = ReadCatalogue(offered); !error.empty()) return Fail(error);
  }

  // Every change goes through the option window's rules, on the file as it is once this
  // writer's turn has come; a refused one writes nothing.
  const auto edit = [&](platform::XmlDocument& document) -> std::string {
    if (adds) {
      return AddMapOption(document, {std::string(operands[0]), area.value_or(""),
                                     datum.value_or(std::string(kDefaultDatum)), zoom.value_or(""),
                                     std::string(operands[1])});
    }
    if (command == "remove") {
      return ApplyMapEdit(document,
                          {MapEdit::Kind::kRemove, std::string(operands[0]), 0, {}, false});
    }
    if (command == "use") return SetActiveOption(document, operands[0]);
    if (command == "ask") return SetAskEachLink(document, operands[0] == "on");
    for (const std::string_view id : operands) {
      const auto index = IndexOfMap(offered, id);
      if (!index) return QuotedMessage(kNotInCatalogueMessage, id);
      if (std::string refusal = AddMapOption(document, offered[*index]); !refusal.empty()) {
        return refusal;
      }
    }
    return {};
  };
  OptionSaveServices save = SystemOptionSaveServices(options.value_or(SystemOptionFilePath()));
  // A file named on the command line is written where it is, or not at all.
  if (options) save.user_option_file_path.clear();
  save.force = force;
  const OptionChange change = ChangeOptionFile(save, edit);
  if (change.error != OptionChangeError::kNone) return Fail(OptionChangeMessage(change));
  return kExitSuccess;
}

}  // namespace tolvex::cli
