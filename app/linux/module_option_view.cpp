#include "app/linux/module_option_view.h"

#include "dialog/ui_module_form.h"
#include "gateway/message_text.h"
#include "platform/message.h"

namespace tolvex {

void ModuleOptionView::Show(const OptionForm& form) { ops_->show(window_, UiFormView(form).get()); }

OptionForm ModuleOptionView::Read() const {
  OptionForm form;
  ops_->read(
      window_,
      [](void* context, const TolvexUiForm* received) {
        *static_cast<OptionForm*>(context) = OptionFormOf(*received);
      },
      &form);
  return form;
}

void ModuleOptionView::ShowError(std::string_view text, std::string_view title) {
  platform::WriteToStandardError(kProgramTitle, text);
  ops_->show_error(window_, UiText(text), UiText(title));
}

void ModuleOptionView::Close() { ops_->close(window_); }

}  // namespace tolvex
