#include "clock_steps.h"

#include <algorithm>

namespace kit {

ClockStep NextClockStep(DWORD now, std::optional<DWORD> due, std::uint64_t real, std::optional<std::uint64_t> input,
                        DWORD longestWait) {
  // Everything is measured from `now` by difference, since the tick count wraps; real
  // time and input are on the handset's scale, so their low 32 bits are tick counts.
  const auto since = [now](std::uint64_t at) { return static_cast<LONG>(static_cast<DWORD>(at) - now); };
  const LONG untilDue = due.has_value() ? since(*due) : 0;
  // A timer due but not delivered belongs to a window a filtered loop does not serve.
  const bool timed = due.has_value() && untilDue > 0;
  const DWORD dueAt = timed ? *due : 0;
  if (input.has_value()) {
    const LONG after = std::max<LONG>(since(*input), 0);
    if (!timed || after < untilDue) {
      return {ClockStep::Kind::Input, now + static_cast<DWORD>(after), 0};
    }
    return {ClockStep::Kind::Tick, dueAt, 0};
  }
  const LONG realAhead = since(real);
  if (timed && untilDue <= realAhead) {
    return {ClockStep::Kind::Tick, dueAt, 0};
  }
  const DWORD untilDueFromReal = timed ? static_cast<DWORD>(untilDue - std::max<LONG>(realAhead, 0)) : longestWait;
  return {ClockStep::Kind::Wait, now, std::min(untilDueFromReal, longestWait)};
}

}  // namespace kit
