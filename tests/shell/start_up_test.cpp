// The game's start-up and release in this process, on a fresh handset: what the trace
// of a run cannot show.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <fcntl.h>

#include <chrono>
#include <thread>

#include "core/game_state.h"
#include "device/device.h"
#include "device/sensor_service.h"
#include "gdi/device_context.h"
#include "handset/handset.h"
#include "handset_boot.h"
#include "render/surfaces.h"
#include "resources/embedded_resources.h"
#include "session/session.h"
#include "session/session_files.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "support/idle_steps.h"
#include "support/sensor_bindings.h"
#include "window/input.h"
#include "window/message_boxes.h"
#include "window/window_state.h"

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

  HINSTANCE Boot(const hostboot::HandsetOptions& options = {}) {
    std::string error;
    const HINSTANCE instance = hostboot::BootHandset(options, u"vireta", EmbeddedResources(), error);
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

TEST_F(StartUp, ReleasesTheSurfacesThenClosesTheSensorThenStopsTheService) {
  const HINSTANCE instance = Boot();
  HDC made[5] = {};
  int surfacesAliveAtClose = -1;
  int signalsAtClose = -1;
  handset::Device().onCall = [&](const handset::DeviceCall& call) {
    if (call.function == "HTCSensorClose") {
      surfacesAliveAtClose = 0;
      for (const HDC dc : made) {
        surfacesAliveAtClose += Alive(dc) ? 1 : 0;
      }
      signalsAtClose = handset::SensorServiceSignals();
    }
  };
  testsupport::Steps steps{
      [] { Advance(50); },
      [&] {
        const HDC order[] = {surfaces.FrameSurface, surfaces.BackgroundSurface, surfaces.CarSheet,
                             surfaces.MarkerSprite, surfaces.DialImage};
        std::copy(std::begin(order), std::end(order), made);
        handset::PressKey(VK_F1, false);
      },
  };
  EXPECT_EQ(Run(instance, steps), 0);
  for (const HDC dc : made) {
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(Alive(dc));
  }
  EXPECT_EQ(surfacesAliveAtClose, 0);
  EXPECT_EQ(signalsAtClose, 1);  // started, not yet stopped
  EXPECT_EQ(handset::SensorServiceSignals(), 2);
  EXPECT_FALSE(handset::SensorServiceRunning());
  EXPECT_EQ(game.ticks, 0.0);
  EXPECT_EQ(game.ready, 1);
}

TEST_F(StartUp, AboutBoxClosesOnWmCloseAndTheGameGoesOn) {
  const HINSTANCE instance = Boot();
  HWND about = nullptr;
  testsupport::Steps steps{
      [] { handset::PressKey('A', true); },
      [&] {
        about = handset::TopmostBox();
        SendMessageW(about, WM_CLOSE, 0, 0);
      },
      [&] {
        EXPECT_FALSE(IsWindow(about));
        handset::PressKey('Q', true);
      },
  };
  EXPECT_EQ(Run(instance, steps), 0);
  ASSERT_NE(about, nullptr);
}

// Another process of the session that shows one window, until it is killed.
class OtherCopy {
 public:
  OtherCopy(const std::string& session, const std::u16string& className, const std::u16string& title)
      : session_(session) {
    std::string error;
    root_ = handset::OpenPrivateFolder(handset::SessionRoot(), error);
    folder_ = handset::OpenPrivateFolder(root_.Get(), handset::SessionRoot() / session, session, error);
    EXPECT_TRUE(folder_.Valid()) << error;
    pid_ = ::fork();
    if (pid_ == 0) {
      const handset::Descriptor lock = handset::TakeLock(folder_.Get(), ::getpid());
      handset::WriteWhole(folder_.Get(), handset::WindowsName(::getpid()),
                          handset::EncodeWindows({{0x40, className, title}}));
      handset::WriteWhole(folder_.Get(), "ready", "");
      for (;;) {
        ::pause();
      }
    }
    for (int i = 0; i < 500 && !handset::ReadWhole(folder_.Get(), "ready", 1); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::unlinkat(folder_.Get(), "ready", 0);
  }
  OtherCopy(const OtherCopy&) = delete;
  OtherCopy& operator=(const OtherCopy&) = delete;
  ~OtherCopy() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    for (const std::string& name : {handset::LockName(pid_), handset::WindowsName(pid_), handset::RequestsName(pid_)}) {
      ::unlinkat(folder_.Get(), name.c_str(), 0);
    }
    ::unlinkat(root_.Get(), session_.c_str(), AT_REMOVEDIR);  // the last one out takes the folder
  }
  std::string Requests() const {
    return handset::ReadWhole(folder_.Get(), handset::RequestsName(pid_), handset::kRequestsLimit).value_or("");
  }

 private:
  std::string session_;
  handset::Descriptor root_;
  handset::Descriptor folder_;
  pid_t pid_ = -1;
};

TEST_F(StartUp, OnlyAWindowWithBothNamesIsARunningCopy) {
  const std::string session = "startup-" + std::to_string(::getpid());
  hostboot::HandsetOptions options;
  options.session = session;
  struct Case {
    std::u16string className, title;
    bool running;
  };
  const Case cases[] = {{u"VIRETA", u"Otra", false}, {u"OTRA", u"Vireta", false}, {u"VIRETA", u"Vireta", true}};
  for (const Case& c : cases) {
    SetUp();
    const OtherCopy other(session, c.className, c.title);
    const HINSTANCE instance = Boot(options);
    bool started = false;
    testsupport::Steps steps{[&] {
      started = game.ready == 1;
      handset::PressKey(VK_F1, false);
    }};
    EXPECT_EQ(Run(instance, steps), 0);
    EXPECT_EQ(started, !c.running);
    // The running copy is asked to come forward with its boxes: the handle's low bit.
    EXPECT_EQ(other.Requests(), c.running ? "foreground 40 1\n" : "");
    handset::Reset();
  }
}

}  // namespace
