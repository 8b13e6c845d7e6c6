// Any map that the edit rules accept loads back equal once saved: the id, area and template
// (split from the input at NUL bytes) go through the check, the option file is written and read
// again from disk, and the map read back is the one added (its template trimmed as every
// reader trims it). A refused map leaves the document unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "platform/text.h"
#include "platform/xml_document.h"

namespace {

const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/tolvex-edit-fuzz-" +
           std::to_string(getpid()) + ".xml";
  }();
  return path;
}

void Write(const std::string& bytes) {
  std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  while (parts.size() < 2) {
    const std::size_t end = input.find('\0');
    parts.emplace_back(input.substr(0, end));
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  }
  parts.emplace_back(input);
  const tolvex::MapOption added{parts[0], parts[1], "wgs84", "", parts[2]};

  Write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tolvexgateway_optionlist currentsetting=\"A\">\n"
        "  <option id=\"A\" area=\"a\">a $ost</option>\n"
        "</tolvexgateway_optionlist>\n");
  auto document = tolvex::platform::CreateXmlDocument();
  FUZZ_CHECK(document->Load(ScratchPath()));
  const auto before = document->Serialize();
  if (!tolvex::AddMapOption(*document, added).empty()) {
    FUZZ_CHECK(document->Serialize() == before);
    return 0;
  }
  const auto bytes = document->Serialize();
  FUZZ_CHECK(bytes.has_value());
  Write(*bytes);
  auto reloaded = tolvex::platform::CreateXmlDocument();
  FUZZ_CHECK(reloaded->Load(ScratchPath()));
  const std::vector<tolvex::MapOption> maps = tolvex::ReadMapOptions(*reloaded);
  FUZZ_CHECK(maps.size() == 2);
  tolvex::MapOption expected = added;
  expected.command_template = tolvex::Trim(added.command_template, tolvex::kXmlWhiteSpace);
  FUZZ_CHECK(maps[1] == expected);
  return 0;
}
