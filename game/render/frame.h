// Frame composition: the playfield off-screen, the race clock, and the head-up display
// drawn straight onto the window.
#pragma once

#include <windows.h>

inline constexpr UINT TICK_TIMER_ID = 666;
inline constexpr UINT TICK_PERIOD_MS = 50;

// The whole handling of the window's paint message; the first call starts the game.
void PaintFrame(HWND window);

// The dial and its needle on `canvas`, the window's paint canvas.
void DrawSpeedDial(HDC canvas);
