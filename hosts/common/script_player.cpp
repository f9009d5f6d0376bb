#include "script_player.h"

#include <winuser.h>

#include "main_window.h"
#include "platform/host/host.h"
#include "script_words.h"

namespace kit {

ScriptPlayer::ScriptPlayer(std::vector<Command> commands, std::string file, PlayerHooks hooks)
    : commands_(std::move(commands)), file_(std::move(file)), hooks_(std::move(hooks)) {}

std::uint64_t ScriptPlayer::TotalMs() const {
  std::uint64_t total = 0;
  for (const Command& command : commands_) {
    total += command.kind == Command::Kind::Wait ? command.ms : 0;
  }
  return total;
}

void ScriptPlayer::Stop() {
  next_ = commands_.size();
  target_.reset();
}

// Moves the clock to the next timer due before `until`, or to `until`.
void ScriptPlayer::Advance(DWORD until) const {
  using handset::host::TicksUntil;
  const DWORD now = handset::host::Now();
  const auto next = handset::host::NextTimerDue();
  const bool timerFirst = next && TicksUntil(*next, now) > 0 && TicksUntil(*next, until) < 0;
  const DWORD to = timerFirst ? *next : until;
  if (hooks_.pace) {
    hooks_.pace(now, to);
  }
  handset::host::SetNow(to);
}

void ScriptPlayer::Act(const Command& command) {
  switch (command.kind) {
    case Command::Kind::Tilt:
      handset::host::SetTilt({command.throttle, command.steer});
      break;
    case Command::Kind::Wait:
      target_ = static_cast<DWORD>(handset::host::Now() + command.ms);
      break;
    case Command::Kind::Key:
      handset::host::PressKey(command.virtualKey, command.control);
      break;
    case Command::Kind::Tap:
      handset::host::Tap(POINT{command.x, command.y});
      break;
    case Command::Kind::Ok:
      if (handset::host::AnswerTopmostBox(command.button) == 0 && hooks_.warn) {
        hooks_.warn(Where(command) + (command.button == 0 ? std::string(": ok: no box is open")
                                                          : ": ok " + std::string(BoxButtonName(command.button)) +
                                                                ": no open box has that button"));
      }
      break;
    case Command::Kind::Shot:
      if (hooks_.shoot) {
        hooks_.shoot(command);
      }
      break;
  }
}

bool ScriptPlayer::Idle() {
  using handset::host::TicksUntil;
  handset::host::ServeSessionRequests();
  const DWORD now = handset::host::Now();
  if (target_ && TicksUntil(*target_, now) > 0) {
    Advance(*target_);
    return true;
  }
  target_.reset();
  if (next_ < commands_.size()) {
    // One command per call, so what it causes is delivered before the next one.
    Act(commands_[next_++]);
    return true;
  }
  // The end of the session, as the system does it: every box answered OK, even one
  // that opens while the program closes, then WM_CLOSE once no box is left.
  if (handset::host::BoxOpen()) {
    handset::host::EndSession();
    return true;
  }
  if (!closing_) {
    closing_ = true;
    closeAt_ = now;
    handset::host::EndSession();
    return true;
  }
  const auto next = handset::host::NextTimerDue();
  if (next && TicksUntil(*next, now) > 0 && WithinClosingGrace(closeAt_, *next)) {
    if (hooks_.pace) {
      hooks_.pace(now, *next);
    }
    handset::host::SetNow(*next);
    return true;
  }
  if (hooks_.wouldNotEnd) {
    hooks_.wouldNotEnd("the program kept running after the session ended (it ignored WM_CLOSE)");
  }
  return false;
}

}  // namespace kit
