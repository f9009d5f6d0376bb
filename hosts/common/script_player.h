// A script played on the handset's clock, command by command from the handset's idle
// hook: the headless host runs it as fast as it can, a watching host at the pace of a
// real clock. Both take the same steps, so both see the very same drive.
#pragma once

#include <windef.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "script.h"

namespace kit {

struct PlayerHooks {
  // The clock is about to move from `now` to `to`: a watching host shows the screen and
  // lets real time catch up.
  std::function<void(DWORD now, DWORD to)> pace;
  // A `shot` command.
  std::function<void(const Command& command)> shoot;
  // A command that could not be done; the play goes on.
  std::function<void(const std::string& line)> warn;
  // The program would not end once the session did; must not return.
  std::function<void(const std::string& line)> wouldNotEnd;
};

class ScriptPlayer {
 public:
  // `file` names the script in messages.
  ScriptPlayer(std::vector<Command> commands, std::string file, PlayerHooks hooks);

  // The handset's idle hook: one step of the play, or of the session's end once the
  // script is done. False when there was nothing to do.
  bool Idle();
  // Skips what is left of the script: the session ends as at its end.
  void Stop();

  // Handset milliseconds the script's waits come to.
  std::uint64_t TotalMs() const;
  bool Done() const { return next_ >= commands_.size() && !target_; }
  // "FILE:LINE" of a command.
  std::string Where(const Command& command) const { return file_ + ":" + std::to_string(command.line); }

 private:
  void Advance(DWORD until) const;
  void Act(const Command& command);

  std::vector<Command> commands_;
  std::string file_;
  PlayerHooks hooks_;
  std::size_t next_ = 0;
  std::optional<DWORD> target_;  // the end of the running wait
  bool closing_ = false;
  DWORD closeAt_ = 0;
};

}  // namespace kit
