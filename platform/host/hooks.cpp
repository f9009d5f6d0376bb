// The host's hooks, spread over the areas that call them.
#include "platform/host/hooks.h"

#include "platform/device/device.h"
#include "platform/handset/handset.h"
#include "platform/window/window_state.h"

namespace handset::host {

void InstallHooks(Hooks hooks) {
  HostHooks& window = Windows().hooks;
  window.idle = std::move(hooks.idle);
  window.delivering = std::move(hooks.delivering);
  window.afterDispatch = std::move(hooks.afterDispatch);
  window.afterSend = std::move(hooks.afterSend);
  window.boxOpened = std::move(hooks.boxOpened);
  TheHandset().refused = std::move(hooks.refused);
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
  TheHandset().refused = nullptr;
  Device().onCall = nullptr;
}

}  // namespace handset::host
