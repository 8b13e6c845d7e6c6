// The option-file loader (libxml2 backend) over any bytes: it never crashes, never writes
// the file, and what it reports is consistent with what the document holds.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_check.h"
#include "gateway/option_edit.h"
#include "gateway/option_store.h"
#include "platform/xml_document.h"

namespace {

const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/tolvex-option-fuzz-" +
           std::to_string(getpid()) + ".xml";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = ScratchPath();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  auto document = tolvex::platform::CreateXmlDocument();
  const tolvex::ActiveOption active = tolvex::LoadActiveOption(*document, path);
  if (active.error == tolvex::OptionLoadError::kNone) {
    const auto option =
        tolvex::FindOption(*document, document->SelectSingleNode(tolvex::kActiveIdQuery)->Text());
    FUZZ_CHECK(option != nullptr);
    FUZZ_CHECK(tolvex::CommandTemplateOf(*option) == active.option.command_template);
    FUZZ_CHECK(document->Serialize().has_value());
  } else {
    FUZZ_CHECK(active.option.command_template.empty() && active.option.datum_name.empty());
  }
  // The options read are as many as the options found.
  FUZZ_CHECK(tolvex::ReadMapOptions(*document).size() ==
             document->SelectNodes(tolvex::kOptionsQuery).size());

  std::ifstream in(path, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FUZZ_CHECK(after == bytes);
  return 0;
}
