// What the handset tells its host while the program runs.
#pragma once

#include "platform/handset/host_hooks.h"

namespace handset::host {

using Hooks = handset::HostHooks;

// Installs `hooks` in place of any before; RemoveHooks leaves the handset to itself.
void InstallHooks(Hooks hooks);
void RemoveHooks();

}  // namespace handset::host
