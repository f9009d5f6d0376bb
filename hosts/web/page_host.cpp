// The page's host: a program on the handset in a browser, on the page's clock, its
// screen on the canvas, the page's keys, taps and tilt as the phone's user. The
// handset's loops give the page back to the browser whenever they wait (Asyncify).
#include <emscripten.h>
#include <malloc.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "clock_steps.h"
#include "main_window.h"
#include "page_bridge.h"
#include "page_host.h"
#include "page_options.h"
#include "platform/host/host.h"
#include "script_recorder.h"
#include "script_words.h"
#include "tilt_models.h"

namespace web {
namespace {

// With no timer running, still look for input this often.
constexpr DWORD kLongestWait = 200;
// Page milliseconds the game may run before it gives the browser a turn: a start-up or a
// catch-up is cut into pieces a phone runs well within a frame's budget.
constexpr double kLongestBusy = 10;

struct Input {
  PageInput page;
  std::uint64_t arrived = 0;  // on the handset's scale
};

class Run {
 public:
  Run(PageOptions options, std::string name) : options_(std::move(options)), name_(std::move(name)) {
    if (options_.record) {
      recorder_.Keep();
    }
  }

  void Install() {
    handset::host::Hooks hooks;
    hooks.idle = [this] { return Idle(); };
    hooks.delivering = [this](const MSG& m) {
      main_.Note(m.hwnd);
      screenTouched_ = true;
    };
    hooks.afterDispatch = [this](const MSG& m) {
      main_.Note(m.hwnd);
      if (m.message == WM_TIMER && main_.Is(m.hwnd)) {
        ++ticks_;
        tickHandled_ = true;
      }
      YieldWhenBusy();
    };
    hooks.afterSend = [this](const MSG& m) {
      main_.Note(m.hwnd);
      YieldWhenBusy();
    };
    hooks.refused = [this](std::string_view function, std::string_view reason) {
      TellPage(name_ + ": refused " + std::string(function) + ": " + std::string(reason));
    };
    handset::host::InstallHooks(std::move(hooks));
  }

  // Catching up after a stall runs tick after tick without waiting, and a start-up sends
  // message after message: the page is given back to the browser now and then, so it
  // never freezes meanwhile. Only between messages is the screen whole, worth showing.
  void YieldWhenBusy(bool betweenMessages = false) {
    const double now = PageNow();
    if (now - lastYield_ < kLongestBusy) {
      return;
    }
    if (betweenMessages) {
      Present();
    }
    WaitOnPage(0);
    lastYield_ = PageNow();
  }

  // The session's input as a script, when the page asked for it.
  std::string Recording() {
    if (!options_.record) {
      return {};
    }
    recorder_.End(handset::host::Now(), ticks_);
    return recorder_.Text();
  }

 private:
  std::uint64_t Real() {
    const auto now = static_cast<std::uint64_t>(PageNow());
    if (!base_) {
      base_ = now - handset::host::Now();
    }
    return now - *base_;
  }

  // Modulo 2^64, as the clock steps read only the low 32 bits: an input stamped before
  // the base (a clock started near its wrap) stays just behind the handset's now.
  std::uint64_t OnHandsetScale(double pageMs) {
    Real();
    return static_cast<std::uint64_t>(pageMs) - *base_;
  }

  void Present() {
    if (!screenTouched_) {
      return;
    }
    screenTouched_ = false;
    const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
    if (!screen || !handset::host::ProgramHasVisibleWindow()) {
      return;
    }
    // Canvas pixels are R, G, B, A in memory: one little-endian word each.
    next_.clear();
    next_.reserve(static_cast<std::size_t>(screen->width) * static_cast<std::size_t>(screen->height));
    for (int y = 0; y < screen->height; ++y) {
      const std::uint32_t* row = screen->Row(y);
      for (int x = 0; x < screen->width; ++x) {
        const std::uint32_t pixel = row[x];
        next_.push_back(0xFF000000U | ((pixel & 0xFFU) << 16) | (pixel & 0xFF00U) | ((pixel >> 16) & 0xFFU));
      }
    }
    if (next_ != shown_) {
      shown_.swap(next_);
      ShowOnPage(reinterpret_cast<const std::uint8_t*>(shown_.data()), screen->width, screen->height);
    }
  }

  TiltKind TiltNow(const PageTilt& tilt) const {
    if (options_.tilt) {
      return *options_.tilt;
    }
    if (tilt.motion) {
      return TiltKind::Motion;
    }
    return tilt.fingerSteers && tilt.pointerSeen ? TiltKind::Pointer : TiltKind::Keys;
  }

  // The player's tilt, read after each tick: a change is an input at this very time.
  bool SampleTilt() {
    const DWORD now = handset::host::Now();
    const double elapsed = lastSample_ ? static_cast<double>(now - *lastSample_) : 0.0;
    lastSample_ = now;
    const PageTilt tilt = PageTiltNow();
    kit::PhonePose pose;
    switch (TiltNow(tilt)) {
      case TiltKind::Keys:
        keys_.Advance(elapsed, {tilt.left, tilt.right, tilt.up, tilt.down});
        pose = keys_.Pose();
        break;
      case TiltKind::Pointer:
        if (const auto screen = handset::host::Screen(); screen && tilt.pointerSeen) {
          pose = kit::PoseFromPointer(tilt.pointerX, tilt.pointerY, screen->width, screen->height);
        }
        break;
      case TiltKind::Motion:
        if (tilt.motion) {
          pose = kit::PoseFromOrientation(tilt.beta, tilt.gamma, tilt.screenAngle);
          if (tilt.levelled) {
            pose =
                kit::Levelled(pose, kit::PoseFromOrientation(tilt.levelBeta, tilt.levelGamma, tilt.levelScreenAngle));
          }
        }
        break;
    }
    const kit::SensorAngles angles = kit::AnglesOf(pose);
    if (angles == lastAngles_) {
      return false;
    }
    lastAngles_ = angles;
    handset::host::SetTilt({angles.throttle, angles.steer});
    recorder_.Tilt(now, angles.throttle, angles.steer);
    return true;
  }

  void Apply(const PageInput& input) {
    const DWORD now = handset::host::Now();
    if (input.kind == PageInput::Kind::Tap) {
      handset::host::Tap(POINT{input.x, input.y});
      recorder_.Tap(now, input.x, input.y);
      return;
    }
    const auto key = kit::KeyNamed(input.key);
    if (!key) {
      return;
    }
    handset::host::PressKey(key->first, key->second);
    recorder_.Key(now, input.key);
  }

  void TakeInput() {
    for (PageInput input = TakePageInput(); input.kind != PageInput::Kind::None; input = TakePageInput()) {
      const bool arrow = input.key == "left" || input.key == "right" || input.key == "up" || input.key == "down";
      // Held arrows tilt the phone when the keys do.
      if (arrow && TiltNow(PageTiltNow()) == TiltKind::Keys) {
        continue;
      }
      const std::uint64_t arrived = OnHandsetScale(input.at);
      pending_.push_back({std::move(input), arrived});
    }
  }

  bool Idle() {
    TakeInput();
    if (tickHandled_) {
      tickHandled_ = false;
      if (SampleTilt()) {
        return true;
      }
    }
    const std::optional<std::uint64_t> input =
        pending_.empty() ? std::nullopt : std::optional(pending_.front().arrived);
    const kit::ClockStep step =
        kit::NextClockStep(handset::host::Now(), handset::host::NextTimerDue(), Real(), input, kLongestWait);
    switch (step.kind) {
      case kit::ClockStep::Kind::Input: {
        YieldWhenBusy(true);
        handset::host::SetNow(step.now);
        const Input next = pending_.front();
        pending_.pop_front();
        Apply(next.page);
        return true;
      }
      case kit::ClockStep::Kind::Tick:
        YieldWhenBusy(true);
        handset::host::SetNow(step.now);
        return true;
      case kit::ClockStep::Kind::Wait:
        Present();
        WaitOnPage(static_cast<int>(step.waitMs));
        lastYield_ = PageNow();
        return true;
    }
    return true;
  }

  PageOptions options_;
  std::string name_;
  kit::ScriptRecorder recorder_;
  kit::MainWindow main_;
  std::deque<Input> pending_;
  std::optional<std::uint64_t> base_;
  double lastYield_ = 0;
  std::vector<std::uint32_t> shown_;  // on the canvas now
  std::vector<std::uint32_t> next_;
  bool screenTouched_ = true;
  std::uint64_t ticks_ = 0;
  bool tickHandled_ = true;  // the first idle sets the tilt the player starts with
  std::optional<DWORD> lastSample_;
  std::optional<kit::SensorAngles> lastAngles_;
  kit::KeyTilt keys_;
};

}  // namespace

int RunPage(const char* arguments, const kit::HostProgram& program) {
  const std::string name = program.Name();
  std::string error;
  std::optional<PageOptions> options = ParsePageOptions(OptionLines(arguments), error);
  if (!options) {
    TellPage(name + ": " + error);
    return 2;
  }
  const HINSTANCE instance = kit::BootHandset(options->handset, program, error);
  if (instance == nullptr) {
    TellPage(name + ": " + error);
    return 2;
  }
  Run run(std::move(*options), name);
  run.Install();
  run.YieldWhenBusy();
  WCHAR none[1] = {0};
  const int code = program.winMain(instance, nullptr, none, SW_SHOW);
  handset::host::RemoveHooks();
  HandRecording(run.Recording());
  return code;
}

double PageMemoryBytes() { return 65536.0 * __builtin_wasm_memory_size(0); }

double PageHeapInUse() { return static_cast<double>(mallinfo().uordblks); }

}  // namespace web
