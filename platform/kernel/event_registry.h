// Named events (held weakly: a name lives while a handle to it is open) and the
// handset's watchers on them.
#pragma once

#include <windef.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/kernel/event.h"

namespace handset {

struct EventRegistry {
  std::mutex mutex;
  std::map<std::u16string, std::weak_ptr<Event>> named;
  std::map<std::u16string, std::vector<std::function<void(DWORD)>>> watchers;
};

}  // namespace handset
