// vornix: Vornix's main window, or its console mode.
//
//   vornix [UserId=...] [ORACLEHOME=...] [OCIDLL=...]        the window
//   vornix --console [UserId=user/password@database] [script]
//
// Without a display (no DISPLAY or WAYLAND_DISPLAY, and no QT_QPA_PLATFORM
// naming a platform) the console mode runs whether asked for or not, so
// that the program is useful over ssh. The console mode makes no Qt
// application at all.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ConsoleMode.h"
#include "QtApplication.h"
#include "QtMainWindow.h"
#include "QtSettingsStore.h"
#include "vorn/host/Application.h"

namespace {

bool HasEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool DisplayAvailable() {
#if defined(_WIN32) || defined(__APPLE__)
  return true;
#else
  return HasEnvironment("DISPLAY") || HasEnvironment("WAYLAND_DISPLAY") ||
         HasEnvironment("QT_QPA_PLATFORM");
#endif
}

int RunWindow(int argc, char** argv) {
  vorn::VornixApplication app(argc, argv);
  vorn::Application().SetTitle("Vornix");
  int status = 0;
  {
    vorn::QtSettingsStore settings;
    vorn::TForm1 form(settings, &vorn::Application());
    form.show();
    status = app.exec();
  }
  // The session (with its query and dataset) belongs to the application
  // object; freeing it logs it off while the client library is still there.
  vorn::Application().DestroyComponents();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  bool console = false;
  for (const std::string& argument : arguments) {
    if (argument == "--console") console = true;
    if (argument == "--help" || argument == "-h") console = true;
  }
  if (console || !DisplayAvailable()) {
    return vorn::RunConsole(arguments, stdin, stdout, stderr);
  }
  return RunWindow(argc, argv);
}
