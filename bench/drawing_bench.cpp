// What one frame's drawing costs on the handset, each figure beside the memory floor
// of the same pixels: a bare copy of a 480 × 336 surface.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "core/game_state.h"
#include "platform/handset/handset.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 336;

struct Surface {
  Surface(int width, int height) : dc(CreateCompatibleDC(nullptr)) {
    SelectObject(dc, CreateCompatibleBitmap(dc, width, height));
  }
  HDC dc;
};

void MemoryFloor(benchmark::State& state) {
  std::vector<std::uint32_t> from(kWidth * kHeight, 0x32C850);
  std::vector<std::uint32_t> to(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size() * 4));
}
BENCHMARK(MemoryFloor);

void SurfaceCopy(benchmark::State& state) {
  handset::Reset();
  const Surface background(kWidth, kHeight);
  const Surface frame(kWidth, kHeight);
  for (auto _ : state) {
    BitBlt(frame.dc, 0, 0, kWidth, kHeight, background.dc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(SurfaceCopy);

void RoadPassFrame(benchmark::State& state) {
  handset::Reset();
  game = GameState{};
  game.clientWidth = kWidth;
  game.clientHeight = 536;
  ResetRace();
  const Surface frame(kWidth, kHeight);
  const Surface marker(24, 48);
  for (auto _ : state) {
    game.roadIndex = 20;  // the start/finish segment and its markers in view
    game.roadTop = 10;
    RoadPass(frame.dc, marker.dc);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(RoadPassFrame);

void MaskedCarBlit(benchmark::State& state) {
  handset::Reset();
  const Surface frame(kWidth, kHeight);
  const Surface sheet(912, 96);
  for (auto _ : state) {
    BitBlt(frame.dc, 216, 244, 48, 48, sheet.dc, 432, 48, SRCAND);
    BitBlt(frame.dc, 216, 244, 48, 48, sheet.dc, 432, 0, SRCPAINT);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MaskedCarBlit);

void HudTextLine(benchmark::State& state) {
  handset::Reset();
  const Surface screen(kWidth, 200);
  const std::u16string text = u"Tiempo:           ";
  SetBkColor(screen.dc, RGB(0, 0, 0));
  SetTextColor(screen.dc, RGB(255, 255, 0));
  for (auto _ : state) {
    ExtTextOutW(screen.dc, 10, 10, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(HudTextLine);

}  // namespace

BENCHMARK_MAIN();
