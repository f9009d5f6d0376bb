#include "desktop_replay.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>

#include "lap_book.h"
#include "main_window.h"
#include "platform/host/host.h"
#include "screen_view.h"
#include "screenshots.h"
#include "script_player.h"
#include "window_title.h"

namespace desktop {

namespace {

constexpr int kWouldNotEnd = 3;
// Real milliseconds between two pictures when the replay runs behind: a fast replay
// shows what a display can, not every frame.
constexpr Uint64 kBehindPictureMs = 30;
// The longest wait for an event, so a note in the title goes away in time.
constexpr Uint64 kLongestWait = 250;

struct Stop {
  int code;
};

class Replay {
 public:
  Replay(const DesktopOptions& options, std::vector<kit::Command> commands, const kit::HostProgram& program)
      : options_(options),
        name_(program.Name()),
        title_(program.title.empty() ? name_ : program.title),
        bar_(title_),
        player_(std::move(commands), options.replay.value_or(""), Hooks()),
        laps_(program.lapWatch) {}

  int Run(HINSTANCE instance, int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int)) {
    handset::host::Hooks hooks;
    hooks.idle = [this] { return player_.Idle(); };
    hooks.delivering = [this](const MSG& m) { main_.Note(m.hwnd); };
    hooks.afterDispatch = [this](const MSG& m) { After(m); };
    hooks.afterSend = [this](const MSG& m) { After(m); };
    hooks.refused = [this](std::string_view function, std::string_view reason) {
      std::cerr << name_ << ": refused " << function << ": " << reason << '\n';
    };
    handset::host::InstallHooks(std::move(hooks));
    realStart_ = SDL_GetTicks64();
    handsetStart_ = handset::host::Now();
    int code = 0;
    try {
      WCHAR none[1] = {0};
      code = winMain(instance, nullptr, none, SW_SHOW);
    } catch (const Stop& stop) {
      code = stop.code;
    }
    handset::host::RemoveHooks();
    view_.Close();
    return code;
  }

  const kit::LapBook& Laps() const { return laps_; }

 private:
  kit::PlayerHooks Hooks() {
    kit::PlayerHooks hooks;
    hooks.pace = [this](DWORD, DWORD to) { Pace(to); };
    hooks.shoot = [this](const kit::Command& command) {
      const std::filesystem::path file = options_.shots.value_or(".") / (command.name + ".png");
      if (std::string error; !handset::host::WriteScreenPng(file, error)) {
        Tell(player_.Where(command) + ": shot: " + error);
      }
    };
    hooks.warn = [this](const std::string& line) { std::cerr << name_ << ": " << line << '\n'; };
    hooks.wouldNotEnd = [this](const std::string& line) {
      std::cerr << name_ << ": " << line << '\n';
      throw Stop{kWouldNotEnd};
    };
    return hooks;
  }

  void After(const MSG& message) {
    main_.Note(message.hwnd);
    const std::size_t before = laps_.Laps().size();
    laps_.AfterMessage();
    if (laps_.Laps().size() != before) {
      ShowTitle();
    }
  }

  void Tell(const std::string& line) {
    std::cerr << name_ << ": " << line << '\n';
    bar_.Note(line, SDL_GetTicks64());
    ShowTitle();
  }

  // Holds the handset's clock to the real one: the screen is shown, then the host waits
  // until real time reaches `to` on the replay's scale, paused time left out.
  void Pace(DWORD to) {
    const auto elapsed = static_cast<double>(static_cast<DWORD>(to - handsetStart_));
    for (;;) {
      TakeEvents();
      if (stopped_) {
        return;
      }
      const Uint64 now = SDL_GetTicks64();
      const auto due = static_cast<Uint64>(static_cast<double>(realStart_) + elapsed / options_.speed);
      if (!paused_ && now >= due) {
        if (now - lastPicture_ >= kBehindPictureMs) {
          Present();
        }
        return;
      }
      Present();
      SDL_Event event;
      const Uint64 wait = paused_ ? kLongestWait : std::min(due - now, kLongestWait);
      if (SDL_WaitEventTimeout(&event, static_cast<int>(wait)) != 0) {
        Handle(event);
      }
    }
  }

  void TakeEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      Handle(event);
    }
  }

  void Present() {
    lastPicture_ = SDL_GetTicks64();
    const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
    if (!screen || viewFailed_) {
      return;
    }
    std::string error;
    if (!view_.IsOpen()) {
      if (!view_.Open(title_, screen->width, screen->height, options_.scale, options_.fullscreen, error)) {
        std::cerr << name_ << ": cannot open the window: " << error << '\n';
        viewFailed_ = true;
        return;
      }
      shownTitle_.clear();
    }
    ShowTitle();
    if (!view_.Present(*screen, error)) {
      std::cerr << name_ << ": cannot draw the window: " << error << '\n';
      view_.Close();
      viewFailed_ = true;
    }
  }

  void ShowTitle() {
    std::string extra = "replay";
    if (options_.speed != 1.0) {
      char speed[32];
      (void)std::snprintf(speed, sizeof speed, " %gx", options_.speed);
      extra += speed;
    }
    extra += " - " + TiltText("");
    if (const auto best = laps_.Best()) {
      extra += " - best lap " + kit::LapTime(*best);
    }
    if (paused_) {
      extra += " - paused (Space goes on)";
    }
    bar_.SetExtra(std::move(extra));
    if (std::string title = bar_.At(SDL_GetTicks64()); title != shownTitle_ && view_.IsOpen()) {
      view_.SetTitle(title);
      shownTitle_ = std::move(title);
    }
  }

  void StopWatching() {
    stopped_ = true;
    paused_ = false;
    player_.Stop();
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        StopWatching();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
          StopWatching();
        } else {
          view_.Damaged();
        }
        break;
      case SDL_KEYDOWN: {
        if (event.key.repeat != 0) {
          break;
        }
        const SDL_Keycode key = event.key.keysym.sym;
        const bool control = (event.key.keysym.mod & KMOD_CTRL) != 0;
        if (key == SDLK_ESCAPE || (key == SDLK_q && control)) {
          StopWatching();
        } else if (key == SDLK_SPACE && !stopped_) {
          paused_ = !paused_;
          if (paused_) {
            pausedAt_ = SDL_GetTicks64();
          } else {
            realStart_ += SDL_GetTicks64() - pausedAt_;
          }
          ShowTitle();
        } else if (key == SDLK_F12) {
          Shot();
        }
        break;
      }
      default:
        break;
    }
  }

  void Shot() {
    std::string error;
    if (const auto file = SaveScreenshot(options_.shots, name_, title_, error)) {
      std::cout << file->string() << std::endl;
      bar_.Note("screenshot " + file->string(), SDL_GetTicks64());
      ShowTitle();
    } else {
      Tell("screenshot: " + error);
    }
  }

  const DesktopOptions& options_;
  std::string name_;
  std::string title_;
  WindowTitle bar_;
  std::string shownTitle_;
  ScreenView view_;
  kit::ScriptPlayer player_;
  kit::LapBook laps_;
  kit::MainWindow main_;
  Uint64 realStart_ = 0;
  DWORD handsetStart_ = 0;
  Uint64 pausedAt_ = 0;
  Uint64 lastPicture_ = 0;
  bool paused_ = false;
  bool stopped_ = false;
  bool viewFailed_ = false;
};

}  // namespace

int WatchReplay(const DesktopOptions& options, std::vector<kit::Command> commands, HINSTANCE instance,
                const kit::HostProgram& program) {
  Replay replay(options, std::move(commands), program);
  const int code = replay.Run(instance, program.winMain);
  std::cout << replay.Laps().Lines() << std::flush;
  return code;
}

}  // namespace desktop
