// The installer of make windows-dist under Wine, as a user runs it: a silent install for the
// current user, TolVex: links opened through the shell the ways users and browsers open them,
// install over install, the refusals that leave an earlier installation working, and uninstall;
// then the MSI of make windows-msi, for every user. Each test starts from no installation at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "dialog/option_layout.h"
#include "tests/support/wine_gateway.h"

namespace tolvex::test {
namespace {

namespace fs = std::filesystem;
using Lines_ = std::vector<std::string>;

const std::string kClassKey = "HKCU\\Software\\Classes\\TolVex";
const std::string kMachineClassKey = "HKLM\\Software\\Classes\\TolVex";
const std::string kGeoKey = "HKCU\\Software\\Classes\\geo";
const std::string kMachineGeoKey = "HKLM\\Software\\Classes\\geo";
const std::string kProgIdKey = "HKCU\\Software\\Classes\\TolvexGateway.Link";
const std::string kAppKey = "HKCU\\Software\\TolvexGateway";
const std::string kRegisteredApplications = "HKCU\\Software\\RegisteredApplications";
const std::string kUninstallKey =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TolvexGateway";

const std::string kTemplate = "tolvextest:lat=$lat.d(-.6r)&amp;lon=$lon.d(-.6r)&amp;c=$ost";
const std::string kOpened = "tolvextest:lat=35.658581&lon=139.745435&c=SD9.XC4.EQ2.CV5";

fs::path DistDir() { return WindowsBinDir().parent_path() / "dist"; }

// The one installer that make windows-dist built (its name carries the version).
fs::path Installer() {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(DistDir())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("TolvexGateway-") && name.ends_with("-setup.exe")) {
      found.push_back(entry.path());
    }
  }
  if (found.size() != 1)
    throw std::runtime_error("expected one installer in " + DistDir().string());
  return found.front();
}

// The version in the installer's name, TolvexGateway-VERSION-setup.exe.
std::string PackageVersion() {
  const std::string name = Installer().filename().string();
  return name.substr(14, name.size() - 14 - std::string("-setup.exe").size());
}

// UTF-16LE bytes of an ASCII text.
std::string Utf16(const std::string& ascii) {
  std::string bytes;
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

std::string Prefix() {
  for (const std::string& entry : WineEnvironment()) {
    if (entry.starts_with("WINEPREFIX=")) return entry.substr(11);
  }
  throw std::runtime_error("no WINEPREFIX in the Wine session");
}

// The Linux path of a C: path of the prefix.
fs::path LinuxPath(const std::string& windows_path) {
  std::string rest = windows_path.substr(3);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return fs::path(Prefix()) / "drive_c" / rest;
}

// %LOCALAPPDATA%\Programs\TolvexGateway of the prefix's user.
const std::string& InstallFolder() {
  static const std::string folder =
      Trimmed(RunWine("cmd", {"/c", "echo %LOCALAPPDATA%"}).out) + "\\Programs\\TolvexGateway";
  return folder;
}
fs::path InstallDir() { return LinuxPath(InstallFolder()); }
std::string InstalledProgram() { return InstallFolder() + "\\TolvexGateway.exe"; }

fs::path Shortcut(const std::string& name = "TolvexGateway Options.lnk") {
  const std::string appdata = Trimmed(RunWine("cmd", {"/c", "echo %APPDATA%"}).out);
  return LinuxPath(appdata) / "Microsoft/Windows/Start Menu/Programs" / name;
}

// reg query's answer, or "" when the key does not exist.
std::string Query(const std::string& key) {
  const ProcessResult result = RunWine("reg", {"query", key, "/s"});
  return result.exit_status == 0 ? result.out : "";
}

// reg query writes one line per value: "    NAME    TYPE    DATA".
bool HasValue(const std::string& query, const std::string& name, const std::string& type,
              const std::string& data) {
  return query.find("    " + name + "    " + type + "    " + data + "\r\n") != std::string::npos;
}

std::string InstalledApplications() { return RunWine("uninstaller", {"--list"}).out; }

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit = std::chrono::seconds(30)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

// Wine 8 shows only HKLM\Software\Classes as HKEY_CLASSES_ROOT, where Windows merges the user's
// HKCU\Software\Classes over it: the shell under Wine would not find a per-user scheme. So the
// installed key is copied to HKLM exactly as the installer wrote it, and removed there when the
// installer's is gone.
void MirrorUserClasses() {
  for (const auto& [user, machine] :
       {std::pair{kClassKey, kMachineClassKey}, std::pair{kGeoKey, kMachineGeoKey}}) {
    RunWine("reg", {"delete", machine, "/f"});
    if (!Query(user).empty()) {
      ASSERT_EQ(RunWine("reg", {"copy", user, machine, "/s", "/f"}).exit_status, 0);
    }
  }
}

int Install(const std::vector<std::string>& args = {"/S"}) {
  return RunWine(Installer(), args).exit_status;
}

// The uninstaller copies itself away and returns at once; it is done when it has removed
// itself and the entry.
void Uninstall() {
  ASSERT_EQ(RunWine(InstallFolder() + "\\uninstall.exe", {"/S"}).exit_status, 0);
  ASSERT_TRUE(WaitFor([] {
    return !fs::exists(InstallDir() / "uninstall.exe") && Query(kUninstallKey).empty();
  })) << "the uninstaller did not finish";
}

// No installation and no trace of one.
void RemoveAnyInstallation() {
  if (fs::exists(InstallDir() / "uninstall.exe")) Uninstall();
  fs::remove_all(InstallDir());
  for (const std::string& key :
       {kClassKey, kUninstallKey, kMachineClassKey, kGeoKey, kMachineGeoKey, kProgIdKey, kAppKey}) {
    RunWine("reg", {"delete", key, "/f"});
  }
  RunWine("reg", {"delete", kRegisteredApplications, "/v", "TolvexGateway", "/f"});
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAnyInstallation(); }
  void TearDown() override { RemoveAnyInstallation(); }
};

TEST_F(InstallTest, FreshInstallWritesTheFilesTheLinkSchemeTheShortcutAndTheEntry) {
  ASSERT_EQ(Install(), 0);
  const fs::path stage = DistDir() / "TolvexGateway";
  for (const char* file : {"TolvexGateway.exe", "tolvex.exe", "manual.htm", "tolvexgwoption.xml",
                           "tolvexgwcatalogue.xml"}) {
    ASSERT_TRUE(fs::exists(InstallDir() / file)) << file;
    EXPECT_EQ(ReadFile(InstallDir() / file), ReadFile(stage / file)) << file;
  }
  EXPECT_TRUE(fs::exists(InstallDir() / "uninstall.exe"));
  // The installed tool finds the installed catalogue beside it.
  const fs::path copy = FreshWineFolder("install-maps") / "tolvexgwoption.xml";
  WriteFile(copy, OneOptionFile(kTemplate));
  const auto tool = [&](const std::vector<std::string>& args) {
    std::vector<std::string> all = {"maps", "--options", WindowsPath(copy)};
    all.insert(all.end(), args.begin(), args.end());
    return RunWine(InstallDir() / "tolvex.exe", all);
  };
  EXPECT_EQ(tool({"catalogue", "OpenTopoMap"}).exit_status, 0);
  EXPECT_NE(tool({"list"}).out.find("  OpenTopoMap\tWorld\t"), std::string::npos);
  // The shortcut's target and arguments are stored as UTF-16 strings in the .lnk file.
  ASSERT_TRUE(fs::exists(Shortcut()));
  const std::string shortcut = ReadFile(Shortcut());
  EXPECT_NE(shortcut.find(Utf16(InstalledProgram())), std::string::npos);
  EXPECT_NE(shortcut.find(Utf16("option")), std::string::npos);
  ASSERT_TRUE(fs::exists(Shortcut("Open a Place.lnk")));
  EXPECT_NE(ReadFile(Shortcut("Open a Place.lnk")).find(Utf16("open")), std::string::npos);

  // The command is REG_SZ with the folder written out: nothing for the shell to expand.
  const std::string scheme = Query(kClassKey);
  EXPECT_TRUE(HasValue(scheme, "URL Protocol", "REG_SZ", "")) << scheme;
  EXPECT_NE(scheme.find("REG_SZ    URL:TolVex Protocol\r\n"), std::string::npos) << scheme;
  EXPECT_NE(scheme.find("REG_SZ    " + InstalledProgram() + ",0\r\n"), std::string::npos) << scheme;
  EXPECT_NE(scheme.find("REG_SZ    \"" + InstalledProgram() + "\" \"%1\"\r\n"), std::string::npos)
      << scheme;
  EXPECT_EQ(scheme.find("REG_EXPAND_SZ"), std::string::npos) << scheme;
  // geo: links: no class existed, so the program is their handler; and it is offered for them.
  EXPECT_NE(Query(kGeoKey).find("REG_SZ    \"" + InstalledProgram() + "\" \"%1\"\r\n"),
            std::string::npos);
  EXPECT_NE(Query(kProgIdKey).find("REG_SZ    \"" + InstalledProgram() + "\" \"%1\"\r\n"),
            std::string::npos);
  const std::string capabilities = Query(kAppKey + "\\Capabilities");
  EXPECT_TRUE(HasValue(capabilities, "geo", "REG_SZ", "TolvexGateway.Link")) << capabilities;
  EXPECT_TRUE(HasValue(capabilities, "tolvex", "REG_SZ", "TolvexGateway.Link")) << capabilities;
  EXPECT_TRUE(HasValue(Query(kRegisteredApplications), "TolvexGateway", "REG_SZ",
                       "Software\\TolvexGateway\\Capabilities"));

  const std::string entry = Query(kUninstallKey);
  EXPECT_TRUE(HasValue(entry, "DisplayName", "REG_SZ", "TolVex Gateway")) << entry;
  EXPECT_TRUE(HasValue(entry, "Publisher", "REG_SZ", "The TolvexGateway authors")) << entry;
  EXPECT_TRUE(HasValue(entry, "DisplayIcon", "REG_SZ", InstalledProgram() + ",0")) << entry;
  EXPECT_TRUE(
      HasValue(entry, "UninstallString", "REG_SZ", "\"" + InstallFolder() + "\\uninstall.exe\""))
      << entry;
  EXPECT_TRUE(HasValue(entry, "QuietUninstallString", "REG_SZ",
                       "\"" + InstallFolder() + "\\uninstall.exe\" /S"))
      << entry;
  EXPECT_TRUE(HasValue(entry, "DisplayVersion", "REG_SZ", PackageVersion())) << entry;
  // EstimatedSize is in KiB: the programs make well over one MiB.
  EXPECT_NE(entry.find("    EstimatedSize    REG_DWORD    0x"), std::string::npos) << entry;
  EXPECT_NE(InstalledApplications().find("TolVex Gateway"), std::string::npos);
}

TEST_F(InstallTest, InstallOverAnInstallKeepsTheUsersOptionFile) {
  ASSERT_EQ(Install(), 0);
  const std::string chosen = OneOptionFile(kTemplate);
  WriteFile(InstallDir() / "tolvexgwoption.xml", chosen);
  WriteFile(InstallDir() / "manual.htm", "old");
  ASSERT_EQ(Install(), 0);
  EXPECT_EQ(ReadFile(InstallDir() / "tolvexgwoption.xml"), chosen);
  EXPECT_EQ(ReadFile(InstallDir() / "manual.htm"),
            ReadFile(DistDir() / "TolvexGateway" / "manual.htm"));
  EXPECT_NE(Query(kClassKey).find("\"" + InstalledProgram() + "\" \"%1\""), std::string::npos);
  const std::string list = InstalledApplications();
  EXPECT_EQ(list.find("TolVex Gateway"), list.rfind("TolVex Gateway")) << "listed once: " << list;
}

// A newer version over an older one, whose default option file differs: the entry names the
// newer; the user's file stays, while the older default the user never changed follows the
// upgrade and goes on uninstall.
struct UpgradeCase {
  const char* name;
  bool user_changed_the_file;
};

class UpgradeTest : public InstallTest, public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(UpgradeTest, NewerVersionOverAnOlder) {
  const fs::path folder = FreshWineFolder(std::string("older-version-") + GetParam().name);
  const fs::path older = folder / "TolvexGateway-0.9.0-setup.exe";
  const fs::path source = TOLVEX_SOURCE_DIR;
  fs::copy(DistDir() / "TolvexGateway", folder / "stage");
  const std::string older_default = OneOptionFile("tolvexolder:$ost");
  WriteFile(folder / "stage" / "tolvexgwoption.xml", older_default);
  const ProcessResult built =
      RunProcess("/usr/bin/makensis",
                 {"-V1", "-DVERSION=0.9.0", "-DSTAGE=" + (folder / "stage").string(),
                  "-DICON=" + (source / "resources/windows/tolvexgateway.ico").string(),
                  "-DPROGRAM_FILES=" + (DistDir() / "program-files.nsh").string(),
                  "-DOUTFILE=" + older.string(), (source / "scripts/windows-setup.nsi").string()});
  ASSERT_EQ(built.exit_status, 0) << built.out << built.err;
  ASSERT_EQ(RunWine(older, {"/S"}).exit_status, 0);
  EXPECT_TRUE(HasValue(Query(kUninstallKey), "DisplayVersion", "REG_SZ", "0.9.0"));
  ASSERT_EQ(ReadFile(InstallDir() / "tolvexgwoption.xml"), older_default);
  const std::string chosen = OneOptionFile(kTemplate);
  if (GetParam().user_changed_the_file) WriteFile(InstallDir() / "tolvexgwoption.xml", chosen);

  ASSERT_EQ(Install(), 0);
  const std::string shipped = ReadFile(DistDir() / "TolvexGateway" / "tolvexgwoption.xml");
  EXPECT_EQ(ReadFile(InstallDir() / "tolvexgwoption.xml"),
            GetParam().user_changed_the_file ? chosen : shipped);
  EXPECT_TRUE(HasValue(Query(kUninstallKey), "DisplayVersion", "REG_SZ", PackageVersion()));
  const std::string list = InstalledApplications();
  EXPECT_EQ(list.find("TolVex Gateway"), list.rfind("TolVex Gateway")) << "listed once: " << list;
  Uninstall();
  EXPECT_EQ(fs::exists(InstallDir() / "tolvexgwoption.xml"), GetParam().user_changed_the_file);
}

INSTANTIATE_TEST_SUITE_P(Files, UpgradeTest,
                         ::testing::ValuesIn(std::vector<UpgradeCase>{
                             {"TheUsersFileStays", true},
                             {"AnUntouchedOlderDefaultFollows", false},
                         }),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(InstallTest, UninstallOfAnUntouchedInstallationRemovesEverything) {
  ASSERT_EQ(Install(), 0);
  Uninstall();
  EXPECT_FALSE(fs::exists(InstallDir()));
  EXPECT_FALSE(fs::exists(Shortcut()) || fs::exists(Shortcut("Open a Place.lnk")));
  EXPECT_EQ(Query(kClassKey), "");
  for (const std::string& key : {kGeoKey, kProgIdKey, kAppKey}) EXPECT_EQ(Query(key), "") << key;
  EXPECT_EQ(Query(kRegisteredApplications).find("TolvexGateway"), std::string::npos);
  EXPECT_EQ(InstalledApplications().find("TolVex Gateway"), std::string::npos);
}

// A program that has geo: links keeps them, whether its class is the user's or the machine's:
// install, install again and uninstall leave it as it was.
TEST_F(InstallTest, AnExistingGeoClassIsLeftAlone) {
  for (const std::string& key : {kGeoKey, kMachineGeoKey}) {
    SCOPED_TRACE(key);
    const std::string command = key + "\\shell\\open\\command";
    ASSERT_EQ(RunWine("reg", {"add", command, "/ve", "/d", "maps.exe %1", "/f"}).exit_status, 0);
    const std::string before = Query(key);
    ASSERT_EQ(Install(), 0);
    ASSERT_EQ(Install(), 0);
    EXPECT_EQ(Query(key), before);
    EXPECT_EQ(Query(key == kGeoKey ? kMachineGeoKey : kGeoKey), "");
    Uninstall();
    EXPECT_EQ(Query(key), before);
    RunWine("reg", {"delete", key, "/f"});
  }
}

// The option window saved a new choice: the file holds it, so it stays; nothing else does,
// and a link no longer reaches the program.
TEST_F(InstallTest, UninstallAfterASavedChoiceKeepsOnlyTheOptionFile) {
  ASSERT_EQ(Install(), 0);
  const std::string shipped = ReadFile(InstallDir() / "tolvexgwoption.xml");
  const ProcessResult saved =
      RunWine(WindowsBinDir() / "tolvex_driver.exe",
              {"dialog", "30000", "\"" + InstalledProgram() + "\" option", "pick", "1", "click",
               std::to_string(option_layout::kOkButton)});
  EXPECT_EQ(Lines(saved.out), (Lines_{"shown", "exit|0"})) << saved.err;
  const std::string chosen = ReadFile(InstallDir() / "tolvexgwoption.xml");
  ASSERT_NE(chosen, shipped) << "the option window saved nothing";

  Uninstall();
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(InstallDir())) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, (Lines_{"tolvexgwoption.xml"}));
  EXPECT_EQ(ReadFile(InstallDir() / "tolvexgwoption.xml"), chosen);
  EXPECT_FALSE(fs::exists(Shortcut()) || fs::exists(Shortcut("Open a Place.lnk")));
  EXPECT_EQ(Query(kClassKey), "");
  EXPECT_EQ(Query(kUninstallKey), "");
  EXPECT_EQ(InstalledApplications().find("TolVex Gateway"), std::string::npos);

  MirrorUserClasses();
  const fs::path record = FreshWineFolder("uninstalled-link") / "recorded.txt";
  const ProcessResult opened =
      RunWine(WindowsBinDir() / "tolvex_driver.exe", {"open", "TolVex:SD9.XC4.EQ2.CV5"},
              {"TOLVEX_RECORD_FILE=" + WindowsPath(record)});
  const Lines_ lines = Lines(opened.out);
  ASSERT_EQ(lines.size(), 1u) << opened.out;
  EXPECT_LE(std::stoi(lines[0].substr(7)), 32) << "the shell still knows TolVex: links";
  std::this_thread::sleep_for(std::chrono::seconds(2));
  EXPECT_FALSE(fs::exists(record));
}

// An option whose command comes back to the installed program: a TolVex: link, or a geo: link
// now that the installer made the program their handler, is refused after one start; a batch
// file that starts the link again, which only its effect shows, ends after eleven starts (ten
// runs of the batch file). One refusal each; the driver's job counts what was started.
TEST_F(InstallTest, CommandThatWouldStartTheProgramAgainEndsTheChain) {
  ASSERT_EQ(Install(), 0);
  MirrorUserClasses();
  const fs::path folder = FreshWineFolder("chain");
  const std::string batch = WindowsPath(folder / "again.cmd");
  WriteFile(folder / "again.cmd", "@echo run>>\"" + WindowsPath(folder / "runs.txt") +
                                      "\"\r\n@start tolvex:SD9.XC4.EQ2.CV5\r\n");
  struct Case {
    std::string option;
    std::string refused;  // the command line the message quotes, and why
    int batch_runs;
  };
  for (const Case& c :
       {Case{"tolvex:$ost", "\"tolvex:SD9.XC4.EQ2.CV5\"", 0},
        Case{"geo:$ost", "\"geo:SD9.XC4.EQ2.CV5\" (TolvexGateway handles geo: links)", 0},
        Case{batch, "\"" + batch + "\"", 10}}) {
    SCOPED_TRACE(c.option);
    fs::remove(folder / "runs.txt");
    WriteFile(InstallDir() / "tolvexgwoption.xml", OneOptionFile(c.option));
    const Lines_ lines = Lines(
        RunWine(WindowsBinDir() / "tolvex_driver.exe", {"open", "TolVex:SD9.XC4.EQ2.CV5", "60000"})
            .out);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[1],
              "box|TolvexGateway|The active option's command would start TolvexGateway "
              "again: " +
                  c.refused + "|OK|icon");
    if (c.batch_runs == 0) {
      EXPECT_EQ(lines[2], "started|1");
    }
    EXPECT_EQ(Lines(fs::exists(folder / "runs.txt") ? ReadFile(folder / "runs.txt") : "").size(),
              static_cast<std::size_t>(c.batch_runs));
  }
}

// A refusal comes before any change: the earlier installation still opens links.
TEST_F(InstallTest, FolderThatCannotBeWrittenIsRefused) {
  ASSERT_EQ(Install(), 0);
  const std::string before = Query(kClassKey);
  // /proc takes no new folders, not even from root.
  EXPECT_EQ(Install({"/S", "/D=Z:\\proc\\TolvexGateway"}), 2);
  EXPECT_EQ(Query(kClassKey), before);
  EXPECT_TRUE(fs::exists(InstallDir() / "TolvexGateway.exe"));
}

TEST_F(InstallTest, RunningProgramIsNotReplaced) {
  ASSERT_EQ(Install(), 0);
  WriteFile(InstallDir() / "tolvexgwoption.xml", OneOptionFile(kTemplate));
  const fs::path flags = FreshWineFolder("running");
  // The option window stays open until the installer has had its try.
  ProcessResult window;
  std::thread running([&] {
    window = RunWine(WindowsBinDir() / "tolvex_driver.exe",
                     {"dialog", "60000", "\"" + InstalledProgram() + "\" option", "touch",
                      WindowsPath(flags / "shown"), "await", WindowsPath(flags / "done"), "close"});
  });
  const bool shown = WaitFor([&] { return fs::exists(flags / "shown"); });
  const int status = shown ? Install() : -1;
  const int uninstall_status =
      shown ? RunWine(InstallFolder() + "\\uninstall.exe", {"/S", "_?=" + InstallFolder()})
                  .exit_status
            : -1;
  WriteFile(flags / "done", "");
  running.join();
  ASSERT_TRUE(shown) << window.out;
  EXPECT_EQ(status, 2) << "the installer replaced a running program";
  EXPECT_EQ(uninstall_status, 2) << "the uninstaller removed a running program";
  EXPECT_EQ(Lines(window.out), (Lines_{"shown", "exit|0"}));
  EXPECT_EQ(ReadFile(InstallDir() / "TolvexGateway.exe"),
            ReadFile(DistDir() / "TolvexGateway" / "TolvexGateway.exe"));
  EXPECT_TRUE(fs::exists(InstallDir() / "uninstall.exe"));
  EXPECT_NE(Query(kClassKey).find("\"" + InstalledProgram() + "\" \"%1\""), std::string::npos);
}

// Without the installer: the zip unzipped into C:\TolvexGateway and its register.reg imported.
TEST_F(InstallTest, ZipWithRegisterRegOpensLinks) {
  const fs::path folder = LinuxPath("C:\\TolvexGateway");
  fs::remove_all(folder);
  fs::copy(DistDir() / "TolvexGateway", folder);
  WriteFile(folder / "tolvexgwoption.xml", OneOptionFile(kTemplate));
  ASSERT_EQ(ImportRegistryFile(folder / "register.reg"), 0);
  MirrorUserClasses();
  const fs::path record = FreshWineFolder("zip-link") / "recorded.txt";
  const ProcessResult opened =
      RunWine(WindowsBinDir() / "tolvex_driver.exe", {"open", "TolVex:SD9.XC4.EQ2.CV5"},
              {"TOLVEX_RECORD_FILE=" + WindowsPath(record)});
  EXPECT_TRUE(WaitFor([&] { return fs::exists(record) && !ReadFile(record).empty(); }))
      << opened.out;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Lines(ReadFile(record)), (Lines_{WineGateway::RecorderLine("C:\\windows", kOpened)}));

  ASSERT_EQ(ImportRegistryFile(folder / "unregister.reg"), 0);
  EXPECT_EQ(Query(kClassKey), "");
  fs::remove_all(folder);
}

// A link opened the ways users open it: from a command prompt (start), the way many programs
// hand a URL over (url.dll's FileProtocolHandler), and ShellExecuteW (what browsers call).
// The scheme's letter case does not matter to the shell.
struct LinkCase {
  const char* name;
  std::vector<std::string> program_and_args;  // "@link" stands for the link
  std::string scheme;
};

class ShellLinkTest : public ::testing::TestWithParam<LinkCase> {
 protected:
  void SetUp() override { RemoveAnyInstallation(); }
  void TearDown() override { RemoveAnyInstallation(); }
};

TEST_P(ShellLinkTest, ReachesTheInstalledProgram) {
  ASSERT_EQ(Install(), 0);
  WriteFile(InstallDir() / "tolvexgwoption.xml", OneOptionFile(kTemplate));
  MirrorUserClasses();
  const fs::path record =
      FreshWineFolder(std::string("shell-link-") + GetParam().name) / "recorded.txt";
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().program_and_args) {
    args.push_back(arg == "@link" ? GetParam().scheme + "SD9.XC4.EQ2.CV5" : arg);
  }
  const std::string program =
      args.front() == "driver" ? (WindowsBinDir() / "tolvex_driver.exe").string() : args.front();
  args.erase(args.begin());
  const ProcessResult opened =
      RunWine(program, args, {"TOLVEX_RECORD_FILE=" + WindowsPath(record)});
  EXPECT_EQ(opened.exit_status, 0) << opened.out << opened.err;
  // The shell does not wait for the program it started.
  ASSERT_TRUE(WaitFor([&] { return fs::exists(record) && !ReadFile(record).empty(); }))
      << "the link did not reach the program: " << opened.out;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Lines(ReadFile(record)), (Lines_{WineGateway::RecorderLine("C:\\windows", kOpened)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkTest,
    ::testing::Values(LinkCase{"Start", {"start", "@link"}, "TolVex:"},
                      LinkCase{"StartLowerCase", {"start", "@link"}, "tolvex:"},
                      LinkCase{"FileProtocolHandler",
                               {"rundll32", "url.dll,FileProtocolHandler", "@link"},
                               "TolVex:"},
                      LinkCase{"FileProtocolHandlerLowerCase",
                               {"rundll32", "url.dll,FileProtocolHandler", "@link"},
                               "tolvex:"},
                      LinkCase{"ShellExecuteW", {"driver", "open", "@link"}, "TolVex:"},
                      LinkCase{"ShellExecuteWLowerCase", {"driver", "open", "@link"}, "tolvex:"},
                      // The geocode that the row appends is a q after real coordinates: ignored.
                      LinkCase{"GeoShellExecuteW",
                               {"driver", "open", "@link"},
                               "geo:35.65858075697629,139.74543520885123;u=5?q="}),
    [](const auto& row) { return std::string(row.param.name); });

// The MSI of make windows-msi; or the same files as another version with the option file
// `default_options`, built by scripts/windows-msi from a copy of the package.
fs::path Msi(const std::string& version = "", const std::string& default_options = "") {
  if (version.empty())
    return DistDir().parent_path() / ("TolvexGateway-" + PackageVersion() + "-x64.msi");
  const fs::path build = FreshWineFolder("msi-" + version);
  fs::copy(DistDir(), build / "dist", fs::copy_options::recursive);
  WriteFile(build / "dist/TolvexGateway/tolvexgwoption.xml", default_options);
  const ProcessResult built =
      RunProcess(TOLVEX_SOURCE_DIR "/scripts/windows-msi", {build.string(), version});
  if (built.exit_status != 0) throw std::runtime_error(built.out + built.err);
  return build / ("TolvexGateway-" + version + "-x64.msi");
}
int Msiexec(const std::string& action, const fs::path& msi) {
  return RunWine("msiexec", {action, WindowsPath(msi), "/qn"}).exit_status;
}
// The zip's files that the MSI installs: all but the zip's own README and registry files.
bool InMsi(const fs::path& file) {
  return file.filename() != "README.txt" && file.extension() != ".reg";
}
// A table of the MSI as msiinfo exports it, a line per row, its fields between "|".
std::string Table(const std::string& name) {
  std::string text = RunProcess("/usr/bin/msiinfo", {"export", Msi().string(), name}).out;
  std::replace(text.begin(), text.end(), '\t', '|');
  return text;
}

TEST(MsiTest, TablesHoldTheMachineInstall) {
  // Registry root 2 is HKLM; the Start menu is every user's with ALLUSERS 1.
  const std::string kShortcut = "|ProgramMenuFolder|TolvexGateway Options|Shortcuts|";
  for (const auto& [table, row] : std::vector<std::pair<std::string, std::string>>{
           {"Property", "\nALLUSERS|1\r"},
           {"Property", "\nARPPRODUCTICON|tolvexgateway.ico\r"},
           {"Property", "\nManufacturer|The TolvexGateway authors\r"},
           {"Registry", "|2|Software\\Classes\\TolVex|URL Protocol||"},
           {"Registry", "|2|Software\\Classes\\TolVex\\shell\\open\\command||\"[INSTALLDIR]Tol"},
           {"Registry", "|2|Software\\RegisteredApplications|TolvexGateway|Software\\Tolvex"},
           {"Shortcut", kShortcut + "[INSTALLDIR]TolvexGateway.exe|option|"},
           {"Shortcut",
            "|ProgramMenuFolder|Open a Place|Shortcuts|[INSTALLDIR]TolvexGateway.exe|open|"},
           {"LaunchCondition", "|A newer version of TolvexGateway is already installed.\r"}}) {
    EXPECT_NE(Table(table).find(row), std::string::npos) << row;
  }
  EXPECT_EQ(Table("Registry").find("Classes\\geo"), std::string::npos);
  // Every component in the feature, and 64-bit (attributes 256; 260 with a registry key path).
  const std::string features = Table("FeatureComponents");
  for (const std::string& row : Lines(Table("Component"))) {
    if (row.find("|{") == std::string::npos) continue;  // the names, types and keys
    EXPECT_NE(features.find("|" + row.substr(0, row.find('|')) + "\r"), std::string::npos) << row;
    EXPECT_TRUE(row.find("|256|") != std::string::npos || row.find("|260|") != std::string::npos)
        << row;
  }
  const std::string files = Table("File");
  for (const auto& entry : fs::directory_iterator(DistDir() / "TolvexGateway")) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(files.find("|" + name + "|") != std::string::npos, InMsi(name)) << name;
  }
  // The option file alone read-only: attributes 513 rather than 512 (vital).
  EXPECT_EQ(files.rfind("\n", files.find("||513|")), files.find("\nOptionFile|"));
  EXPECT_EQ(files.find("||513|"), files.rfind("||513|"));
}

// Under Wine, as a deployment tool runs it. Wine puts the Start menu of every user (ALLUSERS=1)
// into the installing user's, and on upgrade replaces a file the administrator changed, which
// Windows keeps (its modification is later than its creation): no test here can show that.
const std::string kMachineFile = "C:\\Program Files\\TolvexGateway\\tolvexgwoption.xml";
fs::path OwnFile() {
  return LinuxPath(Trimmed(RunWine("cmd", {"/c", "echo %APPDATA%"}).out)) / "TolvexGateway" /
         "tolvexgwoption.xml";
}
class MsiInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Msiexec("/x", Msi());
    fs::remove_all(OwnFile().parent_path());
  }
  void TearDown() override { SetUp(); }
  const std::vector<fs::path> shortcuts_ = {Shortcut(), Shortcut("Open a Place.lnk"),
                                            Shortcut().parent_path() / "TolvexGateway Manual.lnk"};
};

TEST_F(MsiInstallTest, InstallsUpgradesRefusesAnOlderAndUninstallsClean) {
  ASSERT_EQ(Msiexec("/i", Msi("0.9.0", OneOptionFile("tolvexolder:$ost"))), 0);
  ASSERT_EQ(Msiexec("/i", Msi()), 0);
  for (const auto& entry : fs::directory_iterator(DistDir() / "TolvexGateway")) {
    const fs::path installed = LinuxPath(kMachineFile).parent_path() / entry.path().filename();
    EXPECT_EQ(fs::exists(installed) ? ReadFile(installed) : "",
              InMsi(entry.path()) ? ReadFile(entry.path()) : "")
        << installed;  // the older default too
  }
  // Wine shows a read-only file without the write bit.
  EXPECT_EQ(fs::status(LinuxPath(kMachineFile)).permissions() & fs::perms::owner_write,
            fs::perms::none);
  EXPECT_TRUE(HasValue(Query("HKLM\\Software\\RegisteredApplications"), "TolvexGateway", "REG_SZ",
                       "Software\\TolvexGateway\\Capabilities"));
  for (const fs::path& shortcut : shortcuts_) EXPECT_TRUE(fs::exists(shortcut)) << shortcut;
  const std::string list = InstalledApplications();
  EXPECT_EQ(list.find("|||TolVex Gateway"), list.rfind("TolVex Gateway") - 3) << "once: " << list;

  // A TolVex: link through the shell reaches the installed program, which reads the user's file.
  fs::create_directories(OwnFile().parent_path());
  WriteFile(OwnFile(), OneOptionFile(kTemplate));
  const fs::path record = FreshWineFolder("msi-link") / "recorded.txt";
  RunWine(WindowsBinDir() / "tolvex_driver.exe", {"open", "TolVex:SD9.XC4.EQ2.CV5"},
          {"TOLVEX_RECORD_FILE=" + WindowsPath(record)});
  EXPECT_TRUE(WaitFor([&] {
    return fs::exists(record) &&
           Lines(ReadFile(record)) == Lines_{WineGateway::RecorderLine("C:\\windows", kOpened)};
  }));

  EXPECT_NE(Msiexec("/i", Msi("0.8.0", OneOptionFile("tolvexolder:$ost"))), 0)
      << "an older version went in";
  EXPECT_EQ(InstalledApplications(), list);
  ASSERT_EQ(Msiexec("/x", Msi()), 0);
  EXPECT_FALSE(fs::exists(LinuxPath(kMachineFile).parent_path()));
  for (const fs::path& shortcut : shortcuts_) EXPECT_FALSE(fs::exists(shortcut)) << shortcut;
  for (const char* key : {"Classes\\TolVex", "Classes\\TolvexGateway.Link", "TolvexGateway"}) {
    EXPECT_EQ(Query(std::string("HKLM\\Software\\") + key), "") << key;
  }
  EXPECT_EQ(Query("HKLM\\Software\\RegisteredApplications").find("TolvexGateway"),
            std::string::npos);
  EXPECT_EQ(InstalledApplications().find("TolVex Gateway"), std::string::npos);
  EXPECT_EQ(ReadFile(OwnFile()), OneOptionFile(kTemplate)) << "a user's own file went";
}

// The option window's OK saves the user's choice in their own file; the machine's stays.
TEST_F(MsiInstallTest, OptionWindowSavesTheUsersOwnFile) {
  ASSERT_EQ(Msiexec("/i", Msi()), 0);
  const std::string machine = ReadFile(LinuxPath(kMachineFile));
  const ProcessResult saved =
      RunWine(WindowsBinDir() / "tolvex_driver.exe",
              {"dialog", "30000", "\"C:\\Program Files\\TolvexGateway\\TolvexGateway.exe\" option",
               "pick", "1", "click", std::to_string(option_layout::kOkButton)});
  EXPECT_EQ(Lines(saved.out), (Lines_{"shown", "exit|0"})) << saved.err;
  EXPECT_EQ(ReadFile(LinuxPath(kMachineFile)), machine);
  EXPECT_NE(ReadFile(OwnFile()).find("currentsetting=\"Map application (geo: URI)\""),
            std::string::npos);
}

}  // namespace
}  // namespace tolvex::test
