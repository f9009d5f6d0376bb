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
#include "key_map.h"
#include "main_window.h"
#include "pictures_folder.h"
#include "platform/host/host.h"
#include "screen_view.h"
#include "script_recorder.h"
#include "script_words.h"
#include "tilt_source.h"

namespace desktop {

namespace {

constexpr int kUsage = 2;
constexpr int kNoDisplay = 1;
// With no timer running, still look at the session's requests this often.
constexpr DWORD kLongestWait = 200;
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

std::string ShotName(const std::string& program) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d-%03d.png", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
  return program + stamp;
}

class Run {
 public:
  Run(DesktopOptions options, kit::ScriptRecorder& recorder, const kit::HostProgram& program)
      : options_(std::move(options)),
        tilt_(options_.tilt),
        recorder_(recorder),
        name_(program.Name()),
        title_(program.title.empty() ? name_ : program.title) {}

  // False when the recording cannot be put in place.
  bool Install() {
    handset::host::Hooks hooks;
    hooks.idle = [this] { return Idle(); };
    hooks.delivering = [this](const MSG& m) {
      main_.Note(m.hwnd);
      screenTouched_ = true;
    };
    hooks.afterDispatch = [this](const MSG& m) { AfterDispatch(m); };
    hooks.afterSend = [this](const MSG& m) { main_.Note(m.hwnd); };
    hooks.refused = [this](std::string_view function, std::string_view reason) {
      std::cerr << name_ << ": refused " << function << ": " << reason << '\n';
    };
    handset::host::InstallHooks(std::move(hooks));
    std::string error;
    if (options_.record && !recorder_.Start(error)) {
      std::cerr << name_ << ": " << error << '\n';
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
    recorder_.End(endAt_.value_or(handset::host::Now()), ticks_);
    std::string error;
    if (!recorder_.Close(error)) {
      std::cerr << name_ << ": " << error << '\n';
      return false;
    }
    return true;
  }

 private:
  void AfterDispatch(const MSG& message) {
    main_.Note(message.hwnd);
    if (message.message == WM_TIMER && main_.Is(message.hwnd)) {
      ++ticks_;
      tickHandled_ = true;
    }
  }

  Uint64 Real() {
    const Uint64 now = SDL_GetTicks64();
    if (!base_) {
      base_ = now - handset::host::Now();
    }
    return now - *base_;
  }

  void Present() {
    const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
    if (closing_ || !screen) {
      return;
    }
    if (!view_.IsOpen()) {
      if (viewFailed_ || !handset::host::ProgramHasVisibleWindow()) {
        return;
      }
      std::string error;
      if (!view_.Open(title_, screen->width, screen->height, options_.scale, options_.fullscreen, error)) {
        // The session goes on without a picture; the window can still be closed by the program.
        std::cerr << name_ << ": cannot open the window: " << error << '\n';
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
    if (std::string error; !view_.Present(*screen, error)) {
      std::cerr << name_ << ": cannot draw the window: " << error << '\n';
      view_.Close();
      viewFailed_ = true;
      return;
    }
    lastShown_ = SDL_GetTicks64();
  }

  void ShowTitle() {
    if (!showTilt_) {
      view_.SetTitle(title_);
      return;
    }
    const handset::host::Tilt tilt = handset::host::CurrentTilt();
    view_.SetTitle(title_ + " - tilt " + std::to_string(tilt.pitch) + " " + std::to_string(tilt.roll) + " (" +
                   tilt_.Name() + ")");
  }

  void Shot() {
    if (!handset::host::Screen()) {
      return;
    }
    std::string error;
    const std::optional<std::filesystem::path> folder = options_.shots ? options_.shots : PicturesFolder(title_, error);
    if (!folder) {
      std::cerr << name_ << ": screenshot: " << error << '\n';
      return;
    }
    const std::filesystem::path file = *folder / ShotName(name_);
    if (handset::host::WriteScreenPng(file, error)) {
      std::cout << file.string() << std::endl;
    } else {
      std::cerr << name_ << ": screenshot: " << error << '\n';
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
        const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
        const POINT point = view_.ToScreen(event.button.x, event.button.y);
        const int x = point.x;
        const int y = point.y;
        if (screen && x >= 0 && y >= 0 && x < screen->width && y < screen->height) {
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
    const DWORD now = handset::host::Now();
    switch (input.kind) {
      case Input::Kind::Key:
        handset::host::PressKey(input.key.virtualKey, input.key.control);
        recorder_.Key(now, input.key.name);
        break;
      case Input::Kind::Tap:
        handset::host::Tap(input.at);
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
    const DWORD now = handset::host::Now();
    const double elapsed = lastSample_ ? static_cast<double>(now - *lastSample_) : 0.0;
    lastSample_ = now;
    const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
    const kit::SensorAngles angles = tilt_.Sample(elapsed, screen ? screen->width : 0, screen ? screen->height : 0);
    if (angles == lastAngles_) {
      return false;
    }
    lastAngles_ = angles;
    handset::host::SetTilt({angles.throttle, angles.steer});
    recorder_.Tilt(now, angles.throttle, angles.steer);
    if (showTilt_) {
      ShowTitle();
    }
    return true;
  }

  // The window was closed: boxes are answered one by one, as the recording says, then
  // the session ends; a program that will not end is ended after a grace period.
  bool Close() {
    const DWORD now = handset::host::Now();
    if (!endAt_) {
      if (const int pressed = handset::host::AnswerTopmostBox(0, true); pressed != 0) {
        // A plain `ok` replays the default, which is what closing gave when it was OK.
        recorder_.Ok(now, pressed == IDOK ? "" : kit::BoxButtonName(pressed));
        return true;
      }
      endAt_ = now;
      handset::host::EndSession();
      return true;
    }
    if (!forced_ && !kit::WithinClosingGrace(*endAt_, now)) {
      forced_ = true;
      std::cerr << name_ << ": the program kept running after its window was closed; ending it\n";
      handset::host::EndSession();
      handset::host::EndSession();
      return true;
    }
    return false;
  }

  bool Idle() {
    if (const Uint64 real = SDL_GetTicks64(); real - lastServed_ >= kRequestsEvery) {
      lastServed_ = real;
      if (handset::host::ServeSessionRequests() > 0) {
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
    if (SDL_GetTicks64() - lastShown_ >= kLongestUnshown) {
      Present();
    }
    const std::optional<Uint64> input = pending_.empty() ? std::nullopt : std::optional(pending_.front().arrived);
    const kit::ClockStep step =
        kit::NextClockStep(handset::host::Now(), handset::host::NextTimerDue(), Real(), input, kLongestWait);
    switch (step.kind) {
      case kit::ClockStep::Kind::Input: {
        handset::host::SetNow(step.now);
        const Input next = pending_.front();
        pending_.pop_front();
        Apply(next);
        return true;
      }
      case kit::ClockStep::Kind::Tick:
        handset::host::SetNow(step.now);
        return true;
      case kit::ClockStep::Kind::Wait:
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
  kit::ScriptRecorder& recorder_;
  std::string name_;  // messages and screenshots start with it
  std::string title_;
  std::deque<Input> pending_;
  std::optional<Uint64> base_;
  Uint64 lastShown_ = 0;
  Uint64 lastServed_ = 0;
  bool screenTouched_ = true;
  kit::MainWindow main_;
  std::uint64_t ticks_ = 0;
  bool tickHandled_ = true;  // the first idle sets the tilt the player starts with
  std::optional<DWORD> lastSample_;
  std::optional<kit::SensorAngles> lastAngles_;
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

std::string DesktopHelp(const kit::HostProgram& program) {
  const std::string rest =
      program.otherHostsHelp.empty() ? kit::HandsetOptionsHelp(program.smallestBand) : program.otherHostsHelp;
  return DesktopOptionsHelp() + rest + kit::kVersionHelp;
}

int RunDesktop(int argc, char** argv, const kit::HostProgram& program) {
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  const std::string name = program.Name();
  if (std::find(args.begin(), args.end(), "--version") != args.end()) {
    std::cout << program.NameAndVersion() << '\n';
    return 0;
  }
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::cout << "usage: " << (argc > 0 ? argv[0] : name.c_str()) << " [options]\n" << DesktopHelp(program);
    return 0;
  }
  std::string error;
  auto options = ParseDesktopOptions(args, error);
  if (!options) {
    std::cerr << name << ": " << error << '\n';
    return kUsage;
  }
  // Checked before any window opens; what was there stays until the session starts.
  kit::ScriptRecorder recorder;
  if (options->record && !recorder.Open(*options->record, error)) {
    std::cerr << name << ": " << error << '\n';
    return kUsage;
  }
  if (program.winMain == nullptr) {
    std::cerr << name << ": no program to run\n";
    return kUsage;
  }
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  ChooseVideoDrivers();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::cerr << name << ": no display (" << SDL_GetError() << "); use --headless --script FILE to run without one\n";
    return kNoDisplay;
  }
  // Without gamepads the tilt comes from the keys or the pointer.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (!options->handset.session) {
    options->handset.session = SessionOfDisplay();
  }
  const HINSTANCE instance = kit::BootHandset(options->handset, program, error);
  if (instance == nullptr) {
    std::cerr << name << ": " << error << '\n';
    SDL_Quit();
    return kUsage;
  }
  int code = 0;
  bool written = false;
  {
    Run run(std::move(*options), recorder, program);
    if (!run.Install()) {
      handset::host::RemoveHooks();
      SDL_Quit();
      return kUsage;
    }
    WCHAR none[1] = {0};
    code = program.winMain(instance, nullptr, none, SW_SHOW);
    handset::host::RemoveHooks();
    written = run.Finish();
  }
  SDL_Quit();
  return written ? code : kUsage;
}

}  // namespace desktop
