// The kernel area's part of the handset record.
#pragma once

#include "platform/kernel/event_registry.h"
#include "platform/kernel/local_heap.h"
#include "platform/kernel/module_registry.h"

namespace handset {

struct KernelState {
  ModuleRegistry modules;
  EventRegistry events;
  LocalHeap heap;
};

// Made on the first kernel call after boot or Reset(). That first call comes from the
// program's thread, before any handle exists for another thread to use.
KernelState& Kernel();

}  // namespace handset
