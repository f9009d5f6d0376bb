#include "clock_steps.h"

#include <algorithm>

namespace desktop {

ClockStep NextClockStep(DWORD now, std::optional<DWORD> due, std::uint64_t real, std::optional<std::uint64_t> input,
                        DWORD longestWait) {
  // A timer due but not delivered belongs to a window a filtered loop does not serve.
  const bool timed = due.has_value() && *due > now;
  const DWORD dueAt = timed ? *due : 0;
  if (input.has_value()) {
    const DWORD at = static_cast<DWORD>(std::clamp<std::uint64_t>(*input, now, 0xFFFFFFFFU));
    if (!timed || at < dueAt) {
      return {ClockStep::Kind::Input, at, 0};
    }
    return {ClockStep::Kind::Tick, dueAt, 0};
  }
  if (timed && dueAt <= real) {
    return {ClockStep::Kind::Tick, dueAt, 0};
  }
  const std::uint64_t untilDue = timed ? dueAt - std::max<std::uint64_t>(real, now) : longestWait;
  return {ClockStep::Kind::Wait, now, static_cast<DWORD>(std::min<std::uint64_t>(untilDue, longestWait))};
}

}  // namespace desktop
