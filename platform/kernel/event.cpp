// Event state and waits.
#include "platform/kernel/event.h"

#include <winbase.h>

#include <chrono>

namespace handset {

Event::Event(bool manualReset, bool signalled, std::u16string name)
    : manualReset_(manualReset), signalled_(signalled), name_(std::move(name)) {}

void Event::Release(bool everyone) {
  while (!waiting_.empty()) {
    freed_.insert(waiting_.extract(waiting_.begin()));
    if (!everyone) {
      break;
    }
  }
  released_.notify_all();
}

void Event::Set() {
  const std::lock_guard lock(mutex_);
  if (manualReset_) {
    signalled_ = true;
    Release(true);
  } else if (waiting_.empty()) {
    signalled_ = true;
  } else {
    Release(false);
  }
}

void Event::Reset() {
  const std::lock_guard lock(mutex_);
  signalled_ = false;
}

void Event::Pulse() {
  const std::lock_guard lock(mutex_);
  Release(manualReset_);
  signalled_ = false;
}

bool Event::IsSignalled() const {
  const std::lock_guard lock(mutex_);
  return signalled_;
}

DWORD Event::Wait(DWORD milliseconds) {
  std::unique_lock lock(mutex_);
  if (signalled_) {
    signalled_ = manualReset_;
    return WAIT_OBJECT_0;
  }
  if (milliseconds == 0) {
    return WAIT_TIMEOUT;
  }
  const std::uint64_t ticket = nextTicket_++;
  waiting_.insert(ticket);
  const auto done = [&] { return freed_.contains(ticket); };
  if (milliseconds == INFINITE) {
    released_.wait(lock, done);
  } else if (!released_.wait_for(lock, std::chrono::milliseconds(milliseconds), done)) {
    waiting_.erase(ticket);
    return WAIT_TIMEOUT;
  }
  freed_.erase(ticket);
  return WAIT_OBJECT_0;
}

}  // namespace handset
