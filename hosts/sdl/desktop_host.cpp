// The desktop host: the handset's clock follows the real one, input waits its turn
// behind due ticks, and the screen is shown once the program has a window.
#include "desktop_host.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>
#include <optional>

#include "desktop_options.h"
#include "desktop_replay.h"
#include "key_map.h"
#include "live_run.h"
#include "platform/host/host.h"
#include "recorded_options.h"
#include "screen_view.h"
#include "screenshots.h"
#include "script.h"
#include "script_recorder.h"
#include "tilt_source.h"
#include "window_title.h"
#include "x11_errors.h"

namespace desktop {

namespace {

constexpr int kUsage = 2;
constexpr int kNoDisplay = 1;
// A second copy asking to be shown waits at most this long (real ms); looking for its
// request costs a system call, too much to make on every tick.
constexpr Uint64 kRequestsEvery = 100;

std::string SessionOfDisplay() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      return value;
    }
  }
  return "desktop";
}

// The desktop's side of a live run: SDL's events as the user's input, its window as
// the screen, and the keys the window keeps for itself (F9 the tilt, F12 a screenshot).
class Desktop {
 public:
  Desktop(DesktopOptions options, kit::ScriptRecorder& recorder, const kit::HostProgram& program)
      : options_(std::move(options)),
        tilt_(options_.tilt, kit::Gestures(program.levelPitch)),
        name_(program.Name()),
        title_(program.title.empty() ? name_ : program.title),
        bar_(title_),
        lapWatch_(program.lapWatch),
        run_(Host(), recorder) {}

  kit::LiveRun& Run() { return run_; }

  // A line the player must see at once: on stderr, and in the title a few seconds.
  void Tell(const std::string& line) {
    std::cerr << name_ << ": " << line << '\n';
    bar_.Note(line, SDL_GetTicks64());
    RefreshTitle();
  }

 private:
  kit::LiveHost Host() {
    kit::LiveHost host;
    host.realMs = [] { return SDL_GetTicks64(); };
    host.takeInput = [this](kit::LiveRun&) { TakeInput(); };
    host.samplePose = [this](double elapsedMs) {
      const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
      return tilt_.Pose(elapsedMs, screen ? screen->width : 0, screen ? screen->height : 0);
    };
    host.present = [this](const handset::host::ScreenPixels& screen, bool changed) { Present(screen, changed); };
    host.wait = [this](DWORD ms) { Wait(ms); };
    host.tell = [this](const std::string& line) { std::cerr << name_ << ": " << line << '\n'; };
    host.tiltChanged = [this] {
      if (showTilt_) {
        ShowTitle();
      }
    };
    host.lapWatch = lapWatch_;
    return host;
  }

  void TakeInput() {
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
    RefreshTitle();
  }

  void Wait(DWORD ms) {
    SDL_Event event;
    if (ms == 0) {
      TakeInput();
    } else if (SDL_WaitEventTimeout(&event, static_cast<int>(ms)) != 0) {
      Handle(event);
    }
  }

  void Present(const handset::host::ScreenPixels& screen, bool changed) {
    if (!view_.IsOpen()) {
      if (viewFailed_) {
        return;
      }
      std::string error;
      if (!view_.Open(title_, screen.width, screen.height, options_.scale, options_.fullscreen, error)) {
        // The session goes on without a picture; the window can still be closed by the program.
        std::cerr << name_ << ": cannot open the window: " << error << '\n';
        viewFailed_ = true;
        return;
      }
      shownTitle_.clear();
      ShowTitle();
    }
    // A wake-up for a mouse move need not compare the whole screen again.
    if (!changed && !view_.NeedsDrawing()) {
      return;
    }
    if (std::string error; !view_.Present(screen, error)) {
      std::cerr << name_ << ": cannot draw the window: " << error << '\n';
      view_.Close();
      viewFailed_ = true;
    }
  }

  void ShowTitle() {
    bar_.SetExtra(showTilt_ ? TiltText(tilt_.Name()) : std::string());
    RefreshTitle();
  }

  void RefreshTitle() {
    if (std::string title = bar_.At(SDL_GetTicks64()); title != shownTitle_ && view_.IsOpen()) {
      view_.SetTitle(title);
      shownTitle_ = std::move(title);
    }
  }

  void Shot() {
    if (!handset::host::Screen()) {
      return;
    }
    std::string error;
    if (const auto file = SaveScreenshot(options_.shots, name_, title_, error)) {
      std::cout << file->string() << std::endl;
      bar_.Note("screenshot " + file->string(), SDL_GetTicks64());
      RefreshTitle();
    } else {
      Tell("screenshot: " + error);
    }
  }

  void Close() {
    run_.Close();
    view_.Close();
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        Close();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          Close();
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
        if (auto name = KeyNameOf(key, (event.key.keysym.mod & KMOD_CTRL) != 0)) {
          run_.Key(std::move(*name), SDL_GetTicks64());
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN: {
        if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID) {
          break;
        }
        const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
        const POINT point = view_.ToScreen(event.button.x, event.button.y);
        if (screen && point.x >= 0 && point.y >= 0 && point.x < screen->width && point.y < screen->height) {
          run_.Tap(point, SDL_GetTicks64());
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

  DesktopOptions options_;
  TiltSource tilt_;
  ScreenView view_;
  std::string name_;  // messages and screenshots start with it
  std::string title_;
  WindowTitle bar_;
  std::string shownTitle_;
  Uint64 lastServed_ = 0;
  bool showTilt_ = false;
  bool viewFailed_ = false;
  kit::LapWatch lapWatch_;
  kit::LiveRun run_;  // last: its host's callbacks reach everything above
};

}  // namespace

std::string DesktopHelp(const kit::HostProgram& program) {
  const std::string rest =
      program.otherHostsHelp.empty() ? kit::HandsetOptionsHelp(program.smallestBand) : program.otherHostsHelp;
  return DesktopOptionsHelp() + rest;
}

int RunDesktop(int argc, char** argv, const kit::HostProgram& program) {
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  const std::string name = program.Name();
  if (kit::AnswerVersionOrHelp(args, program, argc > 0 ? argv[0] : nullptr, "[options]", DesktopHelp(program))) {
    return 0;
  }
  std::string error;
  auto options = ParseDesktopOptions(args, error);
  if (!options) {
    std::cerr << name << ": " << error << '\n';
    return kUsage;
  }
  std::optional<kit::Script> replay;
  if (options->replay) {
    replay = kit::LoadScript(*options->replay, error);
    std::string warning;
    if (!replay || (replay->recordedWith &&
                    !kit::TakeRecordedOptions(*replay->recordedWith, *options->replay, program.NameAndVersion(),
                                              options->handset, error, warning))) {
      std::cerr << name << ": " << error << '\n';
      return kUsage;
    }
    if (!warning.empty()) {
      std::cerr << name << ": " << warning << '\n';
    }
    const handset::host::ScreenSize& screen = options->handset.screen;
    if (const std::string off = kit::TapOffScreen(replay->commands, screen.width, screen.height, *options->replay);
        !off.empty()) {
      std::cerr << name << ": " << off << '\n';
      return kUsage;
    }
  }
  // Checked before any window opens; what was there stays until the session starts.
  kit::ScriptRecorder recorder;
  if (options->record && !recorder.Open(*options->record, error)) {
    std::cerr << name << ": " << error << '\n';
    return kUsage;
  }
  recorder.Begin(options->handset.clock,
                 kit::RecordingHeader(program.NameAndVersion(), kit::RecordingOptions(options->handset)));
  if (program.winMain == nullptr) {
    std::cerr << name << ": no program to run\n";
    return kUsage;
  }
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  ScreenView::ChooseVideoDrivers();
  ForgiveLateWakeups();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::cerr << name << ": no display (" << SDL_GetError() << "); use --headless --script FILE to run without one\n";
    return kNoDisplay;
  }
  // Without gamepads the tilt comes from the keys or the pointer.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  // A replay keeps to itself: in the player's session it would only raise the game.
  if (!options->handset.session && !replay) {
    options->handset.session = SessionOfDisplay();
  }
  const HINSTANCE instance = kit::BootHandset(options->handset, program, error);
  if (instance == nullptr) {
    std::cerr << name << ": " << error << '\n';
    SDL_Quit();
    return kUsage;
  }
  if (replay) {
    const int code = WatchReplay(*options, std::move(replay->commands), instance, program);
    SDL_Quit();
    return code;
  }
  const bool record = options->record.has_value();
  int code = kUsage;
  bool written = false;
  {
    Desktop desktop(std::move(*options), recorder, program);
    recorder.OnFailure([&desktop](const std::string& failure) { desktop.Tell(failure); });
    if (!record || recorder.Start(error)) {
      code = desktop.Run().Run(instance, program.winMain);
      written = true;
      // The game's own record is gone with its window.
      if (!desktop.Run().Laps().Laps().empty()) {
        std::cout << desktop.Run().Laps().Lines() << std::flush;
      }
      if (record) {
        desktop.Run().EndRecording();
        written = recorder.Close(error);
      }
    }
    if (!written) {
      std::cerr << name << ": " << error << '\n';
    }
  }
  SDL_Quit();
  return written ? code : kUsage;
}

}  // namespace desktop
