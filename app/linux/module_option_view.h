// The OptionView that FrmOption talks to in the gateway: each call crosses the UI module's C
// boundary into the module's window.
#pragma once

#include <string_view>

#include "dialog/option_view.h"
#include "dialog/ui_module_abi.h"

namespace tolvex {

class ModuleOptionView final : public OptionView {
 public:
  // The window and its operations are bound afresh for every event the module sends.
  void Bind(TolvexUiWindow* window, const TolvexUiWindowOps* ops) {
    window_ = window;
    ops_ = ops;
  }

  void Show(const OptionForm& form) override;
  OptionForm Read() const override;
  // Also a line on standard error, as every message of the program.
  void ShowError(std::string_view text, std::string_view title) override;
  void Close() override;

 private:
  TolvexUiWindow* window_ = nullptr;
  const TolvexUiWindowOps* ops_ = nullptr;
};

}  // namespace tolvex
