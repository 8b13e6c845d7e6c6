// tolvex: geocode conversions for scripts.
//
//   tolvex encode LAT LON     -> geocode
//   tolvex decode CODE        -> LAT LON
//   tolvex tokyo LAT LON      -> Tokyo-datum LAT LON of a WGS84 position
//   tolvex expand LOCATION    -> the command line a TolVex: link would open
//   tolvex show LOCATION      -> the place of a link (or any place text) in every format
//   tolvex maps ...           -> the option file's maps, listed and edited
//
// Without positional arguments each command reads one item a line from standard input.
// Numbers are read and written with "." whatever the locale.
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "cli/expand.h"
#include "cli/maps.h"
#include "gateway/message_text.h"
#include "gateway/number_text.h"
#include "gateway/request.h"
#include "geocode/datum.h"
#include "geocode/ostraline.h"
#include "platform/text.h"
#include "version.h"

#ifdef _WIN32
#include "platform/win32/text_win32.h"
#endif

namespace {

constexpr std::string_view kUsage =
    "Usage: tolvex encode [LAT LON]\n"
    "       tolvex decode [CODE]\n"
    "       tolvex tokyo [LAT LON]\n"
    "       tolvex expand [--options FILE | --template TEXT [--datum NAME]] [--near LOCATION]\n"
    "                     LOCATION\n"
    "       tolvex show [--options FILE] [--near LOCATION] LOCATION\n"
    "       tolvex maps [--options FILE] list | add ID TEMPLATE [--area A] [--datum D]\n"
    "                   [--zoom Z] | remove ID | use ID | ask on|off | catalogue [ID...]\n"
    "       tolvex --help | --version\n"
    "\n"
    "  encode  print the geocode (AAd.AAd.AAd.AAd) of a WGS84 position\n"
    "  decode  print the WGS84 latitude and longitude of a geocode\n"
    "  tokyo   print the Tokyo-datum latitude and longitude of a WGS84 position\n"
    "  expand  print the command line that a TolVex: link would open (tolvex expand --help)\n"
    "  show    print the place of a link in every format (tolvex show --help)\n"
    "  maps    list or change the maps of the option file (tolvex maps --help)\n"
    "\n"
    "Latitude and longitude are decimal degrees, north and east positive, written as links\n"
    "write them: an optional sign, digits and one \".\", no exponent (expand reads and writes\n"
    "numbers as the gateway does, in the user's locale).\n"
    "Without arguments, each command reads standard input, one item a line (\"LAT LON\",\n"
    "\"LAT,LON\" or \"LAT;LON\"; a geocode for decode), and writes one result a line.\n"
    "Exit status: 0 on success, 1 when an input was bad, 2 on a usage error.\n";

using tolvex::LatLon;
using tolvex::QuotedMessage;
using tolvex::cli::kExitBadInput;
using tolvex::cli::kExitSuccess;
using tolvex::cli::UsageError;

// What one item produced: a result line or the reason it was refused.
struct Outcome {
  std::string text;
  bool ok = true;
};

Outcome Fail(std::string message) { return {std::move(message), false}; }

std::string_view TrimBlanks(std::string_view text) {
  return tolvex::Trim(text, tolvex::kAsciiWhiteSpace);
}

std::string FormatDouble(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A number as a link writes it, with "." whatever the locale.
std::optional<double> ParseNumber(std::string_view text, std::string& error) {
  const auto value = tolvex::ParseLinkNumber(text, ".");
  if (!value) error = QuotedMessage("", text) + " is not a number";
  return value;
}

// A position under the pair rules of a link, each refusal naming the part at fault.
std::optional<LatLon> ParsePosition(std::string_view latitude_text, std::string_view longitude_text,
                                    std::string& error) {
  const auto latitude = ParseNumber(latitude_text, error);
  if (!latitude) return std::nullopt;
  const auto longitude = ParseNumber(longitude_text, error);
  if (!longitude) return std::nullopt;
  if (!tolvex::IsLatitude(*latitude)) {
    error = QuotedMessage("latitude ", latitude_text) + " is outside -90...90";
    return std::nullopt;
  }
  if (!tolvex::IsLongitude(*longitude)) {
    error = QuotedMessage("longitude ", longitude_text) + " is outside -180...180";
    return std::nullopt;
  }
  return LatLon{*latitude, *longitude};
}

// A line "LAT LON", or "LAT,LON" and "LAT;LON" as a link's pair (blanks around the numbers are
// allowed).
std::optional<LatLon> ParsePositionLine(std::string_view line, std::string& error) {
  const auto not_a_position = [&](std::string_view expected) {
    error = QuotedMessage("", line) + " is not a position (expected " + std::string(expected) + ")";
    return std::nullopt;
  };
  if (line.find_first_of(",;") != std::string_view::npos) {
    const auto pair = tolvex::SplitCoordinatePair(line);
    if (!pair) return not_a_position("two numbers");
    return ParsePosition(TrimBlanks(pair->latitude), TrimBlanks(pair->longitude), error);
  }
  const auto blank = line.find_first_of(" \t");
  if (blank == std::string_view::npos) {
    return not_a_position("\"LAT LON\", \"LAT,LON\" or \"LAT;LON\"");
  }
  const std::string_view second = TrimBlanks(line.substr(blank + 1));
  if (second.find_first_of(" \t") != std::string_view::npos) return not_a_position("two numbers");
  return ParsePosition(line.substr(0, blank), second, error);
}

Outcome Encode(const LatLon& position) {
  return {tolvex::LatLonToOstraline(position.latitude, position.longitude)};
}

Outcome Tokyo(const LatLon& position) {
  const auto tokyo = tolvex::ConvertToTokyoDatum(position.latitude, position.longitude);
  return {FormatDouble(tokyo.latitude) + " " + FormatDouble(tokyo.longitude)};
}

Outcome Decode(std::string_view code) {
  if (!tolvex::IsOstralineCode(code)) {
    return Fail(QuotedMessage("", code) +
                " is not a geocode (expected AAd.AAd.AAd.AAd: capital letters A-Z, digits 0-9)");
  }
  return {FormatDouble(tolvex::OstralineToLatitude(code)) + " " +
          FormatDouble(tolvex::OstralineToLongitude(code))};
}

enum class Command { kEncode, kDecode, kTokyo };

Outcome RunPositionCommand(Command command, std::optional<LatLon> position,
                           const std::string& error) {
  if (!position) return Fail(error);
  return command == Command::kEncode ? Encode(*position) : Tokyo(*position);
}

Outcome RunLine(Command command, std::string_view line) {
  if (command == Command::kDecode) return Decode(line);
  std::string error;
  const auto position = ParsePositionLine(line, error);
  return RunPositionCommand(command, position, error);
}

int RunStdin(Command command) {
  int status = kExitSuccess;
  std::string line;
  for (long number = 1; std::getline(std::cin, line); ++number) {
    const std::string_view item = TrimBlanks(line);
    if (item.empty()) continue;
    const Outcome outcome = RunLine(command, item);
    if (outcome.ok) {
      std::cout << outcome.text << '\n';
    } else {
      std::cerr << "tolvex: line " << number << ": " << outcome.text << '\n';
      status = kExitBadInput;
    }
  }
  return status;
}

int Report(const Outcome& outcome) {
  if (!outcome.ok) {
    std::cerr << "tolvex: " << outcome.text << '\n';
    return kExitBadInput;
  }
  std::cout << outcome.text << '\n';
  return kExitSuccess;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.empty()) return UsageError("no command given", kUsage);
  const std::string_view name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    std::cout << kUsage;
    return kExitSuccess;
  }
  if (name == "--version") {
    std::cout << "tolvex " TOLVEX_VERSION "\n";
    return kExitSuccess;
  }
  const std::vector<std::string_view> rest(args.begin() + 1, args.end());
  if (name == "expand") return tolvex::cli::RunExpand(rest);
  if (name == "show") return tolvex::cli::RunShow(rest);
  if (name == "maps") return tolvex::cli::RunMaps(rest);
  Command command;
  if (name == "encode") {
    command = Command::kEncode;
  } else if (name == "decode") {
    command = Command::kDecode;
  } else if (name == "tokyo") {
    command = Command::kTokyo;
  } else {
    return UsageError(QuotedMessage("unknown command ", name), kUsage);
  }

  // Everything after the command is positional; "--" may separate it (negative numbers are
  // no options).
  std::vector<std::string_view> operands = rest;
  if (!operands.empty() && operands.front() == "--") operands.erase(operands.begin());
  if (operands.empty()) return RunStdin(command);

  if (command == Command::kDecode) {
    if (operands.size() != 1) return UsageError("decode takes one geocode", kUsage);
    return Report(Decode(operands[0]));
  }
  std::string error;
  std::optional<LatLon> position;
  if (operands.size() == 2) {
    position = ParsePosition(operands[0], operands[1], error);
  } else if (operands.size() == 1) {
    position = ParsePositionLine(operands[0], error);
  } else {
    return UsageError(std::string(name) + " takes a latitude and a longitude", kUsage);
  }
  return Report(RunPositionCommand(command, position, error));
}

}  // namespace

namespace {

int RunAndFlush(const std::vector<std::string_view>& args) {
  const int status = Run(args);
  std::cout.flush();
  return std::cout ? status : kExitBadInput;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over as UTF-16, whatever the ANSI code page: the narrow ones
// would carry only what that code page holds. Each becomes UTF-8 here, as the tool keeps it.
int wmain(int argc, wchar_t** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> texts;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view wide = argv[i];
    texts.push_back(tolvex::platform::win32::Utf8FromUtf16(wide));
    // Half of a surrogate pair is no character: no file, no map and no link can hold it.
    for (std::size_t at = 0; at < wide.size(); ++at) {
      const wchar_t unit = wide[at];
      const bool high = unit >= 0xD800 && unit <= 0xDBFF;
      if (high && at + 1 < wide.size() && wide[at + 1] >= 0xDC00 && wide[at + 1] <= 0xDFFF) {
        ++at;
      } else if (high || (unit >= 0xDC00 && unit <= 0xDFFF)) {
        constexpr char kHex[] = "0123456789ABCDEF";
        std::string code = "U+";
        for (int shift = 12; shift >= 0; shift -= 4) code += kHex[(unit >> shift) & 0xF];
        std::cerr << "tolvex: " << QuotedMessage("", texts.back()) << " holds a lone surrogate ("
                  << code << "), which is no character\n";
        return kExitBadInput;
      }
    }
  }
  return RunAndFlush(std::vector<std::string_view>(texts.begin(), texts.end()));
}
#else
int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return RunAndFlush(std::vector<std::string_view>(argv + 1, argv + argc));
}
#endif
