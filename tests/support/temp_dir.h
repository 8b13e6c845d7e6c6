// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` to `name` inside the folder and returns the file's path.
  std::string Write(std::string_view name, std::string_view bytes) const;

  // The path of `name` inside the folder.
  std::string File(std::string_view name) const { return (path_ / name).string(); }

  // The names of the folder's entries, sorted: tests check that nothing was left behind.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

}  // namespace tolvex::test
