// One frame: grass, road, car into the frame surface; lap clock; labels, values and the
// dial onto the window; then the playfield copied up.
#include "render/frame.h"

#include <handset_math.h>
#include <cstdio>

#include "core/game_state.h"
#include "render/surfaces.h"

namespace {
constexpr int CAR_SIZE = 48;
constexpr COLORREF HUD_TEXT_COLOUR = RGB(100, 100, 0);
constexpr COLORREF HUD_BACK_COLOUR = RGB(0, 0, 0);
constexpr int TEXT_BUFFER_CHARS = 10;
constexpr int LABEL_X = 10;
constexpr int VALUE_X = 120;
constexpr int TIME_ROW = 50;   // above the bottom of the client area
constexpr int BEST_ROW = 100;  // likewise
// The eleven spaces paint over a longer previous value.
constexpr WCHAR TIME_LABEL[] = TEXT("Tiempo:           ");
constexpr WCHAR BEST_LABEL[] = TEXT("Record:");

constexpr int DIAL_SIZE = 64;
constexpr int DIAL_OFFSET = 72;   // from the right and bottom of the client area
constexpr int PIVOT_OFFSET = 40;  // likewise
constexpr int NEEDLE_WIDTH = 2;
constexpr COLORREF NEEDLE_COLOUR = RGB(200, 200, 150);
// Radians per unit of speed: pi at single precision, divided by ten.
constexpr double NEEDLE_RADIANS_PER_SPEED = 0.3141592502593994;
constexpr double NEEDLE_LENGTH = 30.0;

// "%.2f" of `value` into `buffer` as wide characters; returns the count. The buffer
// holds at most TEXT_BUFFER_CHARS - 1 characters and a terminator, whatever the value.
UINT FormatValue(WCHAR* buffer, double value) {
  char narrow[TEXT_BUFFER_CHARS] = {};
  (void)std::snprintf(narrow, sizeof narrow, "%.2f", value);
  UINT count = 0;
  while (narrow[count] != '\0') {
    buffer[count] = static_cast<WCHAR>(narrow[count]);
    ++count;
  }
  buffer[count] = 0;
  return count;
}

void DrawText(HDC canvas, int x, int y, const RECT& clientRect, const WCHAR* text, UINT count) {
  ExtTextOutW(canvas, x, y, 0, &clientRect, text, count, nullptr);
}

UINT Length(const WCHAR* text) {
  UINT count = 0;
  while (text[count] != 0) {
    ++count;
  }
  return count;
}
}  // namespace

void PaintFrame(HWND window) {
  PAINTSTRUCT paint{};
  HDC canvas = BeginPaint(window, &paint);
  RECT clientRect{};
  GetClientRect(window, &clientRect);

  if (game.ready == 0) {
    game.ready = 1;
    CreateSurfaces(canvas, clientRect);
    ResetRace();
    SetTimer(window, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
  }

  const int playfieldHeight = game.clientHeight - HUD_HEIGHT;
  BitBlt(surfaces.FrameSurface, 0, 0, game.clientWidth, playfieldHeight, surfaces.BackgroundSurface, 0, 0, SRCCOPY);
  RoadPass(surfaces.FrameSurface, surfaces.MarkerSprite);
  const int carX = static_cast<int>(game.carX);
  BitBlt(surfaces.FrameSurface, carX, game.carY, CAR_SIZE, CAR_SIZE, surfaces.CarSheet, game.carFrame * CAR_SIZE,
         CAR_SIZE, SRCAND);
  BitBlt(surfaces.FrameSurface, carX, game.carY, CAR_SIZE, CAR_SIZE, surfaces.CarSheet, game.carFrame * CAR_SIZE, 0,
         SRCPAINT);

  auto* buffer = static_cast<WCHAR*>(LocalAlloc(LPTR, TEXT_BUFFER_CHARS * sizeof(WCHAR)));
  ClockStep();
  // The allocation is not expected to fail; if it does, the values are left out.
  if (buffer != nullptr) {
    const UINT timeCount = FormatValue(buffer, game.lapTime);
    SetBkColor(canvas, HUD_BACK_COLOUR);
    SetTextColor(canvas, HUD_TEXT_COLOUR);
    DrawText(canvas, LABEL_X, game.clientHeight - TIME_ROW, clientRect, TIME_LABEL, Length(TIME_LABEL));
    DrawText(canvas, VALUE_X, game.clientHeight - TIME_ROW, clientRect, buffer, timeCount);
    const UINT bestCount = FormatValue(buffer, game.bestTime);
    DrawText(canvas, LABEL_X, game.clientHeight - BEST_ROW, clientRect, BEST_LABEL, Length(BEST_LABEL));
    DrawText(canvas, VALUE_X, game.clientHeight - BEST_ROW, clientRect, buffer, bestCount);
    LocalFree(buffer);
  }

  DrawSpeedDial(canvas);
  BitBlt(canvas, 0, 0, game.clientWidth, playfieldHeight, surfaces.FrameSurface, 0, 0, SRCCOPY);
  EndPaint(window, &paint);
}

void DrawSpeedDial(HDC canvas) {
  BitBlt(canvas, game.clientWidth - DIAL_OFFSET, game.clientHeight - DIAL_OFFSET, DIAL_SIZE, DIAL_SIZE,
         surfaces.DialImage, 0, 0, SRCCOPY);
  HPEN needle = CreatePen(PS_SOLID, NEEDLE_WIDTH, NEEDLE_COLOUR);
  HGDIOBJ previousPen = SelectObject(canvas, needle);
  const double a = game.shownSpeed * NEEDLE_RADIANS_PER_SPEED;
  const int c = static_cast<int>(cos(a) * NEEDLE_LENGTH);
  const int s = static_cast<int>(sin(a) * -NEEDLE_LENGTH);
  MoveToEx(canvas, game.clientWidth - PIVOT_OFFSET, game.clientHeight - PIVOT_OFFSET, nullptr);
  LineTo(canvas, game.clientWidth - s - PIVOT_OFFSET, game.clientHeight - c - PIVOT_OFFSET);
  SelectObject(canvas, previousPen);
  DeleteObject(needle);
}
