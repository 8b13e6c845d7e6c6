#include "cli/expand.h"

#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "gateway/command_template.h"
#include "gateway/gateway.h"
#include "gateway/message_text.h"
#include "gateway/option_store.h"
#include "gateway/request.h"
#include "place/place_text.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/xml_document.h"
#include "services/system_services.h"

namespace tolvex::cli {
namespace {

constexpr std::string_view kExpandUsage =
    "Usage: tolvex expand [--options FILE | --template TEXT [--datum NAME]] [--near LOCATION]\n"
    "                     LOCATION\n"
    "\n"
    "Prints the command line that a TolVex: or geo: link would open, without opening it.\n"
    "LOCATION is any text that names a place: the whole link (TolVex:SD9.XC4.EQ2.CV5,\n"
    "geo:35.6586,139.7454?z=12) or the location alone, a map service's link, a plus code\n"
    "(8Q7XMP5W+C5), coordinates as written (35\u00B039'30.9\"N 139\u00B044'43.6\"E), or a message\n"
    "that holds a link; \"-\" reads it from standard input. Nothing is fetched from the web.\n"
    "  --options FILE   read the active option from FILE\n"
    "  --template TEXT  expand TEXT instead of an option's template\n"
    "  --datum NAME     the datum for --template (\"tokyo\" shifts; default wgs84)\n"
    "  --near LOCATION  the place near a short plus code (MP5W+C5 needs one)\n"
    "Without --options or --template, the user's own option file is read when it exists,\n"
    "else the one beside the gateway.\n";

struct ExpandArguments {
  std::optional<std::string> options_file;
  std::optional<std::string> template_text;
  std::optional<std::string> datum;
  std::optional<std::string> near;
  std::string location;
};

// Reads the options; returns an error text, or "" when the words are usable.
std::string ParseArguments(std::vector<std::string_view> args, ExpandArguments& out) {
  if (std::string error = TakeOptions(args, {{"--options", &out.options_file},
                                             {"--template", &out.template_text},
                                             {"--datum", &out.datum},
                                             {"--near", &out.near}});
      !error.empty()) {
    return error;
  }
  if (out.options_file && out.template_text) return "--options and --template exclude each other";
  if (out.datum && !out.template_text) return "--datum goes with --template";
  if (args.empty()) return "no location given";
  // Words are joined as the gateway joins its arguments.
  out.location = JoinWithSpaces(args);
  return "";
}

}  // namespace

LocationArgument ReadLocationArgument(std::string_view text, std::string_view command,
                                      std::string_view separator,
                                      const std::optional<std::string>& near) {
  PlaceTextContext context{separator, std::nullopt};
  if (near) {
    const PlaceTextReading reference = ReadPlaceText(*near, context);
    if (!reference.location) {
      return {std::nullopt, "--near: " + (reference.option_request ? InvalidLocationMessage(*near)
                                                                   : reference.message)};
    }
    context.near = reference.location->position;
  }
  std::string pasted;
  if (text == "-") {
    // A pasted message, read whole.
    pasted.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    text = pasted;
  }
  PlaceTextReading reading = ReadPlaceText(text, context);
  if (reading.option_request) {
    return {std::nullopt,
            "\"option\" opens the option dialog; " + std::string(command) + " needs a location"};
  }
  if (!reading.location) return {std::nullopt, std::move(reading.message)};
  return {std::move(reading.location), {}};
}

int RunExpand(const std::vector<std::string_view>& args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kExpandUsage;
    return kExitSuccess;
  }
  ExpandArguments arguments;
  if (const std::string error = ParseArguments(args, arguments); !error.empty()) {
    return UsageError(error, kExpandUsage);
  }

  const std::string separator = platform::UserDecimalSeparator();
  const LocationArgument request =
      ReadLocationArgument(arguments.location, "expand", separator, arguments.near);
  if (!request.location) return Fail(request.error);

  std::string command_line;
  if (arguments.template_text) {
    const CommandOption option{*arguments.template_text,
                               arguments.datum.value_or(std::string(kDefaultDatum))};
    command_line = ExpandCommandTemplate(*request.location, option, separator);
  } else {
    const std::string path = arguments.options_file.value_or(SystemOptionFilePath());
    const auto document = platform::CreateXmlDocument();
    ExpandedCommand command = ExpandActiveOption(*request.location, *document, path, separator);
    if (command.error != OptionLoadError::kNone) {
      return Fail(std::string(OptionLoadMessage(command.error)) + " (" + path + ")");
    }
    command_line = std::move(command.command_line);
  }
  // One line, whatever the template holds: control characters as messages write them.
  std::cout << QuoteForMessage(command_line, command_line.size()) << '\n';
  return kExitSuccess;
}

}  // namespace tolvex::cli
