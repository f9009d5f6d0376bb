// How a host on the real clock moves the handset's clock, kept apart from the host so
// the rule that makes a recording replay exactly can be checked on its own.
#pragma once

#include <windef.h>

#include <cstdint>
#include <optional>

namespace kit {

struct ClockStep {
  enum class Kind {
    Input,  // apply the oldest waiting input at `now`
    Tick,   // move to `now`, when the next timer falls due
    Wait,   // nothing is due: wait up to `waitMs` for an event
  };
  Kind kind = Kind::Wait;
  DWORD now = 0;
  DWORD waitMs = 0;
};

// The next step, given the handset clock `now`, the next timer due (if any), the real
// time elapsed on the handset's scale, and when the oldest waiting input arrived.
// The clock never passes a due timer: after a stall it catches up one tick at a time,
// and an input is applied only once every timer due at or before its time has been
// delivered. `longestWait` bounds a wait when no timer runs.
ClockStep NextClockStep(DWORD now, std::optional<DWORD> due, std::uint64_t real, std::optional<std::uint64_t> input,
                        DWORD longestWait);

}  // namespace kit
