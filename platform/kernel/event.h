// An event object, manual or auto reset. Waiters queue in arrival order, so a set or a
// pulse releases exactly the threads that were waiting when it happened, even if the
// event is reset before they get to run.
#pragma once

#include <windef.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

#include "platform/handset/object_table.h"

namespace handset {

class Event : public Object {
 public:
  Event(bool manualReset, bool signalled, std::u16string name);

  // Manual: signalled until reset, every waiter released. Auto: releases the longest
  // waiter, or stays signalled for the next wait when none is waiting.
  void Set();
  void Reset();
  // Releases the current waiters (auto: the longest one) and leaves the event reset.
  void Pulse();
  bool IsSignalled() const;

  // WAIT_OBJECT_0 or WAIT_TIMEOUT; INFINITE waits for good.
  DWORD Wait(DWORD milliseconds);

  // Empty for a private event.
  const std::u16string& Name() const { return name_; }

 private:
  void Release(bool everyone);  // with mutex_ held

  mutable std::mutex mutex_;
  std::condition_variable released_;
  const bool manualReset_;
  bool signalled_;
  const std::u16string name_;
  std::uint64_t nextTicket_ = 0;
  std::set<std::uint64_t> waiting_;
  std::set<std::uint64_t> freed_;
};

}  // namespace handset
