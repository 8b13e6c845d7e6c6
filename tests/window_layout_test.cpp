// The new windows' forms as both views read them: inside their parents, ids, tab indices and
// mnemonics unique in their window (the Maps tab's with the option window's), named tab stops.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>
#include <string>

#include "dialog/map_editor_layout.h"
#include "dialog/maps_layout.h"
#include "dialog/option_layout.h"
#include "dialog/place_card_layout.h"
#include "tests/support/row_name.h"

namespace tolvex {
namespace {

using layout::Control;

struct FormCase {
  const char* name;
  std::span<const Control> controls;
  int width, height;  // the window's client area
  bool in_option_window;
};

class WindowLayoutTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(WindowLayoutTest, EveryControlFitsAndIsReachable) {
  const FormCase& form = GetParam();
  std::set<int> ids, tabs;
  std::map<char, std::string> mnemonics;
  if (form.in_option_window) {
    mnemonics.emplace(layout::Mnemonic(option_layout::kHelpCaption), "the Help menu");
    for (const layout::Control& control : option_layout::kControls) {
      ids.insert(control.id);
      tabs.insert(control.tab_index);
    }
  }
  const std::vector<const Control*> order = layout::ByTabIndex(form.controls);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Control& control = *order[i];
    SCOPED_TRACE(control.name);
    const Control* parent = layout::FindControl(form.controls, control.parent);
    const int width = parent != nullptr ? parent->rect.width : form.width;
    const int height = parent != nullptr ? parent->rect.height : form.height;
    const layout::TwipsRect& place = control.rect;
    EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.left + place.width <= width &&
                place.top + place.height <= height);
    EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " twice";
    EXPECT_TRUE(tabs.insert(control.tab_index).second) << "tab index " << control.tab_index;
    if (const char letter = layout::Mnemonic(control.caption)) {
      EXPECT_TRUE(mnemonics.emplace(letter, control.name).second)
          << letter << " also " << mnemonics[letter];
      // A label's mnemonic moves the focus to the control after it in tab order.
      if (control.kind == layout::Kind::kLabel) {
        ASSERT_LT(i + 1, order.size());
        EXPECT_TRUE(layout::TakesFocus(order[i + 1]->kind));
      }
    }
    if (layout::TakesFocus(control.kind)) {
      EXPECT_STRNE(control.accessible_name, "");
    }
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Forms, WindowLayoutTest, ::testing::ValuesIn(std::vector<FormCase>{
    {"PlaceCard", place_card_layout::kControls, place_card_layout::kClientWidth, place_card_layout::kClientHeight, false},
    {"MapsTab", maps_layout::kControls, option_layout::kClientWidth, option_layout::kClientHeight, true},
    {"MapEditor", map_editor_layout::kControls, map_editor_layout::kClientWidth, map_editor_layout::kClientHeight, false},
    {"CatalogueChooser", maps_layout::chooser::kControls, maps_layout::chooser::kClientWidth, maps_layout::chooser::kClientHeight, false},
}), TOLVEX_ROW_NAMES(name));
// clang-format on

}  // namespace
}  // namespace tolvex
