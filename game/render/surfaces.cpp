// The surfaces and the three pictures, made once at the first repaint.
#include "render/surfaces.h"

#include "core/game_state.h"
#include "resource_ids.h"
#include "shell/shell_state.h"

Surfaces surfaces{};

namespace {
constexpr COLORREF GRASS_COLOUR = RGB(50, 200, 80);

HDC PictureCanvas(HDC paintCanvas, int id) {
  HDC canvas = CreateCompatibleDC(paintCanvas);
  SelectObject(canvas, LoadBitmapW(shell.appInstance, MAKEINTRESOURCEW(id)));
  return canvas;
}
}  // namespace

void CreateSurfaces(HDC paintCanvas, const RECT& clientRect) {
  game.clientWidth = clientRect.right;
  game.clientHeight = clientRect.bottom;
  // A client area of HUD_HEIGHT or less leaves no playfield: the bitmaps are then
  // refused and the canvases keep their 1 x 1 default, so nothing is drawn out of bounds.
  surfaces.FrameSurface = CreateCompatibleDC(paintCanvas);
  SelectObject(surfaces.FrameSurface,
               CreateCompatibleBitmap(paintCanvas, game.clientWidth, game.clientHeight - HUD_HEIGHT));
  surfaces.BackgroundSurface = CreateCompatibleDC(paintCanvas);
  SelectObject(surfaces.BackgroundSurface,
               CreateCompatibleBitmap(paintCanvas, game.clientWidth, game.clientHeight - HUD_HEIGHT));
  surfaces.CarSheet = PictureCanvas(paintCanvas, IDB_CAR_SHEET);
  surfaces.MarkerSprite = PictureCanvas(paintCanvas, IDB_MARKER);
  surfaces.DialImage = PictureCanvas(paintCanvas, IDB_DIAL);
  HBRUSH grass = CreateSolidBrush(GRASS_COLOUR);
  DeleteObject(SelectObject(surfaces.BackgroundSurface, grass));
  FillRect(surfaces.BackgroundSurface, &clientRect, grass);
  game.bestTime = 99.0;
}
