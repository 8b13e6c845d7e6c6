// The option window's second tab, "Maps", and the catalogue chooser that its "From &catalogue…"
// opens. The first tab and its controls stay as dialog/option_layout.h has them; the Maps tab's
// controls lie on a panel of their own over the tab strip's second page, in the place of the
// first page's panel, and only the shown page's controls are visible. See
// dialog/window_layout.h for what the columns mean.
#pragma once

#include <string_view>

#include "dialog/window_layout.h"

namespace tolvex::maps_layout {

using layout::Column;
using layout::Control;
using layout::FontRole;
using layout::kIdCancel;
using layout::kIdOk;
using layout::Kind;
using layout::kWindow;

inline constexpr std::string_view kTabCaption = "Maps";

inline constexpr int kMapsPanel = 1201;
inline constexpr int kMapsLabel = 1202;
inline constexpr int kMapList = 1203;  // OptionForm::ids and ::areas; OptionForm::map_row
inline constexpr int kNewButton = 1204;
inline constexpr int kEditButton = 1205;
inline constexpr int kDuplicateButton = 1206;
inline constexpr int kDeleteButton = 1207;
inline constexpr int kCatalogueButton = 1208;
inline constexpr int kAskBox = 1209;  // OptionForm::ask

// Tab indices go on from the option window's (0 to 13): the panel and its controls come after
// the first page's in the order the dialog manager keeps.
// clang-format off
inline constexpr Control kControls[] = {
    // id               name               kind              parent      caption                                  left   top  width height tab font              screen reader's name
    {kMapsPanel,       "mapsPanel",       Kind::kPanel,     kWindow,    "",                                      { 240,  720, 7575, 4545}, 14, FontRole::kNone,   "Maps"},
    {kMapsLabel,       "mapsLabel",       Kind::kLabel,     kMapsPanel, "&Maps of the option file",              { 240,  360, 5295,  255}, 15, FontRole::kText,   ""},
    {kMapList,         "mapList",         Kind::kListView,  kMapsPanel, "",                                      { 240,  600, 5295, 3255}, 16, FontRole::kText,   "Maps of the option file"},
    {kNewButton,       "newButton",       Kind::kButton,    kMapsPanel, "&New…",                                 {5655,  600, 1680,  375}, 17, FontRole::kButton, "New"},
    {kEditButton,      "editButton",      Kind::kButton,    kMapsPanel, "&Edit…",                                {5655, 1080, 1680,  375}, 18, FontRole::kButton, "Edit"},
    {kDuplicateButton, "duplicateButton", Kind::kButton,    kMapsPanel, "D&uplicate",                            {5655, 1560, 1680,  375}, 19, FontRole::kButton, "Duplicate"},
    {kDeleteButton,    "deleteButton",    Kind::kButton,    kMapsPanel, "&Delete",                               {5655, 2040, 1680,  375}, 20, FontRole::kButton, "Delete"},
    {kCatalogueButton, "catalogueButton", Kind::kButton,    kMapsPanel, "From &catalogue…",                      {5655, 2640, 1680,  375}, 21, FontRole::kButton, "From catalogue"},
    {kAskBox,          "askBox",          Kind::kCheckBox,  kMapsPanel, "Ask which map to use for each &link",   { 240, 4020, 7095,  300}, 22, FontRole::kText,   "Ask which map to use for each link"},
};
// clang-format on

// The map list's columns: OptionForm::ids and ::areas.
inline constexpr Column kMapColumns[] = {{"Id", 3420}, {"Area", 1635}};

// The catalogue chooser (OptionView::ChooseItem): a list of the rows, id and area in the two
// columns, OK picks the selected one (as Enter and a double-click do), Cancel and
// Esc pick none.
namespace chooser {

inline constexpr std::string_view kCaption = "TolvexGateway   - Catalogue -";
inline constexpr int kOkButton = kIdOk;
inline constexpr int kCancelButton = kIdCancel;
inline constexpr int kListLabel = 4001;
inline constexpr int kItemList = 4002;

inline constexpr int kClientWidth = 7200;  // twips
inline constexpr int kClientHeight = 4230;

// clang-format off
inline constexpr Control kControls[] = {
    // id            name            kind              parent   caption                    left   top  width height tab font              screen reader's name
    {kListLabel,    "listLabel",    Kind::kLabel,     kWindow, "&Maps of the catalogue",  { 240,  240, 6720,  255}, 0, FontRole::kText,   ""},
    {kItemList,     "itemList",     Kind::kListView,  kWindow, "",                        { 240,  480, 6720, 3015}, 1, FontRole::kText,   "Maps of the catalogue"},
    {kOkButton,     "okButton",     Kind::kButton,    kWindow, "OK",                      {4665, 3615, 1095,  375}, 2, FontRole::kButton, "OK"},
    {kCancelButton, "cancelButton", Kind::kButton,    kWindow, "Cancel",                  {5865, 3615, 1095,  375}, 3, FontRole::kButton, "Cancel"},
};
// clang-format on

inline constexpr layout::Window kWindowLayout = {kCaption,  kClientWidth,  kClientHeight, kControls,
                                                 kOkButton, kCancelButton, kItemList};

inline constexpr Column kColumns[] = {{"Id", 4320}, {"Area", 2040}};

}  // namespace chooser

}  // namespace tolvex::maps_layout
