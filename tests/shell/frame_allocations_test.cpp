// Once warm, a frame allocates only what the game itself asks for: the handset reuses
// its paint canvas, its handle entries, its stroke spans and its call reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/game_state.h"
#include "handset_boot.h"
#include "platform/device/device.h"
#include "platform/resources/embedded_resources.h"
#include "platform/window/input.h"
#include "render/surfaces.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "support/idle_steps.h"
#include "support/sensor_bindings.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every allocation of this test's process passes here.
void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) {
    return block;
  }
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t /*size*/) noexcept { std::free(block); }

namespace {

TEST(FrameAllocations, AWarmFrameAllocatesOnlyTheGamesPensAndTextBuffer) {
  game = {};
  shell = {};
  surfaces = {};
  testsupport::ResetSensorBindings();
  std::string error;
  const HINSTANCE instance = hostboot::BootHandset({}, u"vireta", EmbeddedResources(), error);
  ASSERT_NE(instance, nullptr) << error;

  bool counting = false;
  long frames = 0;
  long before = 0;
  long after = 0;
  handset::Windows().hooks.afterDispatch = [&](const MSG& message) {
    frames += counting && message.message == WM_PAINT ? 1 : 0;
  };
  // Steering left and right, short of turning the phone, so that the road keeps taking
  // new shapes.
  const auto drive = [](int step) {
    handset::SetTilt({25, static_cast<std::uint32_t>(step / 40 % 2 == 0 ? 40 : 320)});
    handset::Windows().now += 50;
  };
  testsupport::Steps steps;
  for (int step = 0; step < 600; ++step) {
    steps.push_back([=] { drive(step); });
  }
  steps.push_back([&] {
    counting = true;
    before = allocations.load();
  });
  for (int step = 600; step < 800; ++step) {
    steps.push_back([=] { drive(step); });
  }
  steps.push_back([&] {
    after = allocations.load();
    counting = false;
    handset::PressKey(VK_F1, false);
  });
  testsupport::RunStepsWhenIdle(steps);
  WCHAR none[1] = {0};
  ASSERT_EQ(WinMain(instance, nullptr, none, SW_SHOW), 0);

  ASSERT_GE(frames, 190);
  // Each frame the game makes two pens and one text buffer, a block for each pen and two
  // for the buffer; anything more per frame is the handset's.
  EXPECT_LE(after - before - 4 * frames, 10) << frames << " frames made " << after - before << " allocations";
}

}  // namespace
