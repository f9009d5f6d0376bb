// The shell library's exports by name.
#include "platform/shell/shell_module.h"

#include <aygshell.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/kernel/modules.h"
#include "platform/registry/registry_state.h"

namespace handset {

namespace {
template <class F>
FARPROC Export(F* function) {
  // Through void (*)(), the generic function pointer, as GetProcAddressW hands them out.
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
}  // namespace

void RegisterShellModule() {
  std::vector<std::pair<std::string, FARPROC>> exports{
      {"SHCreateMenuBar", Export(&SHCreateMenuBar)},
      {"SHInitExtraControls", Export(&SHInitExtraControls)},
      {"SHHandleWMActivate", Export(&SHHandleWMActivate)},
      {"SHHandleWMSettingChange", Export(&SHHandleWMSettingChange)},
      {"SHInitDialog", Export(&SHInitDialog)},
      // Not global functions of these names: the program binds globals so named.
      {"RegistryNotifyWindow", Export(&NotifyWindowOfValue)},
      {"RegistryCloseNotification", Export(&CloseValueNotification)},
  };
  AddBuiltinModule(u"aygshell.dll", exports);
}

}  // namespace handset
