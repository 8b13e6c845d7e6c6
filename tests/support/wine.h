// Running the cross-built Windows programs under Wine from a Linux test. The surroundings (X
// display, Wine prefix, wineserver, test URL scheme) are set up once per test run by
// tests/wine/wine-session, which leaves their settings in session.env; every test reads them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_process.h"

namespace tolvex::test {

// The settings of the running session: "NAME=value" entries for the environment. Fails the
// test (through an exception) when no session was started.
const std::vector<std::string>& WineEnvironment();

// The folder that holds the cross-built programs.
std::filesystem::path WindowsBinDir();

// A folder for one test, emptied first, inside the session's state folder.
std::filesystem::path FreshWineFolder(const std::string& name);

// The Windows form of a Linux path: Wine's drive Z: is the Linux root.
std::string WindowsPath(const std::filesystem::path& path);

// Environment entries that run one program as on Western Windows (code page 1252) instead of
// the session's Japanese Windows (code page 932).
inline std::vector<std::string> WesternLocale() { return {"LANG=C.UTF-8", "LC_ALL=C.UTF-8"}; }

// Runs a Windows program under Wine with `args` (Wine quotes them into one command line).
// `env` adds "NAME=value" entries to the session's, or replaces the session's entry of that name.
ProcessResult RunWine(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& env = {});

// Imports a .reg file with regedit, as a user would; returns regedit's exit status.
int ImportRegistryFile(const std::filesystem::path& file);

// The lines of a program's output, without their line ends.
std::vector<std::string> Lines(const std::string& output);

// Reads and writes whole files, bytes unchanged.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tolvex::test
