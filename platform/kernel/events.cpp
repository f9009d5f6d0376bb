// CreateEventW, EventModify, WaitForSingleObject, CloseHandle and the event watchers.
#include "platform/kernel/events.h"

#include <windows.h>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/kernel/kernel_state.h"

namespace handset {

namespace {
std::shared_ptr<Event> FindNamed(EventRegistry& registry, const std::u16string& name) {
  const auto found = registry.named.find(name);
  return found == registry.named.end() ? nullptr : found->second.lock();
}
}  // namespace

void WatchEvent(std::u16string name, std::function<void(DWORD action)> watcher) {
  if (!watcher) {
    return;
  }
  EventRegistry& registry = Kernel().events;
  const std::lock_guard lock(registry.mutex);
  registry.watchers[std::move(name)].push_back(std::move(watcher));
}

bool NamedEventExists(const std::u16string& name) {
  EventRegistry& registry = Kernel().events;
  const std::lock_guard lock(registry.mutex);
  return FindNamed(registry, name) != nullptr;
}

bool NamedEventSignalled(const std::u16string& name) {
  EventRegistry& registry = Kernel().events;
  const std::lock_guard lock(registry.mutex);
  const std::shared_ptr<Event> event = FindNamed(registry, name);
  return event && event->IsSignalled();
}

}  // namespace handset

using handset::Event;
using handset::EventRegistry;
using handset::Kernel;

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES /*attributes*/, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  std::u16string key = name == nullptr ? std::u16string() : std::u16string(name);
  EventRegistry& registry = Kernel().events;
  const std::lock_guard lock(registry.mutex);
  if (!key.empty()) {
    if (std::shared_ptr<Event> existing = handset::FindNamed(registry, key)) {
      HANDLE handle = handset::TheHandset().objects.Add(std::move(existing));
      SetLastError(ERROR_ALREADY_EXISTS);
      return handle;
    }
  }
  auto event = std::make_shared<Event>(manualReset != FALSE, initialState != FALSE, key);
  if (!key.empty()) {
    registry.named.insert_or_assign(std::move(key), event);
  }
  HANDLE handle = handset::TheHandset().objects.Add(std::move(event));
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL EventModify(HANDLE handle, DWORD action) {
  const std::shared_ptr<Event> event = handset::TheHandset().objects.Find<Event>(handle);
  if (!event) {
    handset::Refuse("EventModify", "not an event", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  switch (action) {
    case EVENT_SET:
      event->Set();
      break;
    case EVENT_RESET:
      event->Reset();
      break;
    case EVENT_PULSE:
      event->Pulse();
      break;
    default:
      handset::Refuse("EventModify", "the action is none of EVENT_SET, EVENT_RESET, EVENT_PULSE",
                      ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  if (!event->Name().empty()) {
    std::vector<std::function<void(DWORD)>> watchers;
    {
      EventRegistry& registry = Kernel().events;
      const std::lock_guard lock(registry.mutex);
      if (const auto found = registry.watchers.find(event->Name()); found != registry.watchers.end()) {
        watchers = found->second;
      }
    }
    for (const auto& watcher : watchers) {
      watcher(action);
    }
  }
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  // The waiter holds the event itself, so closing the handle meanwhile is safe.
  const std::shared_ptr<Event> event = handset::TheHandset().objects.Find<Event>(object);
  if (!event) {
    handset::Refuse("WaitForSingleObject", "not an event", ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return event->Wait(milliseconds);
}

BOOL CloseHandle(HANDLE object) {
  if (!handset::TheHandset().objects.Find<Event>(object)) {
    handset::Refuse("CloseHandle", "not an event", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::shared_ptr<Event> event = std::dynamic_pointer_cast<Event>(handset::TheHandset().objects.Remove(object));
  if (!event) {
    handset::Refuse("CloseHandle", "closed meanwhile by another thread", ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const std::u16string name = event->Name();
  event.reset();
  if (!name.empty()) {
    // Drop the name once its last handle is gone, so it can be made afresh.
    EventRegistry& registry = Kernel().events;
    const std::lock_guard lock(registry.mutex);
    if (const auto found = registry.named.find(name); found != registry.named.end() && found->second.expired()) {
      registry.named.erase(found);
    }
  }
  return TRUE;
}
