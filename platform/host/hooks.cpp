#include "platform/host/hooks.h"

#include "platform/handset/handset.h"

namespace handset::host {

void InstallHooks(Hooks hooks) { TheHandset().hooks = std::move(hooks); }

void RemoveHooks() { TheHandset().hooks = {}; }

}  // namespace handset::host
