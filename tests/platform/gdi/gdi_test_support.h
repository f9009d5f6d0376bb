// A fresh handset and a memory canvas to draw on, read back pixel by pixel.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/gdi/device_context.h"
#include "platform/handset/handset.h"
#include "support/fresh_handset.h"

namespace gdi_test {

class Canvas {
 public:
  Canvas(int width, int height) : dc(CreateCompatibleDC(nullptr)) {
    bitmap = CreateCompatibleBitmap(dc, width, height);
    SelectObject(dc, bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() { DeleteDC(dc); }

  std::uint32_t At(int x, int y) const { return handset::BitmapOf(dc)->At(x, y); }
  int Width() const { return handset::BitmapOf(dc)->Width(); }
  int Height() const { return handset::BitmapOf(dc)->Height(); }
  // How many pixels are `pixel` (0x00RRGGBB).
  int Count(std::uint32_t pixel) const {
    int n = 0;
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) {
        n += At(x, y) == pixel ? 1 : 0;
      }
    }
    return n;
  }
  // Row y as characters: '#' where the pixel is `pixel`, '.' elsewhere.
  std::string Row(int y, std::uint32_t pixel) const {
    std::string row;
    for (int x = 0; x < Width(); ++x) {
      row += At(x, y) == pixel ? '#' : '.';
    }
    return row;
  }
  void Fill(COLORREF colour) const {
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  // Draws one line with a fresh pen, then puts the old pen back and frees the new one.
  void Line(int width, COLORREF colour, int x0, int y0, int x1, int y1) const {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
  }

  HDC dc;
  HBITMAP bitmap;
};

using GdiTest = testsupport::FreshHandset;

}  // namespace gdi_test
