// The page's host: a program on the handset in a browser, on the page's clock, its
// screen on the canvas, the page's keys, taps and tilt as the phone's user. The
// handset's loops give the page back to the browser whenever they wait (Asyncify).
#include <emscripten.h>
#include <malloc.h>

#include <cstdint>
#include <optional>
#include <string>

#include "live_run.h"
#include "page_bridge.h"
#include "page_canvas.h"
#include "page_host.h"
#include "page_options.h"
#include "page_watch.h"
#include "platform/host/host.h"
#include "recorded_options.h"
#include "tilt_models.h"

namespace web {
namespace {

// Page milliseconds the game may run before it gives the browser a turn: a start-up or a
// catch-up is cut into pieces a phone runs well within a frame's budget.
constexpr std::uint64_t kLongestBusy = 10;

// The page's side of a live run: the page's input and tilt, its canvas as the screen.
class Page {
 public:
  Page(PageOptions options, const kit::HostProgram& program)
      : options_(std::move(options)),
        name_(program.Name()),
        gestures_(program.levelPitch),
        keys_(gestures_),
        lapWatch_(program.lapWatch),
        run_(Host(), recorder_) {
    if (options_.record) {
      recorder_.Keep();
      recorder_.Begin(options_.handset.clock,
                      kit::RecordingHeader(program.NameAndVersion(), kit::RecordingOptions(options_.handset)));
    }
  }

  kit::LiveRun& Run() { return run_; }

  // The session's input as a script, when the page asked for it.
  std::string Recording() {
    if (!options_.record) {
      return {};
    }
    run_.EndRecording();
    return recorder_.Text();
  }

 private:
  kit::LiveHost Host() {
    kit::LiveHost host;
    host.realMs = [] { return static_cast<std::uint64_t>(PageNow()); };
    host.takeInput = [this](kit::LiveRun& run) { TakeInput(run); };
    host.samplePose = [this](double elapsedMs) { return Pose(elapsedMs); };
    host.present = [this](const handset::host::ScreenPixels& screen, bool changed) {
      if (changed) {
        canvas_.Show(screen);
      }
    };
    host.wait = [](DWORD ms) { WaitOnPage(static_cast<int>(ms)); };
    host.tell = [this](const std::string& line) { TellPage(name_ + ": " + line); };
    host.lapWatch = lapWatch_;
    host.busyTurnMs = kLongestBusy;
    // The page's thread is the browser's: it must be given back even within a start-up.
    host.turnsWithinMessages = true;
    return host;
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

  kit::PhonePose Pose(double elapsedMs) {
    const PageTilt tilt = PageTiltNow();
    switch (TiltNow(tilt)) {
      case TiltKind::Keys:
        keys_.Advance(elapsedMs, {tilt.left, tilt.right, tilt.up, tilt.down});
        return keys_.Pose();
      case TiltKind::Pointer:
        if (const auto screen = handset::host::Screen(); screen && tilt.pointerSeen) {
          return gestures_.Pointer(tilt.pointerX, tilt.pointerY, screen->width, screen->height);
        }
        break;
      case TiltKind::Motion:
        if (tilt.motion) {
          const kit::PhonePose pose = gestures_.Orientation(tilt.beta, tilt.gamma, tilt.screenAngle);
          return tilt.levelled ? gestures_.Levelled(pose, gestures_.Orientation(tilt.levelBeta, tilt.levelGamma,
                                                                                tilt.levelScreenAngle))
                               : pose;
        }
        break;
    }
    return gestures_.Level();
  }

  void TakeInput(kit::LiveRun& run) {
    for (PageInput input = TakePageInput(); input.kind != PageInput::Kind::None; input = TakePageInput()) {
      const auto arrived = static_cast<std::uint64_t>(input.at);
      if (input.kind == PageInput::Kind::Tap) {
        run.Tap(POINT{input.x, input.y}, arrived);
        continue;
      }
      const bool arrow = input.key == "left" || input.key == "right" || input.key == "up" || input.key == "down";
      // Held arrows tilt the phone when the keys do.
      if (!arrow || TiltNow(PageTiltNow()) != TiltKind::Keys) {
        run.Key(std::move(input.key), arrived);
      }
    }
  }

  PageOptions options_;
  std::string name_;
  kit::Gestures gestures_;
  kit::KeyTilt keys_;
  kit::ScriptRecorder recorder_;
  PageCanvas canvas_;
  kit::LapWatch lapWatch_;
  kit::LiveRun run_;  // last: its host's callbacks reach everything above
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
  if (const std::optional<std::string> drive = DriveToWatch()) {
    return WatchDrive(std::move(*options), *drive, program);
  }
  const HINSTANCE instance = kit::BootHandset(options->handset, program, error);
  if (instance == nullptr) {
    TellPage(name + ": " + error);
    return 2;
  }
  Page page(std::move(*options), program);
  const int code = page.Run().Run(instance, program.winMain);
  HandRecording(page.Recording());
  HandLaps(page.Run().Laps());
  return code;
}

double PageMemoryBytes() { return 65536.0 * __builtin_wasm_memory_size(0); }

double PageHeapInUse() { return static_cast<double>(mallinfo().uordblks); }

}  // namespace web
