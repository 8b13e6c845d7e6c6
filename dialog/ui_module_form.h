// Both sides of the UI module's C boundary (the gateway and tolvex_ui.so) turn OptionForm into
// TolvexUiForm and back with these; each side compiles its own copy, so no C++ type crosses.
#pragma once

#include <string_view>
#include <vector>

#include "dialog/option_view.h"
#include "dialog/ui_module_abi.h"

namespace tolvex {

inline TolvexUiText UiText(std::string_view text) { return {text.data(), text.size()}; }
inline std::string_view UiView(TolvexUiText text) { return {text.data, text.size}; }

// A TolvexUiForm over an OptionForm's texts; valid while both live and neither changes.
class UiFormView {
 public:
  explicit UiFormView(const OptionForm& form) {
    ids_.reserve(form.ids.size());
    for (const auto& id : form.ids) ids_.push_back(UiText(id));
    ui_.ids = ids_.data();
    ui_.id_count = ids_.size();
#define TOLVEX_UI_FORM_TEXT(field, control) ui_.field = UiText(form.field);
    TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
  }
  UiFormView(const UiFormView&) = delete;  // ui_ points into ids_
  UiFormView& operator=(const UiFormView&) = delete;
  const TolvexUiForm* get() const { return &ui_; }

 private:
  std::vector<TolvexUiText> ids_;
  TolvexUiForm ui_{};
};

inline OptionForm OptionFormOf(const TolvexUiForm& ui) {
  OptionForm form;
  form.ids.reserve(ui.id_count);
  for (size_t i = 0; i < ui.id_count; ++i) form.ids.emplace_back(UiView(ui.ids[i]));
#define TOLVEX_UI_FORM_TEXT(field, control) form.field = UiView(ui.field);
  TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
  return form;
}

}  // namespace tolvex
