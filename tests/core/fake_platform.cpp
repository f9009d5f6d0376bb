// The few handset calls the race core makes, recorded instead of performed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core_test_support.h"

std::vector<InvalidateCall>& InvalidateCalls() {
  static std::vector<InvalidateCall> calls;
  return calls;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  InvalidateCalls().push_back({window, rect == nullptr, erase});
  return TRUE;
}

ScriptedSensor& Sensor() {
  static ScriptedSensor sensor;
  return sensor;
}

namespace {
DWORD ScriptedRead(HANDLE handle, TiltSample* sample) {
  ScriptedSensor& sensor = Sensor();
  ++sensor.reads;
  sensor.lastHandle = handle;
  sample->throttleAngle = sensor.throttleAngle;
  sample->steerAngle = sensor.steerAngle;
  return 1;
}
}  // namespace

void OpenScriptedSensor() {
  HTCSensorGetDataOutput = ScriptedRead;
  sensorHandle = reinterpret_cast<HANDLE>(0x5e);
  sensorOpen = TRUE;
}

std::uint32_t TestSequence::Angle() {
  static constexpr std::uint32_t SPECIAL[] = {0,   90,  180,         270,         359,         360, 361,
                                              719, 720, 4294967295U, 4294967206U, 2147483648U, 45,  44};
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
    if (line.empty() || line[0] == '#') {
      continue;
    }
    std::istringstream words(line);
    std::vector<std::string> row;
    for (std::string word; words >> word;) {
      row.push_back(word);
    }
    rows.push_back(row);
  }
  return rows;
}

std::string Exact(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

namespace {
struct FakePen {
  int width;
  COLORREF colour;
  bool deleted;
};
std::vector<FakePen>& Pens() {
  static std::vector<FakePen> pens;
  return pens;
}
POINT& Position() {
  static POINT position{};
  return position;
}
FakePen PenOf(HGDIOBJ pen) {
  const auto index = reinterpret_cast<std::uintptr_t>(pen);
  if (index == 0 || index > Pens().size()) {
    return {0, 0, false};
  }
  return Pens()[index - 1];
}
}  // namespace

FakeCanvas& Canvas() {
  static FakeCanvas canvas;
  return canvas;
}
HDC FakeDc() { return reinterpret_cast<HDC>(0xdc); }
HDC FakeMarkerDc() { return reinterpret_cast<HDC>(0x131); }
HGDIOBJ CanvasStockPen() { return reinterpret_cast<HGDIOBJ>(0x57); }

HPEN CreatePen(int style, int width, COLORREF colour) {
  EXPECT_EQ(style, PS_SOLID);
  Pens().push_back({width, colour, false});
  ++Canvas().livePens;
  return reinterpret_cast<HPEN>(Pens().size());
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  EXPECT_EQ(dc, FakeDc());
  HGDIOBJ previous = Canvas().selectedPen == nullptr ? CanvasStockPen() : Canvas().selectedPen;
  Canvas().selectedPen = object;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  const auto index = reinterpret_cast<std::uintptr_t>(object);
  EXPECT_TRUE(index >= 1 && index <= Pens().size()) << "deleting an object never created";
  EXPECT_NE(Canvas().selectedPen, object) << "deleting the selected pen";
  Pens()[index - 1].deleted = true;
  --Canvas().livePens;
  return TRUE;
}

BOOL MoveToEx(HDC, int x, int y, POINT*) {
  Position() = {x, y};
  return TRUE;
}

BOOL LineTo(HDC, int x, int y) {
  const FakePen pen = PenOf(Canvas().selectedPen);
  EXPECT_FALSE(pen.deleted);
  Canvas().lines.push_back({Position(), {x, y}, pen.width, pen.colour});
  Position() = {x, y};
  return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  EXPECT_EQ(dst, FakeDc());
  Canvas().blits.push_back({x, y, width, height, srcX, srcY, src, rop});
  return TRUE;
}
