// Names for the rows of value-parameterised tables, so that a failure names its row:
// "12_TolVex_35_6_139" for row 12 whose key text is "TolVex:35.6,139".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvex::test {

// The row's position, then up to 40 characters of `label` with everything but ASCII letters
// and digits written as "_" (GoogleTest names allow nothing else).
inline std::string RowName(std::size_t index, std::string_view label) {
  std::string name = std::to_string(index);
  if (!label.empty()) name += '_';
  for (std::size_t i = 0; i < label.size() && i < 40; ++i) {
    const char c = label[i];
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name += plain ? c : '_';
  }
  return name;
}

// The name generator for INSTANTIATE_TEST_SUITE_P: the row's `field` is its label.
#define TOLVEX_ROW_NAMES(field) \
  [](const auto& row) { return ::tolvex::test::RowName(row.index, row.param.field); }

}  // namespace tolvex::test
