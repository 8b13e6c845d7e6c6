// The map editor's form (dialog/map_editor.h has its logic): the map's id, area, datum and
// zoom, its command template, the preview of the command line and "&Try". See
// dialog/window_layout.h for what the columns mean.
#pragma once

#include <string>
#include <string_view>

#include "dialog/map_editor.h"
#include "dialog/window_layout.h"

namespace tolvex::map_editor_layout {

using layout::Control;
using layout::FontRole;
using layout::kIdCancel;
using layout::kIdOk;
using layout::Kind;
using layout::kWindow;

inline constexpr std::string_view kCaption = "TolvexGateway   - Map -";

inline constexpr int kOkButton = kIdOk;
inline constexpr int kCancelButton = kIdCancel;
inline constexpr int kIdLabel = 3001;
inline constexpr int kIdBox = 3002;
inline constexpr int kAreaLabel = 3003;
inline constexpr int kAreaBox = 3004;
inline constexpr int kDatumLabel = 3005;
inline constexpr int kDatumList = 3006;
inline constexpr int kZoomLabel = 3007;
inline constexpr int kZoomBox = 3008;
inline constexpr int kTemplateLabel = 3009;
inline constexpr int kTemplateBox = 3010;
inline constexpr int kPreviewLabel = 3011;
inline constexpr int kPreviewBox = 3012;  // MapEditorForm::preview
inline constexpr int kTryButton = 3013;

inline constexpr int kClientWidth = 7200;  // twips
inline constexpr int kClientHeight = 4725;

// Enter in the template box starts a new line; elsewhere it clicks OK.
// clang-format off
inline constexpr Control kControls[] = {
    // id             name             kind                     parent   caption              left   top  width height tab font              screen reader's name
    {kIdLabel,       "idLabel",       Kind::kLabel,            kWindow, "&Id",               { 240,  300, 1215,  255},  0, FontRole::kText,   ""},
    {kIdBox,         "idBox",         Kind::kEditBox,          kWindow, "",                  {1575,  240, 2535,  360},  1, FontRole::kText,   "Id"},
    {kAreaLabel,     "areaLabel",     Kind::kLabel,            kWindow, "&Area",             {4200,  300,  855,  255},  2, FontRole::kText,   ""},
    {kAreaBox,       "areaBox",       Kind::kEditBox,          kWindow, "",                  {5055,  240, 1905,  360},  3, FontRole::kText,   "Area"},
    {kDatumLabel,    "datumLabel",    Kind::kLabel,            kWindow, "&Datum",            { 240,  720, 1215,  255},  4, FontRole::kText,   ""},
    {kDatumList,     "datumList",     Kind::kDropDownList,     kWindow, "",                  {1575,  660, 1335,  360},  5, FontRole::kText,   "Datum"},
    {kZoomLabel,     "zoomLabel",     Kind::kLabel,            kWindow, "&Zoom",             {4200,  720,  855,  255},  6, FontRole::kText,   ""},
    {kZoomBox,       "zoomBox",       Kind::kEditBox,          kWindow, "",                  {5055,  660,  855,  360},  7, FontRole::kText,   "Zoom, blank or 0 to 21"},
    {kTemplateLabel, "templateLabel", Kind::kLabel,            kWindow, "&Command template", { 240, 1140, 6720,  255},  8, FontRole::kText,   ""},
    {kTemplateBox,   "templateBox",   Kind::kMultiLineEditBox, kWindow, "",                  { 240, 1380, 6720, 1095},  9, FontRole::kText,   "Command template"},
    {kPreviewLabel,  "previewLabel",  Kind::kLabel,            kWindow, "Pre&view",          { 240, 2595, 6720,  255}, 10, FontRole::kText,   ""},
    {kPreviewBox,    "previewBox",    Kind::kReadOnlyMultiLine,kWindow, "",                  { 240, 2835, 6720, 1095}, 11, FontRole::kText,   "Preview of the command line"},
    {kTryButton,     "tryButton",     Kind::kButton,           kWindow, "&Try",              { 240, 4110, 1095,  375}, 12, FontRole::kButton, "Try"},
    {kOkButton,      "okButton",      Kind::kButton,           kWindow, "OK",                {4665, 4110, 1095,  375}, 13, FontRole::kButton, "OK"},
    {kCancelButton,  "cancelButton",  Kind::kButton,           kWindow, "Cancel",            {5865, 4110, 1095,  375}, 14, FontRole::kButton, "Cancel"},
};
// clang-format on

inline constexpr layout::Window kWindowLayout = {kCaption,  kClientWidth,  kClientHeight, kControls,
                                                 kOkButton, kCancelButton, kIdBox};

// Where the map's texts show; the datum is the pick of kDatumList among kDatums.
struct FormText {
  std::string MapOption::*field;
  int control;
};

inline constexpr FormText kFormTexts[] = {
    {&MapOption::id, kIdBox},
    {&MapOption::area, kAreaBox},
    {&MapOption::zoom, kZoomBox},
    {&MapOption::command_template, kTemplateBox},
};

inline constexpr std::string_view kDatums[] = {"wgs84", "tokyo"};

// The buttons whose click alone raises an event, as dialog/window_events.h lists them; both
// views wire their clicks from this table.
using ButtonEvent = layout::ButtonEvent<MapEditorEvents>;

inline constexpr ButtonEvent kButtonEvents[] = {
#define TOLVEX_EDITOR_EVENT(handler, name, button) {button, &MapEditorEvents::handler},
    TOLVEX_EDITOR_EVENTS(TOLVEX_EDITOR_EVENT)
#undef TOLVEX_EDITOR_EVENT
};

}  // namespace tolvex::map_editor_layout
