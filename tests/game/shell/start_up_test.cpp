// The game's start-up and release in this process, on a fresh handset: what the trace
// of a run cannot show.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "handset_boot.h"
#include "platform/device/device.h"
#include "platform/device/sensor_service.h"
#include "platform/gdi/device_context.h"
#include "platform/handset/handset.h"
#include "platform/resources/embedded_resources.h"
#include "platform/session/session.h"
#include "platform/session/session_files.h"
#include "platform/window/input.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"
#include "render/surfaces.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "support/idle_steps.h"
#include "support/sensor_bindings.h"

namespace {

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's records start zeroed, as in a fresh process.
    game = {};
    shell = {};
    surfaces = {};
    testsupport::ResetSensorBindings();
  }

  HINSTANCE Boot(const kit::HandsetOptions& options = {}) {
    std::string error;
    const HINSTANCE instance = kit::BootHandset(
        options, {.name = u"vireta", .resources = EmbeddedResources(), .smallestBand = 0, .libraries = {}}, error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  static int Run(HINSTANCE instance, testsupport::Steps& steps) {
    testsupport::RunStepsWhenIdle(steps);
    WCHAR none[1] = {0};
    return WinMain(instance, nullptr, none, SW_SHOW);
  }

  static void Advance(DWORD ms) { handset::Windows().now += ms; }
};

bool Alive(HDC dc) { return handset::TheHandset().objects.Find<handset::DeviceContext>(dc) != nullptr; }

// The About box closes on WM_CLOSE and the game goes on; at the end the surfaces go
// first, then the sensor closes, then the service stops.
TEST_F(StartUp, ReleasesTheSurfacesThenClosesTheSensorThenStopsTheService) {
  const HINSTANCE instance = Boot();
  std::vector<HDC> made;
  HWND about = nullptr;
  long surfacesAliveAtClose = -1;
  int signalsAtClose = -1;
  handset::TheHandset().hooks.deviceCall = [&](std::string_view function, std::span<const HandsetCallArg>) {
    if (function == "HTCSensorClose") {
      surfacesAliveAtClose = std::count_if(made.begin(), made.end(), Alive);
      signalsAtClose = handset::SensorServiceSignals();
    }
  };
  testsupport::Steps steps{[] { Advance(50); }, [] { handset::PressKey('A', true); },
                           [&] {
                             about = handset::TopmostBox();
                             SendMessageW(about, WM_CLOSE, 0, 0);
                           },
                           [&] {
                             EXPECT_FALSE(IsWindow(about));
                             made = {surfaces.FrameSurface, surfaces.BackgroundSurface, surfaces.CarSheet,
                                     surfaces.MarkerSprite, surfaces.DialImage};
                             handset::PressKey(VK_F1, false);
                           }};
  EXPECT_EQ(Run(instance, steps), 0);
  ASSERT_NE(about, nullptr);
  ASSERT_EQ(std::count_if(made.begin(), made.end(), [](HDC dc) { return dc != nullptr; }), 5);
  // At the sensor's close the service has started and not yet stopped.
  EXPECT_EQ(std::tuple(surfacesAliveAtClose, signalsAtClose, handset::SensorServiceSignals(),
                       handset::SensorServiceRunning(), game.ticks, game.ready),
            std::tuple(0L, 1, 2, false, 0.0, 1));
}

// Another copy, as the session sees one: a held lock and a window list under the pid of
// a process that surely lives.
TEST_F(StartUp, OnlyAWindowWithBothNamesIsARunningCopy) {
  const std::string session = "startup-" + std::to_string(::getpid());
  kit::HandsetOptions options;
  options.session = session;
  const pid_t other = ::getppid();
  std::string error;
  handset::TheHandset().program = u"vireta";  // the folder the booted game will join
  const std::filesystem::path made = handset::SessionRoot() / session;
  const handset::Descriptor root = handset::OpenPrivateFolder(handset::SessionRoot(), error);
  const handset::Descriptor folder =
      handset::OpenPrivateFolder(root.Get(), handset::SessionRoot() / session, session, error);
  ASSERT_TRUE(folder.Valid()) << error;
  std::optional<handset::Descriptor> lock = handset::TakeLock(folder.Get(), other);
  const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
      {u"VIRETA", u"Otra", false}, {u"OTRA", u"Vireta", false}, {u"VIRETA", u"Vireta", true}};
  for (const auto& [className, title, running] : cases) {
    SetUp();
    handset::WriteWhole(folder.Get(), handset::WindowsName(other), handset::EncodeWindows({{0x40, className, title}}));
    const HINSTANCE instance = Boot(options);
    bool started = false;
    testsupport::Steps steps{[&] {
      started = game.ready == 1;
      handset::PressKey(VK_F1, false);
    }};
    EXPECT_EQ(Run(instance, steps), 0);
    EXPECT_EQ(started, !running);
    // The running copy is asked to come forward with its boxes: the handle's low bit.
    const std::string requests = handset::RequestsName(other);
    EXPECT_EQ(handset::ReadWhole(folder.Get(), requests, handset::kRequestsLimit).value_or(""),
              running ? "foreground 40 1\n" : "");
    handset::Reset();
  }
  lock.reset();
  std::filesystem::remove_all(made);
}

}  // namespace
