// Booting the handset as every host does it, and telling the main window apart.
#include "handset_boot.h"

#include "handset/handset.h"
#include "handset/module.h"
#include "session/session.h"
#include "shell/shell_module.h"
#include "window/window_state.h"

namespace hostboot {

bool IsMainWindowCandidate(HWND window) {
  const auto found = handset::WindowOf(window);
  return found && found->kind == handset::Window::Kind::Program && found->owner == nullptr &&
         (found->style & WS_CHILD) == 0;
}

HINSTANCE BootHandset(const HandsetOptions& options, const std::u16string& programName,
                      std::span<const std::byte> resources, std::string& error) {
  const std::optional<std::filesystem::path> modules = ModuleFolder(error);
  if (!modules) {
    return nullptr;
  }
  handset::Reset();
  handset::BootScreen(options.screen);
  handset::Windows().now = options.clock;
  handset::Windows().bootTicks = options.clock;
  handset::RegisterShellModule();
  handset::BootDevice(options.device, *modules);
  if (options.session && !handset::JoinSession(*options.session, error)) {
    return nullptr;
  }
  return handset::AddProgramModule(programName, resources);
}

}  // namespace hostboot
