#include "cli/qt/gui_application.h"

#include <cstdlib>

namespace tracemont::cli {

std::unique_ptr<QGuiApplication> MakeGuiApplication() {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "tracemont-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace tracemont::cli
