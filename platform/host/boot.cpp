// A handset booted as every host boots it.
#include "platform/host/boot.h"

#include <cstdio>

#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/kernel/modules.h"
#include "platform/session/session.h"
#include "platform/shell/shell_module.h"
#include "platform/window/window_state.h"

namespace handset::host {

HINSTANCE Boot(const BootSettings& settings, std::string& error) {
  const HandsetSettings& phone = settings.handset;
  const ProgramSettings& program = settings.program;
  if (!ScreenOf(phone.screen.width, phone.screen.height, program.smallestBand, error)) {
    return nullptr;
  }
  Reset();
  BootScreen(phone.screen);
  Windows().now = phone.clock;
  Windows().bootTicks = phone.clock;
  RegisterShellModule();
  for (const BuiltinLibrary& library : program.libraries) {
    if (!AddBuiltinModule(library.name, library.entries)) {
      error = "a built-in library has no module's name";
      return nullptr;
    }
  }
  BootDevice(phone.device, settings.modules);
  // Registered first: the session's folder carries the program's name.
  const HINSTANCE instance = AddProgramModule(program.name, program.resources);
  // The program starts whatever the session's folder is like; the user hears how.
  if (std::string notice; phone.session && JoinSession(*phone.session, notice) != Joined::Shared) {
    if (settings.tell) {
      settings.tell(notice);
    } else {
      (void)std::fprintf(stderr, "%s\n", notice.c_str());
    }
  }
  return instance;
}

}  // namespace handset::host
