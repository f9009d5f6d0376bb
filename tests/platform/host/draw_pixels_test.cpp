// A run with drawing off: the program sees every call answer as in a run that draws,
// while no pixel of a bitmap or of the screen changes, and the screen is never written
// out as if it had been drawn.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "platform/handset/handset.h"
#include "platform/host/input.h"
#include "platform/host/screen.h"
#include "support/fresh_handset.h"
#include "support/idle_steps.h"
#include "support/message_script.h"

namespace {

using testsupport::MessageLog;

// One call as the program sees it: what it was, what it returned, the last error after.
using Answer = std::tuple<std::string, std::int64_t, DWORD>;

struct Pixels {
  std::vector<std::uint32_t> screen;
  std::vector<COLORREF> canvas;  // read with GetPixel, which reads the bitmap either way
};

struct Replay {
  std::vector<Answer> answers;
  std::vector<std::string> messages;
  Pixels before;  // when the sequence starts
  Pixels after;
};

constexpr int kCanvasWidth = 40;
constexpr int kCanvasHeight = 30;

Pixels Snapshot(HDC canvas) {
  Pixels pixels;
  const auto screen = handset::host::Screen();
  for (int y = 0; y < screen->height; ++y) {
    pixels.screen.insert(pixels.screen.end(), screen->Row(y), screen->Row(y) + screen->width);
  }
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      pixels.canvas.push_back(GetPixel(canvas, x, y));
    }
  }
  return pixels;
}

// Draws a window and a canvas, then, drawing on or off, runs calls of every kind on
// them, good and bad, recording what they answer.
Replay Play(bool draw) {
  handset::Reset();
  Replay replay;
  MessageLog log;
  testsupport::Steps steps;
  testsupport::RunStepsWhenIdle(steps);
  HWND window = testsupport::MakeWindow(MessageLog::Procedure, u"PIXELS", u"Pixels");
  UpdateWindow(window);
  HDC canvas = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(canvas, kCanvasWidth, kCanvasHeight);
  SelectObject(canvas, bitmap);
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  const RECT band{0, 10, kCanvasWidth, 20};
  FillRect(canvas, &band, green);
  replay.before = Snapshot(canvas);
  log.seen.clear();
  if (!draw) {
    handset::host::DrawPixels(false);
  }

  const auto answer = [&](std::string call, std::int64_t result) {
    replay.answers.emplace_back(std::move(call), result, GetLastError());
    SetLastError(0);
  };
  const auto handle = [](const void* h) { return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(h)); };
  SetLastError(0);

  // Pens, positions and lines, thin and wide, some wholly off the canvas.
  HPEN wide = CreatePen(PS_SOLID, 5, RGB(200, 0, 0));
  answer("SelectObject wide pen", handle(SelectObject(canvas, wide)));
  POINT previous{};
  answer("MoveToEx", MoveToEx(canvas, -10, 3, &previous));
  answer("previous position", previous.x * 1000 + previous.y);
  answer("LineTo wide", LineTo(canvas, 50, 25));
  answer("LineTo wide off the canvas", LineTo(canvas, 500, -400));
  answer("SelectObject black pen", handle(SelectObject(canvas, GetStockObject(BLACK_PEN))));
  answer("LineTo thin", LineTo(canvas, 3, 3));
  MoveToEx(canvas, 0, 0, &previous);
  answer("position after the lines", previous.x * 1000 + previous.y);
  answer("DeleteObject put back", DeleteObject(wide));
  answer("DeleteObject selected", DeleteObject(bitmap));
  answer("LineTo no context", LineTo(nullptr, 1, 1));
  answer("SetPixel inside", SetPixel(canvas, 5, 5, RGB(1, 2, 3)));
  answer("SetPixel outside", SetPixel(canvas, -5, 500, RGB(1, 2, 3)));
  answer("GetPixel outside", GetPixel(canvas, kCanvasWidth, 0));

  // Fills and blocks, the canvas onto itself and onto the screen.
  const RECT box{2, 2, 30, 12};
  answer("FillRect", FillRect(canvas, &box, green));
  answer("FillRect hollow", FillRect(canvas, &box, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
  answer("FillRect no brush", FillRect(canvas, &box, nullptr));
  answer("BitBlt overlapping", BitBlt(canvas, 3, 4, 30, 20, canvas, 0, 0, SRCCOPY));
  answer("BitBlt and", BitBlt(canvas, 0, 0, 20, 20, canvas, 10, 5, SRCAND));
  answer("BitBlt or", BitBlt(canvas, 0, 0, 20, 20, canvas, 10, 5, SRCPAINT));
  answer("BitBlt unknown operation", BitBlt(canvas, 0, 0, 20, 20, canvas, 10, 5, 0x00990066));
  answer("BitBlt empty", BitBlt(canvas, 0, 0, 0, 20, canvas, 10, 5, SRCCOPY));

  // Text: colours and modes given back, measures, opaque and clipped boxes.
  answer("SetTextColor", static_cast<std::int64_t>(SetTextColor(canvas, RGB(255, 255, 0))));
  answer("SetBkColor", static_cast<std::int64_t>(SetBkColor(canvas, RGB(0, 0, 90))));
  answer("SetBkMode", SetBkMode(canvas, TRANSPARENT));
  answer("SetBkMode bad", SetBkMode(canvas, 7));
  const char16_t text[] = u"Vuelta 3";
  const auto length = static_cast<UINT>(std::size(text) - 1);
  const RECT clip{1, 1, 25, 15};
  answer("ExtTextOutW opaque clipped",
         ExtTextOutW(canvas, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &clip, text, length, nullptr));
  answer("ExtTextOutW bad option", ExtTextOutW(canvas, 2, 2, 0x100, nullptr, text, length, nullptr));
  answer("ExtTextOutW no text", ExtTextOutW(canvas, 2, 2, 0, nullptr, nullptr, 3, nullptr));
  SIZE extent{};
  answer("GetTextExtentPoint32W", GetTextExtentPoint32W(canvas, text, static_cast<int>(length), &extent));
  answer("extent", extent.cx * 1000 + extent.cy);

  // The window: a part invalidated and painted, the canvas copied into it, a box over it.
  log.paintColour = RGB(0, 0, 255);
  log.on = [&](HWND target, UINT message, WPARAM, LPARAM) {
    if (message != WM_PAINT) {
      return false;
    }
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(target, &paint);
    answer("rcPaint", paint.rcPaint.left * 1000000LL + paint.rcPaint.top * 10000LL + paint.rcPaint.right * 100LL +
                          paint.rcPaint.bottom);
    answer("BitBlt onto the window", BitBlt(dc, 0, 0, kCanvasWidth, kCanvasHeight, canvas, 0, 0, SRCCOPY));
    answer("ExtTextOutW on the window", ExtTextOutW(dc, 5, 5, 0, nullptr, text, length, nullptr));
    answer("EndPaint", EndPaint(target, &paint));
    return true;
  };
  const RECT part{10, 10, 60, 40};
  answer("InvalidateRect", InvalidateRect(window, &part, TRUE));
  answer("UpdateWindow", UpdateWindow(window));
  steps.emplace_back([] { handset::host::AnswerTopmostBox(IDOK, false); });
  answer("MessageBoxW", MessageBoxW(window, u"Sin señal", u"Sensor", MB_OK));
  answer("DeleteDC", DeleteDC(canvas));
  answer("DeleteDC again", DeleteDC(canvas));

  for (const testsupport::Seen& seen : log.seen) {
    replay.messages.push_back(testsupport::Describe(seen));
  }
  HDC reader = CreateCompatibleDC(nullptr);
  SelectObject(reader, bitmap);
  replay.after = Snapshot(reader);
  handset::TheHandset().hooks = {};  // they hold this run's log and steps
  return replay;
}

class DrawPixelsTest : public testsupport::FreshHandset {};

TEST_F(DrawPixelsTest, CallsAnswerAsWhenDrawingButNoPixelChanges) {
  const Replay drawn = Play(true);
  const Replay undrawn = Play(false);
  EXPECT_EQ(undrawn.answers, drawn.answers);
  EXPECT_EQ(undrawn.messages, drawn.messages);
  EXPECT_EQ(std::count_if(drawn.messages.begin(), drawn.messages.end(),
                          [](const std::string& message) { return message.starts_with("sent WM_PAINT"); }),
            1);
  // The calls draw when drawing is on, so unchanged pixels are the switch's doing.
  EXPECT_NE(drawn.after.screen, drawn.before.screen);
  EXPECT_NE(drawn.after.canvas, drawn.before.canvas);
  EXPECT_TRUE(undrawn.after.screen == undrawn.before.screen) << "the screen changed";
  EXPECT_TRUE(undrawn.after.canvas == undrawn.before.canvas) << "the canvas changed";
  EXPECT_TRUE(undrawn.before.screen == drawn.before.screen && undrawn.before.canvas == drawn.before.canvas);
}

TEST_F(DrawPixelsTest, ScreenIsNotWrittenOnceDrawingWasOff) {
  const auto folder = std::filesystem::path(testing::TempDir()) / "draw_pixels_png";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const auto file = folder / "screen.png";
  const auto bytes = [&file] {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::string error;
  ASSERT_TRUE(handset::host::WriteScreenPng(file, error)) << error;
  const std::string drawnPicture = bytes();

  handset::host::DrawPixels(false);
  const bool writtenWhileOff = handset::host::WriteScreenPng(file, error);
  const std::string whyOff = error;
  // Turned on again, the screen still holds what was skipped.
  handset::host::DrawPixels(true);
  error.clear();
  const bool writtenAfter = handset::host::WriteScreenPng(file, error);
  EXPECT_EQ(std::make_tuple(writtenWhileOff, whyOff, writtenAfter, error, bytes() == drawnPicture),
            std::make_tuple(false, std::string("the screen is not drawn in this run"), false,
                            std::string("the screen is not drawn in this run"), true));
}

}  // namespace
