// The game's part of the headless trace: its state after every tick and paint.
#pragma once

#include <windows.h>

#include "headless_host.h"

// Writes a `tick` event after a timer message the main window handled, a `paint`
// event after each paint, each with every field of the game's state but the road.
void TraceGameState(const headless::HandledMessage& handled, kit::TraceWriter& trace);
