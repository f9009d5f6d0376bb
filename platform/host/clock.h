// The handset's clock, which only the host moves: GetTickCount's milliseconds, wrapping.
#pragma once

#include <windef.h>

#include <optional>

namespace handset::host {

DWORD Now();
void SetNow(DWORD now);
// When the next timer falls due (perhaps already passed), if any timer runs.
std::optional<DWORD> NextTimerDue();
// Milliseconds from `now` to `when`, negative once passed: times wrap after 2^32 ms, so
// they are only ever compared by their difference.
inline LONG TicksUntil(DWORD when, DWORD now) { return static_cast<LONG>(when - now); }

}  // namespace handset::host
