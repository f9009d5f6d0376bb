// The laps of Vireta's race as the hosts count them, from the game's state after each
// message.
#pragma once

#include "lap_book.h"

kit::LapWatch WatchViretaLaps();
