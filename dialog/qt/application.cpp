#include "dialog/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <memory>
#include <optional>
#include <string>

#include "dialog/qt/display_probe.h"

namespace tolvex::qt {
namespace {

// QApplication keeps argc and argv for its whole life.
std::string platform_name;
int argc_for_qt = 3;
char program_name[] = "tolvexgateway";
char platform_option[] = "-platform";
char* argv_for_qt[] = {program_name, platform_option, nullptr, nullptr};
std::unique_ptr<QApplication> application;

}  // namespace

QApplication* EnsureApplication() {
  if (application != nullptr) return application.get();
  std::optional<XDisplayProbe> x_probe;  // closed only once Qt has connected
  platform_name = ChoosePlatform(x_probe);
  if (platform_name.empty()) return nullptr;
  argv_for_qt[2] = platform_name.data();
  application = std::make_unique<QApplication>(argc_for_qt, argv_for_qt);
  // The option window's own unload ends its loop; a message box closing must not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tolvex/tolvexgateway-32.png")));
  return application.get();
}

void ShutDownApplication() { application.reset(); }

}  // namespace tolvex::qt
