#include "page_watch.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "lap_book.h"
#include "page_bridge.h"
#include "page_canvas.h"
#include "platform/host/host.h"
#include "recorded_options.h"
#include "script.h"
#include "script_player.h"

namespace web {
namespace {

constexpr int kRefused = 2;
constexpr int kWouldNotEnd = 3;
// What a drive from the page is called in the lines it is refused with.
constexpr const char* kDriveName = "drive";
// Page milliseconds a watch behind its pace may keep the browser before it gives a turn.
constexpr double kLongestBusy = 10;
// Behind by more than this (a slow phone, a busy tab), the watch goes on from now rather
// than hurrying to catch up.
constexpr double kMostBehind = 250;
constexpr double kFastest = 64;  // as ?speed= allows

class Watch {
 public:
  Watch(std::vector<kit::Command> commands, const kit::HostProgram& program)
      : name_(program.Name()), player_(std::move(commands), kDriveName, Hooks()), laps_(program.lapWatch) {}
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;
  ~Watch() { handset::host::RemoveHooks(); }

  int Run(HINSTANCE instance, int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int)) {
    handset::host::Hooks hooks;
    hooks.idle = [this] { return player_.Idle(); };
    hooks.delivering = [this](const MSG&) { touched_ = true; };
    hooks.afterDispatch = [this](const MSG&) { laps_.AfterMessage(); };
    hooks.afterSend = [this](const MSG&) { laps_.AfterMessage(); };
    hooks.refused = [this](std::string_view function, std::string_view reason) {
      Tell("refused " + std::string(function) + ": " + std::string(reason));
    };
    handset::host::InstallHooks(std::move(hooks));
    WCHAR none[1] = {0};
    return winMain(instance, nullptr, none, SW_SHOW);
  }

  const kit::LapBook& Laps() const { return laps_; }

 private:
  kit::PlayerHooks Hooks() {
    kit::PlayerHooks hooks;
    hooks.pace = [this](DWORD now, DWORD to) { Pace(now, to); };
    hooks.warn = [this](const std::string& line) { Tell(line); };
    // The page ends the run, the program's frames and all, as the headless host's throw
    // does: the page links no exception runtime.
    hooks.wouldNotEnd = [this](const std::string& line) {
      Tell(line);
      EndRunOnPage(kWouldNotEnd);
    };
    return hooks;
  }

  void Tell(const std::string& line) const { TellPage(name_ + ": " + line); }

  // The screen at `now` stays on the canvas until the page's clock reaches `to`, at the
  // speed the page asks for now.
  void Pace(DWORD now, DWORD to) {
    const double speed = std::clamp(WatchSpeed(), 1.0, kFastest);
    const double real = PageNow();
    if (!due_ || *due_ < real - kMostBehind) {
      due_ = real;
    }
    *due_ += static_cast<double>(static_cast<DWORD>(to - now)) / speed;
    if (*due_ > real) {
      Present();
      // A wait ends early when the page wakes it; the clock is what counts.
      for (double left = *due_ - real; left > 0; left = *due_ - PageNow()) {
        WaitOnPage(static_cast<int>(std::ceil(left)));
      }
      lastTurn_ = PageNow();
    } else if (real - lastTurn_ >= kLongestBusy) {
      Present();
      WaitOnPage(0);
      lastTurn_ = PageNow();
    }
  }

  void Present() {
    const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
    // As in a live run, nothing is shown before the program's first window.
    shown_ = shown_ || handset::host::ProgramHasVisibleWindow();
    if (!screen || !shown_ || !touched_) {
      return;
    }
    touched_ = false;
    canvas_.Show(*screen);
  }

  std::string name_;
  kit::ScriptPlayer player_;
  kit::LapBook laps_;
  PageCanvas canvas_;
  std::optional<double> due_;  // on the page's clock, when the handset's clock is where it is going
  double lastTurn_ = 0;
  bool touched_ = true;
  bool shown_ = false;
};

// What the page cannot do with a drive, before anything runs: a tap off the screen, a
// picture to keep.
bool Playable(const std::vector<kit::Command>& commands, const handset::host::ScreenSize& screen, std::string& error) {
  error = kit::TapOffScreen(commands, screen.width, screen.height, kDriveName);
  if (!error.empty()) {
    return false;
  }
  for (const kit::Command& command : commands) {
    const std::string where = std::string(kDriveName) + ":" + std::to_string(command.line) + ": ";
    if (command.kind == kit::Command::Kind::Shot) {
      error = where + "shot: the page keeps no pictures";
      return false;
    }
  }
  return true;
}

}  // namespace

int WatchDrive(PageOptions options, std::string_view drive, const kit::HostProgram& program) {
  const std::string name = program.Name();
  const auto refuse = [&](const std::string& line) {
    TellPage(name + ": " + line);
    return kRefused;
  };
  std::string error;
  std::optional<kit::Script> script = kit::ParseScript(drive, kDriveName, error);
  if (!script) {
    return refuse(error);
  }
  if (script->recordedWith) {
    std::string warning;
    if (!kit::TakeRecordedOptions(*script->recordedWith, kDriveName, program.NameAndVersion(), options.handset, error,
                                  warning)) {
      return refuse(error);
    }
    if (!warning.empty()) {
      TellPage(name + ": " + warning);
    }
  }
  if (!Playable(script->commands, options.handset.screen, error)) {
    return refuse(error);
  }
  const HINSTANCE instance = kit::BootHandset(options.handset, program, error);
  if (instance == nullptr) {
    return refuse(error);
  }
  Watch watch(std::move(script->commands), program);
  const int code = watch.Run(instance, program.winMain);
  HandLaps(watch.Laps());
  return code;
}

}  // namespace web
