// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test; and small helpers to read and write whole files in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tolvex::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace tolvex::testing
