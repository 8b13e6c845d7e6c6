// Both sides of the UI module's C boundary (the gateway and tolvex_ui.so) turn the forms of the
// windows (OptionForm, MapEditorForm, PlaceCardForm) into their C structs and back with these;
// each side compiles its own copy, so no C++ type crosses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialog/map_editor.h"
#include "dialog/option_view.h"
#include "dialog/place_card.h"
#include "dialog/ui_module_abi.h"

namespace tolvex {

inline TolvexUiText UiText(std::string_view text) { return {text.data(), text.size()}; }
inline std::string_view UiView(TolvexUiText text) { return {text.data, text.size}; }

// TolvexUiTexts over a list of strings; valid while the list lives and does not change.
inline std::vector<TolvexUiText> UiTexts(const std::vector<std::string>& texts) {
  std::vector<TolvexUiText> ui;
  ui.reserve(texts.size());
  for (const auto& text : texts) ui.push_back(UiText(text));
  return ui;
}

inline std::vector<std::string> UiStrings(const TolvexUiText* texts, size_t count) {
  std::vector<std::string> strings;
  strings.reserve(count);
  for (size_t i = 0; i < count; ++i) strings.emplace_back(UiView(texts[i]));
  return strings;
}

// The catalogue chooser's rows as their C structs; valid while `rows` lives and does not change.
inline std::vector<TolvexUiCatalogueRow> UiCatalogueRows(const std::vector<CatalogueRow>& rows) {
  std::vector<TolvexUiCatalogueRow> ui;
  ui.reserve(rows.size());
  for (const CatalogueRow& row : rows) ui.push_back({UiText(row.id), UiText(row.area)});
  return ui;
}

inline std::vector<CatalogueRow> CatalogueRowsOf(const TolvexUiCatalogueRow* rows, size_t count) {
  std::vector<CatalogueRow> read;
  read.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    read.push_back({std::string(UiView(rows[i].id)), std::string(UiView(rows[i].area))});
  }
  return read;
}

// A TolvexUiForm over an OptionForm's texts; valid while both live and neither changes.
class UiFormView {
 public:
  explicit UiFormView(const OptionForm& form)
      : ids_(UiTexts(form.ids)), areas_(UiTexts(form.areas)) {
    ui_.ids = ids_.data();
    ui_.id_count = ids_.size();
    ui_.areas = areas_.data();
    ui_.area_count = areas_.size();
    ui_.map_row = form.map_row;
    ui_.ask = form.ask ? 1 : 0;
#define TOLVEX_UI_FORM_TEXT(field, control) ui_.field = UiText(form.field);
    TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
  }
  UiFormView(const UiFormView&) = delete;  // ui_ points into ids_ and areas_
  UiFormView& operator=(const UiFormView&) = delete;
  const TolvexUiForm* get() const { return &ui_; }

 private:
  std::vector<TolvexUiText> ids_;
  std::vector<TolvexUiText> areas_;
  TolvexUiForm ui_{};
};

inline OptionForm OptionFormOf(const TolvexUiForm& ui) {
  OptionForm form;
  form.ids = UiStrings(ui.ids, ui.id_count);
  form.areas = UiStrings(ui.areas, ui.area_count);
  form.map_row = ui.map_row;
  form.ask = ui.ask != 0;
#define TOLVEX_UI_FORM_TEXT(field, control) form.field = UiView(ui.field);
  TOLVEX_OPTION_FORM_TEXTS(TOLVEX_UI_FORM_TEXT)
#undef TOLVEX_UI_FORM_TEXT
  return form;
}

// The map editor's form as its C struct; valid while `form` lives and does not change.
inline TolvexUiEditorForm UiEditorForm(const MapEditorForm& form) {
  TolvexUiEditorForm ui{};
#define TOLVEX_UI_EDITOR_TEXT(field, member) ui.field = UiText(form.member);
  TOLVEX_EDITOR_FORM_TEXTS(TOLVEX_UI_EDITOR_TEXT)
#undef TOLVEX_UI_EDITOR_TEXT
  return ui;
}

inline MapEditorForm MapEditorFormOf(const TolvexUiEditorForm& ui) {
  MapEditorForm form;
#define TOLVEX_UI_EDITOR_TEXT(field, member) form.member = UiView(ui.field);
  TOLVEX_EDITOR_FORM_TEXTS(TOLVEX_UI_EDITOR_TEXT)
#undef TOLVEX_UI_EDITOR_TEXT
  return form;
}

// A TolvexUiCardForm over a PlaceCardForm's texts; valid while both live and neither changes.
class UiCardFormView {
 public:
  explicit UiCardFormView(const PlaceCardForm& form) {
#define TOLVEX_UI_CARD_TEXT(field, control) ui_.field = UiText(form.field);
    TOLVEX_CARD_FORM_TEXTS(TOLVEX_UI_CARD_TEXT)
#undef TOLVEX_UI_CARD_TEXT
#define TOLVEX_UI_CARD_FLAG(field, initial) ui_.field = form.field ? 1 : 0;
    TOLVEX_CARD_FORM_FLAGS(TOLVEX_UI_CARD_FLAG)
#undef TOLVEX_UI_CARD_FLAG
#define TOLVEX_UI_CARD_LIST(field) \
  field##_ = UiTexts(form.field);  \
  ui_.field = field##_.data();     \
  ui_.field##_count = field##_.size();
    TOLVEX_CARD_FORM_LISTS(TOLVEX_UI_CARD_LIST)
#undef TOLVEX_UI_CARD_LIST
    ui_.selected = form.selected;
  }
  UiCardFormView(const UiCardFormView&) = delete;  // ui_ points into the lists
  UiCardFormView& operator=(const UiCardFormView&) = delete;
  const TolvexUiCardForm* get() const { return &ui_; }

 private:
#define TOLVEX_UI_CARD_LIST(field) std::vector<TolvexUiText> field##_;
  TOLVEX_CARD_FORM_LISTS(TOLVEX_UI_CARD_LIST)
#undef TOLVEX_UI_CARD_LIST
  TolvexUiCardForm ui_{};
};

inline PlaceCardForm PlaceCardFormOf(const TolvexUiCardForm& ui) {
  PlaceCardForm form;
#define TOLVEX_UI_CARD_TEXT(field, control) form.field = UiView(ui.field);
  TOLVEX_CARD_FORM_TEXTS(TOLVEX_UI_CARD_TEXT)
#undef TOLVEX_UI_CARD_TEXT
#define TOLVEX_UI_CARD_FLAG(field, initial) form.field = ui.field != 0;
  TOLVEX_CARD_FORM_FLAGS(TOLVEX_UI_CARD_FLAG)
#undef TOLVEX_UI_CARD_FLAG
#define TOLVEX_UI_CARD_LIST(field) form.field = UiStrings(ui.field, ui.field##_count);
  TOLVEX_CARD_FORM_LISTS(TOLVEX_UI_CARD_LIST)
#undef TOLVEX_UI_CARD_LIST
  form.selected = ui.selected;
  return form;
}

}  // namespace tolvex
