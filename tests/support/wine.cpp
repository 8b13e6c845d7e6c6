#include "tests/support/wine.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace tolvex::test {
namespace {

std::filesystem::path StateDir() { return TOLVEX_WINE_STATE_DIR; }

}  // namespace

const std::vector<std::string>& WineEnvironment() {
  static const std::vector<std::string> env = [] {
    std::ifstream in(StateDir() / "session.env");
    if (!in) {
      throw std::runtime_error("no Wine session: " + (StateDir() / "session.env").string() +
                               " is missing (run the tests through ctest --preset wine)");
    }
    std::vector<std::string> entries;
    for (std::string line; std::getline(in, line);) {
      if (line.find('=') != std::string::npos) entries.push_back(line);
    }
    return entries;
  }();
  return env;
}

std::filesystem::path WindowsBinDir() { return TOLVEX_WINDOWS_BIN_DIR; }

std::filesystem::path FreshWineFolder(const std::string& name) {
  const std::filesystem::path folder = StateDir() / "work" / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string WindowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + std::filesystem::absolute(path).lexically_normal().string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

ProcessResult RunWine(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& env) {
  ProcessOptions options;
  // An entry of `env` replaces the session's of the same name (a test's own locale).
  auto name_of = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (const std::string& entry : WineEnvironment()) {
    const bool replaced = std::any_of(env.begin(), env.end(), [&](const std::string& own) {
      return name_of(own) == name_of(entry);
    });
    if (!replaced) options.env_set.push_back(entry);
  }
  options.env_set.insert(options.env_set.end(), env.begin(), env.end());
  std::vector<std::string> wine_args = {program.string()};
  wine_args.insert(wine_args.end(), args.begin(), args.end());
  return RunProcess("/usr/bin/wine", wine_args, options);
}

// Wine's regedit on a loaded machine now and then fails an import that succeeds when repeated;
// callers check what the registry holds afterwards anyway.
int ImportRegistryFile(const std::filesystem::path& file) {
  int status = -1;
  for (int attempt = 0; attempt < 3 && status != 0; ++attempt) {
    status = RunWine("regedit", {"/s", WindowsPath(file)}).exit_status;
  }
  return status;
}

std::vector<std::string> Lines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace tolvex::test
