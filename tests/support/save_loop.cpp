// save_loop TARGET FIRST SECOND: replaces TARGET's contents with FIRST's, then SECOND's, and
// so on until killed, the way the option dialog saves. For the crash and concurrency tests.
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_replace.h"

namespace {

std::string Slurp(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string contents[2] = {Slurp(argv[2]), Slurp(argv[3])};
  for (unsigned long i = 0;; ++i) {
    if (!tolvex::platform::ReplaceFileContents(argv[1], contents[i % 2])) return 1;
  }
}
