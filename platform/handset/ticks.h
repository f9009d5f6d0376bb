// Tick counts: GetTickCount's milliseconds, which wrap after 2^32 ms.
#pragma once

#include <windef.h>

namespace handset {

// Milliseconds from `now` to `when`, negative once passed: times are only ever compared
// by their difference.
inline LONG TicksUntil(DWORD when, DWORD now) { return static_cast<LONG>(when - now); }

}  // namespace handset
