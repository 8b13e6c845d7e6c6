// Replacing a file's contents so that a reader, a crash or a full disk never sees anything
// but the old file or the new one: write a temporary file in the same folder, flush it, then
// move it over the original. One backend per OS.
#pragma once

#include <string>
#include <string_view>

namespace tolvex::platform {

// Writes `bytes` as the new contents of the existing file `path`, keeping its permissions.
// True on success; on failure the original file is unchanged and no temporary file is left.
// Never creates `path` when it does not exist.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

// True when a save may replace `path` where it is: a file (not a link to one elsewhere) in a
// folder this user may write. False for a shared install's file, which a save leaves alone.
bool MayReplaceInPlace(const std::string& path);

// Writes `bytes` as the file `path`, creating the missing folders on its way (for this user
// only): whole or not at all, as ReplaceFileContents does. An existing file is replaced.
bool WriteNewFile(const std::string& path, std::string_view bytes);

}  // namespace tolvex::platform
