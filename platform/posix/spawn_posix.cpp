#include "platform/posix/spawn_posix.h"

#include <fcntl.h>
#include <spawn.h>

#include "platform/posix/file_system_posix.h"

extern char** environ;

namespace tolvex::platform::posix {

int SpawnDetached(std::vector<std::string> words, const std::optional<std::string>& directory) {
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (directory && IsFolder(*directory)) {
    posix_spawn_file_actions_addchdir_np(&actions, directory->c_str());
  }
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return error;
}

}  // namespace tolvex::platform::posix
