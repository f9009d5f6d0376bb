// The desktop host: the handset's clock follows the real one, input waits its turn
// behind due ticks, and the screen is shown once the program has a window.
#include "desktop_host.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "clock_steps.h"
#include "desktop_options.h"
#include "device/device.h"
#include "gdi/png_file.h"
#include "handset/handset.h"
#include "headless_host.h"
#include "key_map.h"
#include "screen_view.h"
#include "script.h"
#include "script_recorder.h"
#include "session/session.h"
#include "tilt_source.h"
#include "window/input.h"
#include "window/message_boxes.h"
#include "window/window_state.h"

namespace desktop {

namespace {

constexpr int kUsage = 2;
constexpr int kNoDisplay = 1;
// With no timer running, still look at the session's requests this often.
constexpr DWORD kLongestWait = 200;
// How long, on the handset's clock, a program may take to end once its window closed.
constexpr DWORD kClosingGrace = 10000;
// Shows the picture at least this often (real ms) while the clock catches up.
constexpr Uint64 kLongestUnshown = 100;
// A second copy asking to be shown waits at most this long (real ms); looking for its
// request costs a system call, too much to make on every tick.
constexpr Uint64 kRequestsEvery = 100;

struct Input {
  enum class Kind { Key, Tap, Close };
  Kind kind = Kind::Key;
  HandsetKey key;
  POINT at{};
  Uint64 arrived = 0;  // real ms on the handset's scale
};

std::string SessionOfDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      return value;
    }
  }
  return "desktop";
}

std::string ShotName() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char name[64];
  std::snprintf(name, sizeof name, "vireta-%04d%02d%02d-%02d%02d%02d-%03d.png", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
  return name;
}

class Run {
 public:
  Run(DesktopOptions options, ScriptRecorder& recorder)
      : options_(std::move(options)), tilt_(options_.tilt), recorder_(recorder) {}

  // False when the recording cannot be put in place.
  bool Install() {
    handset::HostHooks& hooks = handset::Windows().hooks;
    hooks.idle = [this] { return Idle(); };
    hooks.delivering = [this](const MSG& m) {
      NoteMain(m.hwnd);
      screenTouched_ = true;
    };
    hooks.afterDispatch = [this](const MSG& m) { AfterDispatch(m); };
    hooks.afterSend = [this](const MSG& m) { NoteMain(m.hwnd); };
    handset::TheHandset().refused = [](std::string_view function, std::string_view reason) {
      std::cerr << "vireta: refused " << function << ": " << reason << '\n';
    };
    std::string error;
    if (options_.record && !recorder_.Start(error)) {
      std::cerr << "vireta: " << error << '\n';
      return false;
    }
    return true;
  }

  // The recording, if one was asked for; false when it could not be written.
  bool Finish() {
    view_.Close();
    if (!options_.record) {
      return true;
    }
    recorder_.End(endAt_.value_or(handset::Windows().now), ticks_);
    std::string error;
    if (!recorder_.Close(error)) {
      std::cerr << "vireta: " << error << '\n';
      return false;
    }
    return true;
  }

 private:
  void NoteMain(HWND window) {
    if (main_ != nullptr) {
      return;
    }
    if (hostboot::IsMainWindowCandidate(window)) {
      main_ = window;
    }
  }

  void AfterDispatch(const MSG& message) {
    NoteMain(message.hwnd);
    if (message.message == WM_TIMER && main_ != nullptr && message.hwnd == main_) {
      ++ticks_;
      tickHandled_ = true;
    }
  }

  Uint64 Real() {
    const Uint64 now = SDL_GetTicks64();
    if (!base_) {
      base_ = now - handset::Windows().now;
    }
    return now - *base_;
  }

  bool ProgramHasWindow() const {
    return std::any_of(handset::Windows().stack.begin(), handset::Windows().stack.end(), [](HWND window) {
      const auto found = handset::WindowOf(window);
      return found && found->kind == handset::Window::Kind::Program && found->visible;
    });
  }

  void Present() {
    const handset::WindowState& state = handset::Windows();
    if (closing_ || state.screen == nullptr) {
      return;
    }
    if (!view_.IsOpen()) {
      if (viewFailed_ || !ProgramHasWindow()) {
        return;
      }
      std::string error;
      if (!view_.Open(state.screen->Width(), state.screen->Height(), options_.scale, options_.fullscreen, error)) {
        // The session goes on without a picture; the window can still be closed by the program.
        std::cerr << "vireta: cannot open the window: " << error << '\n';
        viewFailed_ = true;
        return;
      }
      ShowTitle();
    }
    // The screen changes only while some window handles a message: a wake-up for a mouse
    // move need not compare the whole screen again.
    if (!screenTouched_ && !view_.NeedsDrawing()) {
      return;
    }
    screenTouched_ = false;
    if (std::string error; !view_.Present(*state.screen, error)) {
      std::cerr << "vireta: cannot draw the window: " << error << '\n';
      view_.Close();
      viewFailed_ = true;
      return;
    }
    lastShown_ = SDL_GetTicks64();
  }

  void ShowTitle() {
    if (!showTilt_) {
      view_.SetTitle("Vireta");
      return;
    }
    const handset::TiltAngles tilt = handset::CurrentTilt();
    view_.SetTitle("Vireta - tilt " + std::to_string(tilt.throttle) + " " + std::to_string(tilt.steer) + " (" +
                   tilt_.Name() + ")");
  }

  void Shot() {
    const handset::WindowState& state = handset::Windows();
    if (state.screen == nullptr) {
      return;
    }
    const std::filesystem::path file = options_.shots.value_or(".") / ShotName();
    std::string error;
    if (handset::WritePng(*state.screen, file, error)) {
      std::cout << file.string() << std::endl;
    } else {
      std::cerr << "vireta: screenshot: " << error << '\n';
    }
  }

  void Take(Input::Kind kind, HandsetKey key = {}, POINT at = {}) {
    if (closing_) {
      return;
    }
    pending_.push_back(Input{kind, std::move(key), at, Real()});
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        Take(Input::Kind::Close);
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          Take(Input::Kind::Close);
        } else {
          view_.Damaged();
        }
        break;
      case SDL_KEYDOWN: {
        if (event.key.repeat != 0) {
          break;
        }
        const SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_F12) {
          Shot();
          break;
        }
        if (key == SDLK_F9) {
          showTilt_ = !showTilt_;
          ShowTitle();
          break;
        }
        const bool arrow = key == SDLK_LEFT || key == SDLK_RIGHT || key == SDLK_UP || key == SDLK_DOWN;
        if (arrow && tilt_.TakesArrows()) {
          break;
        }
        if (auto handsetKey = HandsetKeyOf(key, (event.key.keysym.mod & KMOD_CTRL) != 0)) {
          Take(Input::Kind::Key, std::move(*handsetKey));
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN: {
        if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID) {
          break;
        }
        const handset::WindowState& state = handset::Windows();
        const POINT point = view_.ToScreen(event.button.x, event.button.y);
        const int x = point.x;
        const int y = point.y;
        if (x >= 0 && y >= 0 && x < state.screenSize.width && y < state.screenSize.height) {
          Take(Input::Kind::Tap, {}, POINT{x, y});
        }
        break;
      }
      case SDL_MOUSEMOTION: {
        const POINT point = view_.ToScreen(event.motion.x, event.motion.y);
        tilt_.Pointer(point.x, point.y);
        break;
      }
      case SDL_CONTROLLERDEVICEADDED:
        tilt_.DeviceAdded(event.cdevice.which);
        break;
      case SDL_CONTROLLERDEVICEREMOVED:
        tilt_.DeviceRemoved(event.cdevice.which);
        break;
      default:
        break;
    }
  }

  void Apply(const Input& input) {
    const DWORD now = handset::Windows().now;
    switch (input.kind) {
      case Input::Kind::Key:
        handset::PressKey(input.key.virtualKey, input.key.control);
        recorder_.Key(now, input.key.name);
        break;
      case Input::Kind::Tap:
        handset::Tap(input.at);
        recorder_.Tap(now, input.at.x, input.at.y);
        break;
      case Input::Kind::Close:
        closing_ = true;
        pending_.clear();
        view_.Close();
        break;
    }
  }

  // The user's tilt, read after each tick: a change is an input at this very time.
  bool SampleTilt() {
    const handset::WindowState& state = handset::Windows();
    const DWORD now = state.now;
    const double elapsed = lastSample_ ? static_cast<double>(now - *lastSample_) : 0.0;
    lastSample_ = now;
    const SensorAngles angles = tilt_.Sample(elapsed, state.screenSize.width, state.screenSize.height);
    if (angles == lastAngles_) {
      return false;
    }
    lastAngles_ = angles;
    handset::SetTilt({angles.throttle, angles.steer});
    recorder_.Tilt(now, angles.throttle, angles.steer);
    if (showTilt_) {
      ShowTitle();
    }
    return true;
  }

  // The window was closed: boxes are answered one by one, as the recording says, then
  // the session ends; a program that will not end is ended after a grace period.
  bool Close() {
    handset::WindowState& state = handset::Windows();
    if (!endAt_) {
      if (const int pressed = handset::AnswerTopmostBox(handset::BoxAnswer::Dismiss); pressed != 0) {
        // A plain `ok` replays the default, which is what closing gave when it was OK.
        recorder_.Ok(state.now, pressed == IDOK ? "" : headless::BoxButtonName(pressed));
        return true;
      }
      endAt_ = state.now;
      handset::EndSession();
      return true;
    }
    if (!forced_ && handset::TicksUntil(*endAt_ + kClosingGrace, state.now) <= 0) {
      forced_ = true;
      std::cerr << "vireta: the program kept running after its window was closed; ending it\n";
      handset::EndSession();
      handset::EndSession();
      return true;
    }
    return false;
  }

  bool Idle() {
    if (const Uint64 real = SDL_GetTicks64(); real - lastServed_ >= kRequestsEvery) {
      lastServed_ = real;
      if (handset::ServeSessionRequests() > 0) {
        view_.Raise();
      }
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      Handle(event);
    }
    if (closing_) {
      if (Close()) {
        return true;
      }
    } else if (tickHandled_) {
      tickHandled_ = false;
      if (SampleTilt()) {
        return true;
      }
    }
    handset::WindowState& state = handset::Windows();
    if (SDL_GetTicks64() - lastShown_ >= kLongestUnshown) {
      Present();
    }
    const std::optional<Uint64> input = pending_.empty() ? std::nullopt : std::optional(pending_.front().arrived);
    const ClockStep step = NextClockStep(state.now, handset::NextTimerDue(), Real(), input, kLongestWait);
    switch (step.kind) {
      case ClockStep::Kind::Input: {
        state.now = step.now;
        const Input next = pending_.front();
        pending_.pop_front();
        Apply(next);
        return true;
      }
      case ClockStep::Kind::Tick:
        state.now = step.now;
        return true;
      case ClockStep::Kind::Wait:
        Present();
        if (SDL_WaitEventTimeout(&event, static_cast<int>(step.waitMs)) != 0) {
          Handle(event);
        }
        return true;
    }
    return true;
  }

  DesktopOptions options_;
  TiltSource tilt_;
  ScreenView view_;
  ScriptRecorder& recorder_;
  std::deque<Input> pending_;
  std::optional<Uint64> base_;
  Uint64 lastShown_ = 0;
  Uint64 lastServed_ = 0;
  bool screenTouched_ = true;
  HWND main_ = nullptr;
  std::uint64_t ticks_ = 0;
  bool tickHandled_ = true;  // the first idle sets the tilt the player starts with
  std::optional<DWORD> lastSample_;
  std::optional<SensorAngles> lastAngles_;
  bool showTilt_ = false;
  bool viewFailed_ = false;
  bool closing_ = false;
  bool forced_ = false;
  std::optional<DWORD> endAt_;
};

// Only drivers that show something: SDL would otherwise fall back to drawing off
// screen, and a session nobody sees is no session. SDL_VIDEODRIVER still rules.
void ChooseVideoDrivers() {
  if (const char* chosen = std::getenv("SDL_VIDEODRIVER"); chosen != nullptr && *chosen != '\0') {
    return;
  }
  std::string drivers;
  for (const auto& [variable, driver] : {std::pair{"DISPLAY", "x11"}, std::pair{"WAYLAND_DISPLAY", "wayland"}}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      drivers += std::string(driver) + ",";
    }
  }
  drivers += "KMSDRM";
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

}  // namespace

std::string DesktopHelp() {
  // The headless lines end with the handset's.
  return DesktopOptionsHelp() + headless::HeadlessOptionsHelp();
}

int RunDesktop(int argc, char** argv, const hostboot::HostProgram& program) {
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::cout << "usage: " << (argc > 0 ? argv[0] : "vireta") << " [options]\n" << DesktopHelp();
    return 0;
  }
  std::string error;
  auto options = ParseDesktopOptions(args, error);
  if (!options) {
    std::cerr << "vireta: " << error << '\n';
    return kUsage;
  }
  // Checked before any window opens; what was there stays until the session starts.
  ScriptRecorder recorder;
  if (options->record && !recorder.Open(*options->record, error)) {
    std::cerr << "vireta: " << error << '\n';
    return kUsage;
  }
  if (program.winMain == nullptr) {
    std::cerr << "vireta: no program to run\n";
    return kUsage;
  }
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  ChooseVideoDrivers();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::cerr << "vireta: no display (" << SDL_GetError() << "); use --headless --script FILE to run without one\n";
    return kNoDisplay;
  }
  // Without gamepads the tilt comes from the keys or the pointer.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (!options->handset.session) {
    options->handset.session = SessionOfDisplay();
  }
  const HINSTANCE instance = hostboot::BootHandset(options->handset, program.name, program.resources, error);
  if (instance == nullptr) {
    std::cerr << "vireta: " << error << '\n';
    SDL_Quit();
    return kUsage;
  }
  int code = 0;
  bool written = false;
  {
    Run run(std::move(*options), recorder);
    if (!run.Install()) {
      handset::Windows().hooks = {};
      handset::TheHandset().refused = nullptr;
      SDL_Quit();
      return kUsage;
    }
    WCHAR none[1] = {0};
    code = program.winMain(instance, nullptr, none, SW_SHOW);
    handset::Windows().hooks = {};
    handset::TheHandset().refused = nullptr;
    written = run.Finish();
  }
  SDL_Quit();
  return written ? code : kUsage;
}

}  // namespace desktop
