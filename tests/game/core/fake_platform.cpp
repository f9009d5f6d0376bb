// The few handset calls the race core makes, recorded instead of performed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core_test_support.h"

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  invalidateCalls.push_back({window, rect == nullptr, erase});
  return TRUE;
}

std::uint32_t TestSequence::Angle() {
  // 886 and 2187: whole degrees where glibc's sine is an ulp off the nearest double.
  static constexpr std::uint32_t SPECIAL[] = {0,   90,          180,         270,         359, 360, 361, 719,
                                              720, 4294967295U, 4294967206U, 2147483648U, 45,  44,  886, 2187};
  const std::uint32_t kind = Next() % 8;
  if (kind < 5) {
    return Next() % 400;
  }
  if (kind == 5) {
    return Next();
  }
  if (kind == 6) {
    return SPECIAL[Next() % std::size(SPECIAL)];
  }
  return 30 + Next() % 30;
}

std::vector<std::vector<std::string>> ReadGolden(const std::string& name) {
  std::ifstream in(std::string(CORE_TEST_DATA) + "/" + name);
  EXPECT_TRUE(in.good()) << "cannot read golden file " << name;
  std::vector<std::vector<std::string>> rows;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    if (!line.empty() && line[0] != '#') {
      rows.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
    }
  }
  return rows;
}

std::string Exact(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

namespace {
POINT position{};
}  // namespace

HPEN CreatePen(int, int, COLORREF) { return reinterpret_cast<HPEN>(0x9e); }
HGDIOBJ SelectObject(HDC, HGDIOBJ) { return reinterpret_cast<HGDIOBJ>(0x57); }
BOOL DeleteObject(HGDIOBJ) { return TRUE; }
BOOL BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return TRUE; }

BOOL MoveToEx(HDC, int x, int y, POINT*) {
  position = {x, y};
  return TRUE;
}

BOOL LineTo(HDC, int x, int y) {
  drawnLines.push_back({position, {x, y}});
  position = {x, y};
  return TRUE;
}
