#include "live_run.h"

#include <utility>

#include "clock_steps.h"
#include "platform/host/host.h"
#include "script_words.h"

namespace kit {

LiveRun::LiveRun(LiveHost host, ScriptRecorder& recorder)
    : host_(std::move(host)), recorder_(recorder), laps_(host_.lapWatch) {}

LiveRun::~LiveRun() { handset::host::RemoveHooks(); }

void LiveRun::Key(std::string name, std::uint64_t arrivedMs) {
  if (!closeAsked_) {
    pending_.push_back({Input::Kind::Key, std::move(name), {}, OnHandsetScale(arrivedMs)});
  }
}

void LiveRun::Tap(POINT at, std::uint64_t arrivedMs) {
  if (!closeAsked_) {
    pending_.push_back({Input::Kind::Tap, {}, at, OnHandsetScale(arrivedMs)});
  }
}

void LiveRun::Close() {
  if (!closeAsked_) {
    closeAsked_ = true;
    pending_.push_back({Input::Kind::Close, {}, {}, Real()});
  }
}

int LiveRun::Run(HINSTANCE instance, int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int)) {
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
    laps_.AfterMessage();
    TurnWhenBusy(false);
  };
  hooks.afterSend = [this](const MSG& m) {
    main_.Note(m.hwnd);
    laps_.AfterMessage();
    TurnWhenBusy(false);
  };
  hooks.refused = [this](std::string_view function, std::string_view reason) {
    Tell("refused " + std::string(function) + ": " + std::string(reason));
  };
  handset::host::InstallHooks(std::move(hooks));
  // The host shows itself before a start-up that may keep the program busy a while.
  host_.wait(0);
  lastTurn_ = host_.realMs();
  WCHAR none[1] = {0};
  const int code = winMain(instance, nullptr, none, SW_SHOW);
  handset::host::RemoveHooks();
  return code;
}

void LiveRun::EndRecording() { recorder_.End(endAt_.value_or(handset::host::Now()), ticks_, laps_.Summary()); }

std::uint64_t LiveRun::Real() {
  const std::uint64_t now = host_.realMs();
  if (!base_) {
    base_ = now - handset::host::Now();
  }
  return now - *base_;
}

// Modulo 2^64, as the clock steps read only the low 32 bits: an input stamped before the
// base (a clock started near its wrap) stays just behind the handset's now.
std::uint64_t LiveRun::OnHandsetScale(std::uint64_t realMs) {
  Real();
  return realMs - *base_;
}

void LiveRun::Tell(const std::string& line) const {
  if (host_.tell) {
    host_.tell(line);
  }
}

void LiveRun::Present() {
  const std::optional<handset::host::ScreenPixels> screen = handset::host::Screen();
  if (closeAsked_ || !screen) {
    return;
  }
  // Nothing is shown before the program's first window: a program that fails to start
  // leaves no window behind. Once shown, the screen stays, boxes after the last window too.
  shown_ = shown_ || handset::host::ProgramHasVisibleWindow();
  if (!shown_) {
    return;
  }
  host_.present(*screen, screenTouched_);
  screenTouched_ = false;
}

// Only between messages is the screen whole, worth showing.
void LiveRun::TurnWhenBusy(bool betweenMessages) {
  if (!betweenMessages && !host_.turnsWithinMessages) {
    return;
  }
  if (host_.realMs() - lastTurn_ < host_.busyTurnMs) {
    return;
  }
  if (betweenMessages) {
    Present();
  }
  host_.wait(0);
  lastTurn_ = host_.realMs();
}

// The user's tilt, read after each tick: a change is an input at this very time.
bool LiveRun::SampleTilt() {
  const DWORD now = handset::host::Now();
  const double elapsed = lastSample_ ? static_cast<double>(now - *lastSample_) : 0.0;
  lastSample_ = now;
  const SensorAngles angles = AnglesOf(host_.samplePose(elapsed));
  if (angles == lastAngles_) {
    return false;
  }
  lastAngles_ = angles;
  handset::host::SetTilt({angles.throttle, angles.steer});
  recorder_.Tilt(now, angles.throttle, angles.steer);
  if (host_.tiltChanged) {
    host_.tiltChanged();
  }
  return true;
}

void LiveRun::Apply(const Input& input) {
  const DWORD now = handset::host::Now();
  switch (input.kind) {
    case Input::Kind::Key:
      if (const auto key = KeyNamed(input.key)) {
        handset::host::PressKey(key->first, key->second);
        recorder_.Key(now, input.key);
      }
      break;
    case Input::Kind::Tap:
      handset::host::Tap(input.at);
      recorder_.Tap(now, input.at.x, input.at.y);
      break;
    case Input::Kind::Close:
      closing_ = true;
      pending_.clear();
      break;
  }
}

bool LiveRun::CloseStep() {
  const DWORD now = handset::host::Now();
  if (!endAt_) {
    if (const int pressed = handset::host::AnswerTopmostBox(0, true); pressed != 0) {
      // A plain `ok` replays the default, which is what closing gave when it was OK.
      recorder_.Ok(now, pressed == IDOK ? "" : BoxButtonName(pressed));
      return true;
    }
    endAt_ = now;
    handset::host::EndSession();
    return true;
  }
  if (!forced_ && !WithinClosingGrace(*endAt_, now)) {
    forced_ = true;
    Tell("the program kept running after its window was closed; ending it");
    handset::host::EndSession();
    handset::host::EndSession();
    return true;
  }
  return false;
}

bool LiveRun::Idle() {
  host_.takeInput(*this);
  if (closing_) {
    if (CloseStep()) {
      return true;
    }
  } else if (tickHandled_) {
    tickHandled_ = false;
    if (SampleTilt()) {
      return true;
    }
  }
  const std::optional<std::uint64_t> input = pending_.empty() ? std::nullopt : std::optional(pending_.front().arrived);
  const ClockStep step =
      NextClockStep(handset::host::Now(), handset::host::NextTimerDue(), Real(), input, host_.longestWait);
  switch (step.kind) {
    case ClockStep::Kind::Input: {
      TurnWhenBusy(true);
      handset::host::SetNow(step.now);
      const Input next = pending_.front();
      pending_.pop_front();
      Apply(next);
      return true;
    }
    case ClockStep::Kind::Tick:
      TurnWhenBusy(true);
      handset::host::SetNow(step.now);
      return true;
    case ClockStep::Kind::Wait:
      Present();
      host_.wait(step.waitMs);
      lastTurn_ = host_.realMs();
      return true;
  }
  return true;
}

}  // namespace kit
