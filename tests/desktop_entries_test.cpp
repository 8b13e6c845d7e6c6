// Which program a scheme's handler starts, over desktop entries and lists written as the
// distributions, snap, flatpak and desktops write them. The files are a table: nothing is read
// from this machine.
#include "platform/posix/desktop_entries.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tolvex::platform::posix {
namespace {

constexpr const char* kUserList = "/home/u/.config/mimeapps.list";
constexpr const char* kUserApps = "/home/u/.local/share/applications/";
constexpr const char* kSystemApps = "/usr/share/applications/";
constexpr const char* kGeo = "[Default Applications]\nx-scheme-handler/geo=";

std::string Entry(const std::string& lines) {
  return "[Desktop Entry]\nType=Application\nName=Tolvex Gateway\n" + lines + "\n";
}

struct HandlerCase {
  const char* name;
  std::map<std::string, std::string> files;  // path -> contents
  std::vector<std::string> environment;      // NAME=VALUE beside HOME=/home/u
  std::string program;                       // empty: no handler
  std::vector<std::string> command;          // its words for geo:1,2 (when not empty)
};

void PrintTo(const HandlerCase& c, std::ostream* os) { *os << c.name; }

class TableFiles final : public DesktopFiles {
 public:
  explicit TableFiles(const std::map<std::string, std::string>& files) : files_(files) {}
  std::optional<std::string> Read(const std::string& path) const override {
    const auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return found->second;
  }
  bool IsExecutable(const std::string& path) const override {
    static const std::set<std::string> programs{"/usr/bin/tolvexgateway",
                                                "/usr/lib/tolvexgateway/tolvexgateway",
                                                "/opt/Tolvex Gateway/tolvexgateway",
                                                "/usr/bin/firefox-esr",
                                                "/usr/bin/env",
                                                "/snap/bin/maps",
                                                "/usr/bin/flatpak",
                                                "/usr/bin/gnome-maps"};
    return programs.contains(path);
  }

 private:
  const std::map<std::string, std::string>& files_;
};

class SchemeHandlerTest : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(SchemeHandlerTest, FindsTheProgramXdgOpenStarts) {
  const HandlerCase& c = GetParam();
  std::map<std::string, std::string> variables{{"HOME", "/home/u"}};
  for (const std::string& assignment : c.environment) {
    const auto equals = assignment.find('=');
    variables[assignment.substr(0, equals)] = assignment.substr(equals + 1);
  }
  const XdgEnvironment environment =
      ReadXdgEnvironment([&](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end()) return std::nullopt;
        return found->second;
      });
  const TableFiles files(c.files);
  const auto handler = FindSchemeHandler("geo", "geo:1,2", environment, files);
  ASSERT_EQ(handler.has_value(), !c.program.empty()) << (handler ? handler->entry_path : "");
  if (!handler) return;
  EXPECT_EQ(handler->program, c.program);
  EXPECT_EQ(handler->command, c.command);
}

const std::string kSelf = "/usr/lib/tolvexgateway/tolvexgateway";
const std::string kSelfEntry = Entry("Exec=" + kSelf + " %u");
const std::string kFirefox = Entry("Exec=firefox-esr %u");

INSTANTIATE_TEST_SUITE_P(
    Entries, SchemeHandlerTest,
    ::testing::Values(
        HandlerCase{"InstalledForTheUser",
                    {{kUserList, kGeo + std::string("tolvexgateway.desktop;\n")},
                     {kUserApps + std::string("tolvexgateway.desktop"), kSelfEntry}},
                    {},
                    kSelf,
                    {kSelf, "geo:1,2"}},
        HandlerCase{"NoListNamesTheScheme",
                    {{kUserList, "[Default Applications]\nx-scheme-handler/tolvex=t.desktop\n"},
                     {kUserApps + std::string("t.desktop"), kSelfEntry}},
                    {},
                    "",
                    {}},
        HandlerCase{"QuotedPathWithABlank",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      Entry(R"(Exec="/opt/Tolvex Gateway/tolvexgateway" %u)")}},
                    {},
                    "/opt/Tolvex Gateway/tolvexgateway",
                    {"/opt/Tolvex Gateway/tolvexgateway", "geo:1,2"}},
        // A backslash is written four times: once for the string, once for the quoting.
        HandlerCase{
            "EscapesInsideQuotes",
            {{kUserList, kGeo + std::string("t.desktop")},
             {kUserApps + std::string("t.desktop"),
              Entry(R"(Exec=tolvexgateway "a \"b\" \$c \`d\` \\\\e%u" "two\swords" --tab=\t)")}},
            {},
            "/usr/bin/tolvexgateway",
            {"tolvexgateway", R"(a "b" $c `d` \e%u)", "two words", "--tab="}},
        HandlerCase{
            "FieldCodes",
            {{kUserList, kGeo + std::string("t.desktop")},
             {kUserApps + std::string("t.desktop"),
              Entry("Icon=tolvex\nExec=tolvexgateway --name=%c %i --entry %k 100%% %f %U")}},
            {},
            "/usr/bin/tolvexgateway",
            {"tolvexgateway", "--name=Tolvex Gateway", "--icon", "tolvex", "--entry",
             kUserApps + std::string("t.desktop"), "100%", "geo:1,2"}},
        HandlerCase{"DeprecatedFieldCodesVanish",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      Entry("Exec = tolvexgateway %d %D %n %N %v %m %i %u")}},
                    {},
                    "/usr/bin/tolvexgateway",
                    {"tolvexgateway", "geo:1,2"}},
        // An entry that cannot start passes the list on to its next id.
        HandlerCase{"UnknownFieldCodeIsInvalid",
                    {{kUserList, kGeo + std::string("t.desktop;firefox.desktop;")},
                     {kUserApps + std::string("t.desktop"), Entry("Exec=tolvexgateway %z")},
                     {kSystemApps + std::string("firefox.desktop"), kFirefox}},
                    {},
                    "/usr/bin/firefox-esr",
                    {"firefox-esr", "geo:1,2"}},
        HandlerCase{"QuoteLeftOpenIsInvalid",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"), Entry(R"(Exec="tolvexgateway %u)")}},
                    {},
                    "",
                    {}},
        HandlerCase{"MissingTryExecPassesOn",
                    {{kUserList, kGeo + std::string("t.desktop;firefox.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      Entry("TryExec=tolvex-viewer\nExec=tolvexgateway %u")},
                     {kSystemApps + std::string("firefox.desktop"), kFirefox}},
                    {},
                    "/usr/bin/firefox-esr",
                    {"firefox-esr", "geo:1,2"}},
        HandlerCase{"TryExecFound",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      Entry("TryExec=" + kSelf + "\nExec=tolvexgateway %u")}},
                    {},
                    "/usr/bin/tolvexgateway",
                    {"tolvexgateway", "geo:1,2"}},
        HandlerCase{"ProgramNotOnPath",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"), Entry("Exec=tolvexgateway %u")}},
                    {"PATH=/usr/games"},
                    "",
                    {}},
        // Hidden deletes the id: the system's entry of the same id is not used either.
        HandlerCase{"HiddenEntryHidesTheSystemOne",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"), Entry("Hidden=true\nExec=x %u")},
                     {kSystemApps + std::string("t.desktop"), kSelfEntry}},
                    {},
                    "",
                    {}},
        HandlerCase{"OnlyTheMainGroupCounts",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      "[Desktop Entry]\nType=Application\nName=T\n\n[Desktop Action new]\nExec="
                      "tolvexgateway %u\n"}},
                    {},
                    "",
                    {}},
        HandlerCase{"LinkEntryIsNoApplication",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {kUserApps + std::string("t.desktop"),
                      "[Desktop Entry]\nType=Link\nURL=https://example.org\nExec=x\n"}},
                    {},
                    "",
                    {}},
        HandlerCase{"DashStandsForASubfolder",
                    {{kUserList, kGeo + std::string("tolvex-maps-gateway.desktop")},
                     {kSystemApps + std::string("tolvex/maps/gateway.desktop"), kSelfEntry}},
                    {},
                    kSelf,
                    {kSelf, "geo:1,2"}},
        HandlerCase{"IdNeverLeavesTheFolder",
                    {{kUserList, kGeo + std::string("../../../x.desktop")},
                     {"/usr/share/x.desktop", kSelfEntry}},
                    {},
                    "",
                    {}},
        HandlerCase{"MissingIdPassesOn",
                    {{kUserList, kGeo + std::string(" gone.desktop ; tolvexgateway.desktop ;")},
                     {kSystemApps + std::string("tolvexgateway.desktop"), kSelfEntry}},
                    {},
                    kSelf,
                    {kSelf, "geo:1,2"}},
        HandlerCase{"DesktopListFirst",
                    {{kUserList, kGeo + std::string("tolvexgateway.desktop")},
                     {"/home/u/.config/gnome-mimeapps.list", kGeo + std::string("firefox.desktop")},
                     {kSystemApps + std::string("tolvexgateway.desktop"), kSelfEntry},
                     {kSystemApps + std::string("firefox.desktop"), kFirefox}},
                    {"XDG_CURRENT_DESKTOP=ubuntu:GNOME"},
                    "/usr/bin/firefox-esr",
                    {"firefox-esr", "geo:1,2"}},
        HandlerCase{"ConfigFoldersBeforeDataFolders",
                    {{kUserApps + std::string("mimeapps.list"), kGeo + std::string("t.desktop")},
                     {"/etc/xdg/mimeapps.list", kGeo + std::string("firefox.desktop")},
                     {kSystemApps + std::string("t.desktop"), kSelfEntry},
                     {kSystemApps + std::string("firefox.desktop"), kFirefox}},
                    {},
                    "/usr/bin/firefox-esr",
                    {"firefox-esr", "geo:1,2"}},
        HandlerCase{"RelativeConfigHomeIsIgnored",
                    {{kUserList, kGeo + std::string("t.desktop")},
                     {"config/mimeapps.list", kGeo + std::string("firefox.desktop")},
                     {kSystemApps + std::string("t.desktop"), kSelfEntry},
                     {kSystemApps + std::string("firefox.desktop"), kFirefox}},
                    {"XDG_CONFIG_HOME=config"},
                    kSelf,
                    {kSelf, "geo:1,2"}},
        HandlerCase{"DataDirsInTheirOrder",
                    {{"/srv/share/applications/mimeapps.list", kGeo + std::string("t.desktop")},
                     {"/usr/share/applications/mimeapps.list", kGeo + std::string("f.desktop")},
                     {"/srv/share/applications/t.desktop", kSelfEntry},
                     {kSystemApps + std::string("f.desktop"), kFirefox}},
                    {"XDG_DATA_DIRS=/srv/share:/usr/share"},
                    kSelf,
                    {kSelf, "geo:1,2"}},
        HandlerCase{"MimeinfoCacheLast",
                    {{kSystemApps + std::string("mimeinfo.cache"),
                      "[MIME Cache]\nx-scheme-handler/geo=gnome-maps.desktop;t.desktop;\n"},
                     {kSystemApps + std::string("gnome-maps.desktop"), Entry("Exec=gnome-maps %U")},
                     {kSystemApps + std::string("t.desktop"), kSelfEntry}},
                    {},
                    "/usr/bin/gnome-maps",
                    {"gnome-maps", "geo:1,2"}},
        HandlerCase{
            "MenuPrefixedDefaultsBeforeTheCache",
            {{kSystemApps + std::string("mimeinfo.cache"),
              "[MIME Cache]\nx-scheme-handler/geo=gnome-maps.desktop;\n"},
             {kSystemApps + std::string("gnome-defaults.list"), kGeo + std::string("t.desktop")},
             {kSystemApps + std::string("gnome-maps.desktop"), Entry("Exec=gnome-maps %U")},
             {kSystemApps + std::string("t.desktop"), kSelfEntry}},
            {"XDG_MENU_PREFIX=gnome-"},
            kSelf,
            {kSelf, "geo:1,2"}},
        HandlerCase{
            "SnapRunsItsProgramThroughEnv",
            {{kUserList, kGeo + std::string("maps_maps.desktop")},
             {"/var/lib/snapd/desktop/applications/maps_maps.desktop",
              Entry("Exec=env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/"
                    "maps_maps.desktop /snap/bin/maps %U")}},
            {"XDG_DATA_DIRS=/usr/share:/var/lib/snapd/desktop"},
            "/snap/bin/maps",
            {"env", "BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/maps_maps.desktop",
             "/snap/bin/maps", "geo:1,2"}},
        HandlerCase{
            "FlatpakRunsFlatpak",
            {{kUserList, kGeo + std::string("org.gnome.Maps.desktop")},
             {"/var/lib/flatpak/exports/share/applications/org.gnome.Maps.desktop",
              Entry("Exec=/usr/bin/flatpak run --branch=stable --arch=x86_64 "
                    "--command=gnome-maps --file-forwarding org.gnome.Maps @@u %U @@")}},
            {"XDG_DATA_DIRS=/var/lib/flatpak/exports/share:/usr/share"},
            "/usr/bin/flatpak",
            {"/usr/bin/flatpak", "run", "--branch=stable", "--arch=x86_64", "--command=gnome-maps",
             "--file-forwarding", "org.gnome.Maps", "@@u", "geo:1,2", "@@"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tolvex::platform::posix
