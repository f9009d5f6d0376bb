// The off-screen canvases every frame is drawn from and into, created at the first
// repaint and kept for the run.
#pragma once

#include <windows.h>

struct Surfaces {
  HDC FrameSurface;       // back buffer of the playfield, composed every frame
  HDC BackgroundSurface;  // plain grass, copied into the frame first
  HDC CarSheet;           // bitmap 129: 19 cars above their masks
  HDC MarkerSprite;       // bitmap 131: the roadside marker above its mask
  HDC DialImage;          // bitmap 132: the speed dial's face
};

extern Surfaces surfaces;

inline constexpr int HUD_HEIGHT = 200;  // the band below the playfield, drawn on the window

// Builds the five surfaces, paints the grass, and captures the client size. Also sets
// game.bestTime to 99 s, the lap clock's limit, so the first lap closed becomes the best:
// this runs once a run (at the first repaint), and ResetRace leaves the best lap alone.
void CreateSurfaces(HDC paintCanvas, const RECT& clientRect);
