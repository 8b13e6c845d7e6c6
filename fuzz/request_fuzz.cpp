// The whole request path short of the shell: argument text -> classification -> option ->
// expansion of a fuzzed template with a fuzzed datum name -> the command line handed over.
//
// Invariants: only a valid location reaches expansion (its geocode passes the check, its
// position is in range); a template without "$" comes back unchanged; a lone named field is
// written only with sign text, digits, blanks and decimal points, or as it stands; an error
// launches nothing, and a link of the program's own scheme (or of geo:) neither; every message is
// valid UTF-8 of one line, quoting at most 200 characters of what it names; a link's zoom is a
// level 0..21 and "$zoom" writes digits.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "gateway/command_template.h"
#include "gateway/gateway.h"
#include "gateway/option_store.h"
#include "gateway/request.h"
#include "geocode/ostraline.h"
#include "platform/text.h"

namespace {

using tolvex::platform::XmlDocument;
using tolvex::platform::XmlNode;

// An option file of one option, answering exactly the queries of the option store.
class OneOptionDocument final : public XmlDocument {
 public:
  OneOptionDocument(std::string template_text, std::string datum)
      : template_(std::move(template_text)), datum_(std::move(datum)) {}

  bool Load(const std::string&) override { return true; }
  std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
    if (xpath == tolvex::kActiveIdQuery) return std::make_unique<TextNode>("A");
    return nullptr;
  }
  std::vector<std::unique_ptr<XmlNode>> SelectNodes(std::string_view xpath) const override {
    std::vector<std::unique_ptr<XmlNode>> nodes;
    if (xpath == tolvex::kOptionsQuery) nodes.push_back(std::make_unique<Option>(*this));
    return nodes;
  }
  std::optional<std::string> Serialize() const override { return std::nullopt; }

 private:
  class TextNode final : public XmlNode {
   public:
    explicit TextNode(std::string text) : text_(std::move(text)) {}
    std::string Text() const override { return text_; }
    bool SetText(std::string_view) override { return false; }
    bool SetAttribute(std::string_view, std::string_view) override { return false; }
    bool RemoveAttribute(std::string_view) override { return false; }
    std::unique_ptr<XmlNode> AppendElement(std::string_view, std::string_view) override {
      return nullptr;
    }
    bool Remove() override { return false; }
    std::unique_ptr<XmlNode> SelectSingleNode(std::string_view) const override { return nullptr; }

   private:
    std::string text_;
  };
  class Option final : public XmlNode {
   public:
    explicit Option(const OneOptionDocument& document) : document_(document) {}
    std::string Text() const override { return document_.template_; }
    bool SetText(std::string_view) override { return false; }
    bool SetAttribute(std::string_view, std::string_view) override { return false; }
    bool RemoveAttribute(std::string_view) override { return false; }
    std::unique_ptr<XmlNode> AppendElement(std::string_view, std::string_view) override {
      return nullptr;
    }
    bool Remove() override { return false; }
    std::unique_ptr<XmlNode> SelectSingleNode(std::string_view xpath) const override {
      if (xpath == "@id") return std::make_unique<TextNode>("A");
      if (xpath == "@datum") return std::make_unique<TextNode>(document_.datum_);
      return nullptr;
    }

   private:
    const OneOptionDocument& document_;
  };

  std::string template_;
  std::string datum_;
};

// Every message is valid UTF-8 and short, whatever bytes the argument or template held.
struct Recorder final : tolvex::platform::Shell, tolvex::platform::MessageSink {
  tolvex::platform::ShellOutcome Open(std::string_view file,
                                      const std::optional<std::string>&) override {
    launched.emplace_back(file);
    return tolvex::platform::ShellResult::kHandedOver;
  }
  // As where the gateway is the geo: handler.
  bool SchemeOpensThisProgram(std::string_view scheme) override { return scheme == "geo"; }
  void ShowError(std::string_view text, std::string_view) override {
    ++messages;
    FUZZ_CHECK(tolvex::ValidUtf8(text) == text);
    std::size_t characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    // A head of under 100 characters and at most 200 quoted ones, a control character written
    // out as three ("%0A") for each of its bytes, up to three ("%E2%80%A8"); never a line break
    // of any kind.
    FUZZ_CHECK(characters <= 100 + 9 * 200 + 1);
    FUZZ_CHECK(text.find_first_of("\r\n") == std::string_view::npos);
    for (const std::string_view line_break : {"\u0085", "\u2028", "\u2029"}) {
      FUZZ_CHECK(text.find(line_break) == std::string_view::npos);
    }
  }
  std::vector<std::string> launched;
  int messages = 0;
};

std::vector<std::string_view> SplitAtNul(std::string_view text, std::size_t pieces) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < pieces) {
    const std::size_t nul = text.find('\0');
    if (nul == std::string_view::npos) break;
    parts.push_back(text.substr(0, nul));
    text.remove_prefix(nul + 1);
  }
  parts.push_back(text);
  while (parts.size() < pieces) parts.emplace_back();
  return parts;
}

bool IsFieldCharacter(char c, std::string_view separator) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == '+' || c == '-' ||
         std::strchr("nsewNSEW", c) != nullptr || separator.find(c) != std::string_view::npos;
}

constexpr std::string_view kFieldNames[] = {"lat.d", "lat.m", "lat.s", "lat.r",
                                            "lon.d", "lon.m", "lon.s", "lon.r"};

}  // namespace

// Input: a flags byte (decimal separator, field name), then argument, template and datum
// name separated by NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view separator = (flags & 1) != 0 ? "," : ".";
  const auto parts =
      SplitAtNul(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), 3);
  const std::string_view argument = parts[0];
  const std::string template_text(parts[1]);
  const std::string datum(parts[2]);

  const tolvex::Request request = tolvex::ClassifyArgument(argument, separator);
  if (request.kind == tolvex::RequestKind::kLocation) {
    const tolvex::LatLon& position = request.location.position;
    FUZZ_CHECK(tolvex::IsOstralineCode(request.location.geocode));
    FUZZ_CHECK(position.latitude >= -90.0 && position.latitude <= 90.0);
    FUZZ_CHECK(position.longitude >= -180.0 && position.longitude <= 180.0);
    const auto zoom = request.location.zoom;
    FUZZ_CHECK(!zoom || (*zoom >= 0 && *zoom <= tolvex::kMaxZoom));
  }

  Recorder recorder;
  tolvex::GatewayServices services;
  services.messages = &recorder;
  services.shell = &recorder;
  services.create_document = [&] {
    return std::make_unique<OneOptionDocument>(template_text, datum);
  };
  services.decimal_separator = std::string(separator);
  int dialogs = 0;
  services.show_option_dialog = [&] { return ++dialogs, 0; };
  tolvex::RunGateway(argument, services);

  if (request.kind != tolvex::RequestKind::kLocation) {
    FUZZ_CHECK(recorder.launched.empty());
    FUZZ_CHECK(recorder.messages + dialogs == 1);
    return 0;
  }
  // What was launched is the expansion of the trimmed template, unless it is a link back here.
  tolvex::CommandOption option{
      tolvex::CommandTemplateOf(
          *OneOptionDocument(template_text, datum).SelectNodes(tolvex::kOptionsQuery).front()),
      datum};
  const auto expand = [&] {
    return tolvex::ExpandCommandTemplate(request.location, option, separator);
  };
  if (const std::string scheme = tolvex::LinkSchemeOf(expand());
      scheme == "tolvex" || scheme == "geo") {
    FUZZ_CHECK(recorder.messages == 1 && recorder.launched.empty());
    return 0;
  }
  FUZZ_CHECK(recorder.messages == 0 && recorder.launched.size() == 1);
  FUZZ_CHECK(recorder.launched[0] == expand());
  if (option.command_template.find('$') == std::string::npos) {
    FUZZ_CHECK(recorder.launched[0] == option.command_template);
  }

  // One named field alone, its format text taken from the template up to any ")".
  const std::string format = template_text.substr(0, template_text.find(')'));
  // Appended piece by piece: GCC 12 misreports "$" + std::string under -O3 (-Wrestrict).
  std::string field = "$";
  field += kFieldNames[(flags >> 1) & 7];
  field += '(';
  field += format;
  field += ')';
  option.command_template = field;
  const std::string rendered = expand();
  if (rendered != field) {
    for (char c : rendered) FUZZ_CHECK(IsFieldCharacter(c, separator));
  }
  option.command_template = "$ost";
  FUZZ_CHECK(tolvex::IsOstralineCode(expand()));
  option.command_template = "$zoom";
  const std::string zoom = expand();
  FUZZ_CHECK(!zoom.empty() && zoom.size() <= 2 &&
             zoom.find_first_not_of("0123456789") == zoom.npos);
  return 0;
}
