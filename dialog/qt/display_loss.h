// Qt ends the process with exit(1) when the display's connection breaks (the X server ended,
// the user logged out). The exit handlers would then destroy Qt under the message box or the
// window whose loop is still on the stack, and crash. So while a box or the window is up, a
// handler registered after Qt's own (exit handlers run last-registered first) ends the
// process at once: status 1 and a line on standard error. The option file is safe: only OK
// writes it, and OK runs to its end before the loop looks at the display again.
#pragma once

namespace tolvex::qt {

// Marks a box or the window as up for its lifetime; scopes nest.
class UiUp {
 public:
  UiUp();
  ~UiUp();
  UiUp(const UiUp&) = delete;
  UiUp& operator=(const UiUp&) = delete;

 private:
  bool was_up_;
};

}  // namespace tolvex::qt
