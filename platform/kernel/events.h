// The handset's side of events: its device services watch the events the program
// signals them with, by name.
#pragma once

#include <windef.h>

#include <functional>
#include <string>

namespace handset {

// Calls `watcher` after every successful EventModify of an event named `name`, with the
// action (EVENT_SET, EVENT_RESET, EVENT_PULSE), on the calling thread and outside the
// kernel's locks, so the watcher may itself use events.
void WatchEvent(std::u16string name, std::function<void(DWORD action)> watcher);

// Whether an event by that name is open now, and whether it is signalled (false when
// there is none).
bool NamedEventExists(const std::u16string& name);
bool NamedEventSignalled(const std::u16string& name);

}  // namespace handset
