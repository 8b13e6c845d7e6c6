// Names for the rows of value-parameterised tables, so that a failure names its row:
// "Geocode" for the row whose key text is "Geocode", "TolVex_35_6_139_1c2d" for
// "TolVex:35.6,139". A name carries no position,
// so that inserting a row renames no other; GoogleTest refuses two rows of one table with the
// same name, so the key texts of a table must differ in their first 60 characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvex::test {

// `label` as a GoogleTest name (ASCII letters, digits and "_"): letters and digits stay, every
// other run of characters is one "_" (none at either end), at most 48 characters. Where that
// loses something ("$ost" and "$$ost" both read "ost"), four hex digits of a hash of the whole
// label follow, so that labels that differ give names that differ.
inline std::string RowName(std::string_view label) {
  std::string name;
  bool gap = false;
  bool lossy = label.empty();
  for (const char c : label) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!plain || name.size() >= 48) {
      lossy = true;
      gap = gap || !plain;
      continue;
    }
    if (gap && !name.empty()) name += '_';
    gap = false;
    name += c;
  }
  if (!lossy) return name;
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : label) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  constexpr char kHex[] = "0123456789abcdef";
  if (!name.empty()) name += '_';
  for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xF];
  return name;
}

// The name of a row whose key is several texts (an input and the separator it is read with).
template <typename... Parts>
std::string RowName(std::string_view first, const Parts&... rest) {
  std::string label(first);
  ((label += ' ', label += rest), ...);
  return RowName(label);
}

// A row of a table whose rows differ in one value: TOLVEX_ROW_NAMES(name) names it.
template <typename Value>
struct NamedRow {
  const char* name;
  Value value;
};

// The name generator for INSTANTIATE_TEST_SUITE_P: the row's `field` is its label.
#define TOLVEX_ROW_NAMES(field) \
  [](const auto& row) { return ::tolvex::test::RowName(row.param.field); }

}  // namespace tolvex::test
