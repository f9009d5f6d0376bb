// Device contexts and the objects they hold: what SelectObject hands back, what may be
// deleted, and that a handle that is not open is an error, never a crash.
#include <climits>
#include <tuple>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;
using gdi_test::GdiTest;

TEST_F(GdiTest, SelectObjectReturnsWhatItReplacedAndSelectedObjectsSurviveDeletion) {
  Canvas canvas(8, 8);
  HBITMAP second = CreateCompatibleBitmap(canvas.dc, 4, 4);
  EXPECT_EQ(SelectObject(canvas.dc, second), canvas.bitmap);
  EXPECT_EQ(SelectObject(canvas.dc, canvas.bitmap), second);
  EXPECT_TRUE(DeleteObject(second));
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc, pen);
  EXPECT_EQ(old, GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(canvas.bitmap));
  // A bitmap draws for one context at a time.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, canvas.bitmap), nullptr);
  DeleteDC(other);
  EXPECT_EQ(SelectObject(canvas.dc, old), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));

  // The surfaces' set-up deletes the stock brush it replaces: that must be harmless.
  HBRUSH grass = CreateSolidBrush(RGB(50, 200, 80));
  HGDIOBJ stock = SelectObject(canvas.dc, grass);
  EXPECT_EQ(stock, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(stock));
  EXPECT_EQ(SelectObject(canvas.dc, stock), grass);
  EXPECT_TRUE(DeleteObject(grass));
}

TEST_F(GdiTest, NewBitmapsAreBlackAndImpossibleOnesAreRefused) {
  const Canvas canvas(5, 3);
  EXPECT_EQ(canvas.Count(0x000000), 15);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 0, 10), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 10, -1), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(dc, INT_MAX, INT_MAX), nullptr);
  BITMAP info{};
  EXPECT_EQ(GetObjectW(canvas.bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  EXPECT_EQ(std::tie(info.bmWidth, info.bmHeight), std::make_tuple(5, 3));
  DeleteDC(dc);
}

TEST_F(GdiTest, HandlesThatAreNotOpenFailQuietly) {
  Canvas canvas(4, 4);
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  auto* const bogus = reinterpret_cast<HDC>(std::uintptr_t{0x1234});  // NOLINT
  for (HDC dc : {stale, bogus, static_cast<HDC>(nullptr)}) {
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(MoveToEx(dc, 0, 0, nullptr));
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 4, 4, canvas.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 4, 4, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(ExtTextOutW(dc, 0, 0, 0, nullptr, u"x", 1, nullptr));
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
  EXPECT_EQ(SelectObject(canvas.dc, canvas.dc), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  const RECT all{0, 0, 4, 4};
  EXPECT_FALSE(FillRect(canvas.dc, &all, nullptr));
  EXPECT_FALSE(FillRect(canvas.dc, nullptr, GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(canvas.Count(0x000000), 16);
}

}  // namespace
