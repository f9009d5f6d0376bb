// The host's hooks, spread over the areas that call them.
#include "host/hooks.h"

#include "device/device.h"
#include "window/window_state.h"

namespace handset::host {

// `refused` has no caller yet: the handset's areas do not report refusals to the host.
void InstallHooks(Hooks hooks) {
  HostHooks& window = Windows().hooks;
  window.idle = std::move(hooks.idle);
  window.delivering = std::move(hooks.delivering);
  window.afterDispatch = std::move(hooks.afterDispatch);
  window.afterSend = std::move(hooks.afterSend);
  window.boxOpened = std::move(hooks.boxOpened);
  if (hooks.deviceCall) {
    Device().onCall = [call = std::move(hooks.deviceCall)](const DeviceCall& report) {
      call(report.function, report.args);
    };
  } else {
    Device().onCall = nullptr;
  }
}

void RemoveHooks() {
  Windows().hooks = {};
  Device().onCall = nullptr;
}

}  // namespace handset::host
