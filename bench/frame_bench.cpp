// One whole frame, as the window's paint message draws it, beside the memory floor of
// the same frame: copying its background into the frame and the frame onto the screen;
// and a warm frame of the whole game with what it allocates.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "allocation_count.h"
#include "core/game_state.h"
#include "handset_boot.h"
#include "platform/device/device.h"
#include "platform/handset/handset.h"
#include "platform/handset/module.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/input.h"
#include "platform/window/screen.h"
#include "platform/window/window_state.h"
#include "render/frame.h"
#include "render/surfaces.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "support/sensor_bindings.h"

namespace {

LRESULT CALLBACK GameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintFrame(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The game's window on a screen `height` tall, shrunk by the soft-key bar, after its
// first paint.
HWND GameWindow(int height) {
  handset::Reset();
  std::string error;
  handset::BootScreen(*handset::ScreenOf(480, height, 0, error));
  game = GameState{};
  surfaces = Surfaces{};
  shell.appInstance = handset::AddProgramModule(u"vireta", EmbeddedResources());
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = GameProcedure;
  windowClass.hInstance = shell.appInstance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = u"VIRETA";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, u"VIRETA", u"Vireta", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, shell.appInstance, nullptr);
  const RECT work = handset::Windows().screenSize.WorkArea();
  const int bar = handset::Windows().screenSize.BarHeight();
  MoveWindow(window, 0, work.top, 480, work.bottom - work.top - bar, FALSE);
  UpdateWindow(window);
  game.shownSpeed = 7.5;  // the road scrolls and the needle stands askew
  return window;
}

void PaintFrameBench(benchmark::State& state) {
  HWND window = GameWindow(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    benchmark::ClobberMemory();
  }
  state.counters["client_h"] = game.clientHeight;
  handset::Reset();
}
BENCHMARK(PaintFrameBench)->Arg(640)->Arg(800)->Unit(benchmark::kMicrosecond);

// Two copies of the playfield's pixels: background to frame, frame to screen.
void FrameMemoryFloor(benchmark::State& state) {
  const int clientHeight = static_cast<int>(state.range(0)) - 2 * 52;
  const std::size_t pixels = static_cast<std::size_t>(480) * static_cast<std::size_t>(clientHeight - 200);
  std::vector<std::uint32_t> background(pixels, 0x32C850);
  std::vector<std::uint32_t> frame(pixels);
  std::vector<std::uint32_t> screen(pixels);
  for (auto _ : state) {
    std::memcpy(frame.data(), background.data(), pixels * sizeof(std::uint32_t));
    benchmark::ClobberMemory();
    std::memcpy(screen.data(), frame.data(), pixels * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FrameMemoryFloor)->Arg(640)->Arg(800)->Unit(benchmark::kMicrosecond);

// The game itself, each iteration one tick and its frame once the road is warm. The game
// makes two pens and one text buffer a frame, a block for each pen and two for the
// buffer; the handset reuses its paint canvas, handle entries, stroke spans and call
// reports, so anything more is a fault.
void WarmFrame(benchmark::State& state) {
  game = GameState{};
  shell = ShellState{};
  surfaces = Surfaces{};
  testsupport::ResetSensorBindings();
  std::string error;
  const HINSTANCE instance = kit::BootHandset(
      {}, {.name = u"vireta", .resources = EmbeddedResources(), .smallestBand = 0, .libraries = {}}, error);
  if (instance == nullptr) {
    state.SkipWithError(error.c_str());
    return;
  }
  constexpr int kWarmUp = 600;
  int step = 0;
  long frames = 0;
  long before = 0;
  long after = -1;
  handset::TheHandset().hooks.afterDispatch = [&](const MSG& message) {
    frames += step > kWarmUp && after < 0 && message.message == WM_PAINT ? 1 : 0;
  };
  handset::TheHandset().hooks.idle = [&] {
    if (after >= 0) {
      return false;
    }
    before = step == kWarmUp ? bench::AllocationsSoFar() : before;
    if (step >= kWarmUp && !state.KeepRunning()) {
      after = bench::AllocationsSoFar();
      handset::PressKey(VK_F1, false);
      return true;
    }
    // Steering left and right, short of turning the phone, so that the road keeps taking
    // new shapes.
    handset::SetTilt({25, static_cast<std::uint32_t>(step / 40 % 2 == 0 ? 40 : 320)});
    handset::Windows().now += 50;
    ++step;
    return true;
  };
  WCHAR none[1] = {0};
  const int code = WinMain(instance, nullptr, none, SW_SHOW);
  handset::Reset();
  const long made = after - before;
  state.counters["allocs_per_frame"] = frames > 0 ? static_cast<double>(made) / static_cast<double>(frames) : 0.0;
  if (code != 0 || after < 0 || frames < static_cast<long>(state.iterations()) - 10) {
    state.SkipWithError("the game ended before its frames were counted");
  } else if (made - 4 * frames > 10) {
    error = std::to_string(frames) + " warm frames made " + std::to_string(made) + " allocations";
    state.SkipWithError(error.c_str());
  }
}
BENCHMARK(WarmFrame)->Iterations(200)->Unit(benchmark::kMicrosecond);

// Prints each frame's cost beside its floor (and cairo's, when built) after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      failed_ = failed_ || run.error_occurred;
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
        times_[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* screen : {"640", "800"}) {
      const auto frame = times_.find(std::string("PaintFrameBench/") + screen);
      const auto floor = times_.find(std::string("FrameMemoryFloor/") + screen);
      if (frame == times_.end() || floor == times_.end()) {
        continue;
      }
      std::printf("screen 480x%s: PaintFrame %.1f us = %.2f x the memory floor (%.1f us)", screen, frame->second,
                  frame->second / floor->second, floor->second);
      if (const auto cairo = times_.find(std::string("CairoFrame/") + screen); cairo != times_.end()) {
        std::printf(", %.2f x cairo's frame (%.1f us)", frame->second / cairo->second, cairo->second);
      }
      std::printf("\n");
    }
  }
  bool Failed() const { return failed_; }

 private:
  std::map<std::string, double> times_;
  bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter.Failed() ? 1 : 0;
}
