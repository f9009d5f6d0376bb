// A handset booted as every host boots it.
#include "platform/host/boot.h"

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/kernel/modules.h"
#include "platform/session/session.h"
#include "platform/shell/shell_module.h"
#include "platform/window/window_state.h"

namespace handset::host {

HINSTANCE Boot(const BootSettings& settings, std::string& error) {
  if (!ScreenOf(settings.screen.width, settings.screen.height, settings.smallestBand, error)) {
    return nullptr;
  }
  Reset();
  BootScreen(settings.screen);
  Windows().now = settings.clock;
  Windows().bootTicks = settings.clock;
  RegisterShellModule();
  for (const BuiltinLibrary& library : settings.libraries) {
    if (!AddBuiltinModule(library.name, library.entries)) {
      error = "a built-in library has no module's name";
      return nullptr;
    }
  }
  BootDevice(settings.device, settings.modules);
  // Registered first: the session's folder carries the program's name.
  const HINSTANCE instance = AddProgramModule(settings.program, settings.resources);
  if (settings.session && !JoinSession(*settings.session, error)) {
    return nullptr;
  }
  return instance;
}

}  // namespace handset::host
