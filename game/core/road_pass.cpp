// The road pass: one walk down the visible segments per frame. It draws the road, the
// start/finish line and the markers, moves the race phase as the line passes the car,
// finds the car off the road, and scrolls the road by the shown speed.
#include <cstdlib>

#include "core/game_state.h"

namespace {
constexpr int MAX_SEGMENTS = 30;
constexpr std::int32_t SEGMENT_HEIGHT = 40;
constexpr std::int32_t ROAD_WIDTH = 200;
constexpr int PEN_WIDTH = 33;
constexpr COLORREF ROAD_COLOUR = RGB(120, 120, 120);
constexpr COLORREF LINE_COLOUR = RGB(200, 200, 200);
constexpr std::int32_t LINE_SEGMENT = 25;
constexpr std::int32_t STOP_BELOW = 520;
constexpr std::int32_t LINE_WINDOW = 15;
constexpr std::int32_t CAR_ROW_WINDOW = 20;
constexpr std::int32_t MARKER_SIZE = 24;
// The car's left edge may stand from 24 left of the road's edge to 176 right of it.
constexpr std::int32_t CAR_MARGIN_LEFT = 24;
constexpr std::int32_t CAR_MARGIN_RIGHT = 176;

bool HasMarker(std::int32_t index) { return index == 248 || index == 185 || index == LINE_SEGMENT; }

// Mask with AND, then picture with OR: outside the disc the frame stays as it was.
void DrawMarker(HDC canvas, HDC marker, std::int32_t x, std::int32_t y) {
  BitBlt(canvas, x, y, MARKER_SIZE, MARKER_SIZE, marker, 0, MARKER_SIZE, SRCAND);
  BitBlt(canvas, x, y, MARKER_SIZE, MARKER_SIZE, marker, 0, 0, SRCPAINT);
}
}  // namespace

void RoadPass(HDC canvas, HDC marker) {
  const std::int32_t startIndex = game.roadIndex;
  const std::int32_t startTop = game.roadTop;

  HPEN pen = CreatePen(PS_SOLID, PEN_WIDTH, ROAD_COLOUR);
  HGDIOBJ previousPen = SelectObject(canvas, pen);

  for (int n = 0; n < MAX_SEGMENTS; ++n) {
    std::int32_t i = game.roadIndex;
    const std::int32_t y = game.roadTop;
    const bool isLine = i == LINE_SEGMENT;
    if (isLine) {
      SelectObject(canvas, previousPen);
      DeleteObject(pen);
      pen = CreatePen(PS_SOLID, PEN_WIDTH, LINE_COLOUR);
      SelectObject(canvas, pen);
      if (game.carY < y - LINE_WINDOW && game.racePhase == RacePhase::Waiting) {
        game.racePhase = RacePhase::Racing;
      }
      if (game.carY > y + LINE_WINDOW && game.racePhase == RacePhase::Racing) {
        game.racePhase = RacePhase::LineAhead;
      }
    }

    const std::int32_t x0 = game.roadTable[i];
    MoveToEx(canvas, x0, y, nullptr);
    LineTo(canvas, x0 + ROAD_WIDTH, y);

    if (std::abs(game.clientHeight / 2 - y + CAR_ROW_WINDOW) < CAR_ROW_WINDOW) {
      if (game.carX < static_cast<double>(x0 - CAR_MARGIN_LEFT) ||
          game.carX > static_cast<double>(x0 + CAR_MARGIN_RIGHT)) {
        game.offRoad = 1;
      }
    }

    i = i + 1;
    if (i > ROAD_LAST_INDEX) {
      i = 0;
    }
    game.roadIndex = i;
    game.roadTop = y + SEGMENT_HEIGHT;

    const std::int32_t x1 = game.roadTable[i];
    LineTo(canvas, x1 + ROAD_WIDTH, y + SEGMENT_HEIGHT);
    MoveToEx(canvas, x0, y, nullptr);
    LineTo(canvas, x1, y + SEGMENT_HEIGHT);

    if (isLine) {
      SelectObject(canvas, previousPen);
      DeleteObject(pen);
      pen = CreatePen(PS_SOLID, PEN_WIDTH, ROAD_COLOUR);
      SelectObject(canvas, pen);
    }

    if (game.roadTop > STOP_BELOW) {
      break;
    }

    if (HasMarker(i)) {
      DrawMarker(canvas, marker, game.roadTable[i] - 80, game.roadTop);
      if (i == LINE_SEGMENT) {
        DrawMarker(canvas, marker, game.roadTable[LINE_SEGMENT] + 256, game.roadTop);
      }
    }
  }

  SelectObject(canvas, previousPen);
  DeleteObject(pen);

  // A frame that brings a new segment in at the top advances the road by 2v in all.
  const std::int32_t v = static_cast<std::int32_t>(game.shownSpeed);
  game.roadTop = startTop + v;
  game.roadIndex = startIndex;
  const std::int32_t w = startTop + 2 * v - SEGMENT_HEIGHT;
  if (w > -SEGMENT_HEIGHT) {
    game.roadIndex = startIndex - 1 < 0 ? ROAD_LAST_INDEX : startIndex - 1;
    game.roadTop = w;
  }
}
