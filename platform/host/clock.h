// The handset's clock, which only the host moves: GetTickCount's milliseconds, wrapping.
#pragma once

#include <windef.h>

#include <optional>

#include "platform/handset/ticks.h"

namespace handset::host {

DWORD Now();
void SetNow(DWORD now);
// When the next timer falls due (perhaps already passed), if any timer runs.
std::optional<DWORD> NextTimerDue();
using handset::TicksUntil;

}  // namespace handset::host
