// The module's one QApplication, started on the display that ChoosePlatform picks.
#pragma once

class QApplication;

namespace tolvex::qt {

// The application, started on first use; null when no display answers (Qt is then never
// started, so it cannot end the process).
QApplication* EnsureApplication();

// Ends the application, if it was started.
void ShutDownApplication();

}  // namespace tolvex::qt
