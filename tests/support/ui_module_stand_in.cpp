// Stand-ins for tolvex_ui.so that the gateway must refuse: a module of another version of the
// boundary and, built with TOLVEX_UI_NO_ENTRY, one without the entry symbol.
#include "dialog/ui_module_abi.h"

#ifdef TOLVEX_UI_NO_ENTRY
extern "C" __attribute__((visibility("default"))) int tolvex_ui_other_symbol() { return 0; }
#else
extern "C" __attribute__((visibility("default"))) const TolvexUiModule* tolvex_ui_module() {
  static const TolvexUiModule module = [] {
    TolvexUiModule other{};
    other.abi_version = TOLVEX_UI_ABI_VERSION + 1;
    return other;
  }();
  return &module;
}
#endif
