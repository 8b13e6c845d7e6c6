#include "tests/support/wine_gateway.h"

namespace tolvex::test {

namespace fs = std::filesystem;

std::string OneOptionFile(const std::string& template_text, const std::string& datum) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<tolvexgateway_optionlist currentsetting=\"Map\">\n"
         "  <option id=\"Map\" area=\"World\" datum=\"" +
         datum + "\">" + template_text +
         "</option>\n"
         "</tolvexgateway_optionlist>\n";
}

WineGateway::WineGateway(const std::string& name) : folder_(FreshWineFolder(name)) {
  fs::copy_file(WindowsBinDir() / "TolvexGateway.exe", folder_ / "TolvexGateway.exe");
}

std::string WineGateway::Program() const { return WindowsPath(folder_ / "TolvexGateway.exe"); }

std::vector<std::string> WineGateway::Drive(const std::string& mode,
                                            const std::string& command_line,
                                            const std::vector<std::string>& actions,
                                            const std::vector<std::string>& env) const {
  std::vector<std::string> args = {mode, "30000", command_line};
  args.insert(args.end(), actions.begin(), actions.end());
  std::vector<std::string> full_env = {"TOLVEX_RECORD_FILE=" +
                                       WindowsPath(folder_ / "recorded.txt")};
  full_env.insert(full_env.end(), env.begin(), env.end());
  const ProcessResult result = RunWine(WindowsBinDir() / "tolvex_driver.exe", args, full_env);
  return Lines(result.out);
}

std::vector<std::string> WineGateway::Recorded() const {
  const fs::path record = folder_ / "recorded.txt";
  return fs::exists(record) ? Lines(ReadFile(record)) : std::vector<std::string>{};
}

std::string WineGateway::RecorderLine(const std::string& directory, const std::string& url) {
  return directory + "\t\"" + WindowsPath(WindowsBinDir() / "tolvex_recorder.exe") + "\" \"" + url +
         "\"";
}

}  // namespace tolvex::test
