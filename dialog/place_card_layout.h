// The place card's form (dialog/place_card.h has its logic): the Place box and its message at the
// top, then the place's texts, the
// maps below them, the two check boxes and the buttons at the bottom. See dialog/window_layout.h
// for what the columns mean.
#pragma once

#include <iterator>
#include <string>
#include <string_view>

#include "dialog/place_card.h"
#include "dialog/window_layout.h"

namespace tolvex::place_card_layout {

using layout::Column;
using layout::Control;
using layout::FontRole;
using layout::kIdCancel;
using layout::kIdOk;
using layout::Kind;
using layout::kWindow;

inline constexpr int kOpenButton = kIdOk;  // Enter opens the selected map
inline constexpr int kCancelButton = kIdCancel;
inline constexpr int kCoordinatesLabel = 2001;
inline constexpr int kCoordinatesBox = 2002;
inline constexpr int kDmsLabel = 2003;
inline constexpr int kDmsBox = 2004;
inline constexpr int kGeocodeLabel = 2005;
inline constexpr int kGeocodeBox = 2006;
inline constexpr int kZoomLabel = 2007;
inline constexpr int kZoomBox = 2008;
inline constexpr int kMapsLabel = 2009;
inline constexpr int kMapList = 2010;
inline constexpr int kKeepOpenBox = 2011;
inline constexpr int kAlwaysBox = 2012;
inline constexpr int kCopyButton = 2013;  // drops down the menu of copy items
inline constexpr int kPlaceLabel = 2014;
inline constexpr int kPlaceBox = 2015;      // the text the place is read from, typed or pasted
inline constexpr int kPlaceMessage = 2016;  // why that text names no place

inline constexpr int kClientWidth = 7200;  // twips
inline constexpr int kClientHeight = 6330;

// clang-format off
inline constexpr Control kControls[] = {
    // id                 name                kind                     parent   caption                  left   top  width height tab font              screen reader's name
    {kPlaceLabel,        "placeLabel",       Kind::kLabel,            kWindow, "&Place",                { 240,  300, 1680,  255},  0, FontRole::kText,   ""},
    {kPlaceBox,          "placeBox",         Kind::kEditBox,          kWindow, "",                      {1920,  240, 5040,  360},  1, FontRole::kText,   "Place"},
    {kPlaceMessage,      "placeMessage",     Kind::kReadOnlyBox,      kWindow, "",                      {1920,  660, 5040,  360},  2, FontRole::kText,   "Why the text names no place"},
    {kCoordinatesLabel,  "coordinatesLabel", Kind::kLabel,            kWindow, "Coordinates",           { 240, 1140, 1680,  255},  3, FontRole::kText,   ""},
    {kCoordinatesBox,    "coordinatesBox",   Kind::kReadOnlyBox,      kWindow, "",                      {1920, 1080, 5040,  360},  4, FontRole::kText,   "Coordinates"},
    {kDmsLabel,          "dmsLabel",         Kind::kLabel,            kWindow, "Deg. Min. Sec.",        { 240, 1560, 1680,  255},  5, FontRole::kText,   ""},
    {kDmsBox,            "dmsBox",           Kind::kReadOnlyBox,      kWindow, "",                      {1920, 1500, 5040,  360},  6, FontRole::kText,   "Degrees, minutes and seconds"},
    {kGeocodeLabel,      "geocodeLabel",     Kind::kLabel,            kWindow, "Geocode",               { 240, 1980, 1680,  255},  7, FontRole::kText,   ""},
    {kGeocodeBox,        "geocodeBox",       Kind::kReadOnlyBox,      kWindow, "",                      {1920, 1920, 2760,  360},  8, FontRole::kText,   "Geocode"},
    {kZoomLabel,         "zoomLabel",        Kind::kLabel,            kWindow, "Zoom",                  {4800, 1980,  840,  255},  9, FontRole::kText,   ""},
    {kZoomBox,           "zoomBox",          Kind::kReadOnlyBox,      kWindow, "",                      {5640, 1920, 1320,  360}, 10, FontRole::kText,   "The link's zoom"},
    {kMapsLabel,         "mapsLabel",        Kind::kLabel,            kWindow, "&Maps",                 { 240, 2460, 3975,  255}, 11, FontRole::kText,   ""},
    {kMapList,           "mapList",          Kind::kListView,         kWindow, "",                      { 240, 2700, 6720, 2055}, 12, FontRole::kText,   "Maps"},
    {kKeepOpenBox,       "keepOpenBox",      Kind::kCheckBox,         kWindow, "&Keep this window open",{ 240, 4875, 6720,  300}, 13, FontRole::kText,   "Keep this window open"},
    {kAlwaysBox,         "alwaysBox",        Kind::kCheckBox,         kWindow, "&Always open this map without asking", { 240, 5235, 6720,  300}, 14, FontRole::kText, "Always open this map without asking"},
    {kCopyButton,        "copyButton",       Kind::kMenuButton,       kWindow, "&Copy",                 { 240, 5715, 1335,  375}, 15, FontRole::kButton, "Copy"},
    {kOpenButton,        "openButton",       Kind::kButton,           kWindow, "&Open",                 {4650, 5715, 1095,  375}, 16, FontRole::kButton, "Open"},
    {kCancelButton,      "cancelButton",     Kind::kButton,           kWindow, "Cancel",                {5865, 5715, 1095,  375}, 17, FontRole::kButton, "Cancel"},
};
// clang-format on

inline constexpr layout::Window kWindowLayout = {kPlaceCardCaption, kClientWidth, kClientHeight,
                                                 kControls,         kOpenButton,  kCancelButton,
                                                 kMapList};

// The map list's columns: PlaceCardForm::ids and ::areas.
inline constexpr Column kMapColumns[] = {{"Id", 4320}, {"Area", 2040}};

// Where the place's texts show.
struct FormText {
  std::string PlaceCardForm::*field;
  int control;
};

inline constexpr FormText kFormTexts[] = {
#define TOLVEX_CARD_TEXT(field, control) {&PlaceCardForm::field, control},
    TOLVEX_CARD_FORM_TEXTS(TOLVEX_CARD_TEXT)
#undef TOLVEX_CARD_TEXT
};

// The buttons whose click alone raises an event, as dialog/window_events.h lists them (the
// events that carry nothing); both views wire their clicks from this table. The copy button
// drops down the copy items instead, each raising OnCopy with its index.
using ButtonEvent = layout::ButtonEvent<PlaceCardEvents>;

#define TOLVEX_CARD_BUTTON_NONE(handler, button) {button, &PlaceCardEvents::handler},
#define TOLVEX_CARD_BUTTON_ITEM(handler, button)
inline constexpr ButtonEvent kButtonEvents[] = {
#define TOLVEX_CARD_EVENT(handler, name, param, button) TOLVEX_CARD_BUTTON_##param(handler, button)
    TOLVEX_CARD_EVENTS(TOLVEX_CARD_EVENT)
#undef TOLVEX_CARD_EVENT
};
#undef TOLVEX_CARD_BUTTON_NONE
#undef TOLVEX_CARD_BUTTON_ITEM

// The copy items' menu entries, one for each of kCopyItems (dialog/place_card.h) in its order:
// the entry's name for the toolkit's object tree, the label and the keys that copy it without
// the menu, written as both toolkits read them ("" for none).
struct CopyLabel {
  std::string_view name;
  std::string_view label;
  std::string_view shortcut;
};

// clang-format off
inline constexpr CopyLabel kCopyLabels[] = {
    {"coordinates", "&Coordinates", "Ctrl+C"},
    {"dms", "&Degrees, minutes, seconds", ""},
    {"geocode", "&Geocode", ""},
    {"tolvex", "&TolVex: link", ""},
    {"geo", "g&eo: link", ""},
    {"map", "&Map link", "Ctrl+Shift+C"},
};
// clang-format on
static_assert(std::size(kCopyLabels) == std::size(kCopyItems));

}  // namespace tolvex::place_card_layout
