// A script played in place of the live tilt, one tick of the program's per read: the
// program reads the sensor exactly once a tick, so the reads are the script's clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script.h"
#include "tilt_models.h"

namespace sensor_dll {

class ScriptTilt {
 public:
  // A tick of the program's timer, as the handset's headless host steps it.
  static constexpr std::uint64_t kTickMs = 50;

  // Reads and checks `file` (shots go into `shots`); refuses a bad script or a missing
  // folder before anything runs.
  ScriptTilt(const std::wstring& file, std::wstring shots);

  // The next tick's tilt. A command due before this tick is done first; a shot is taken
  // now, as the window still shows the paint after the tick before it. Once the script
  // is done the main window is asked to close.
  kit::SensorAngles Read();
  std::uint64_t ClockMs() const { return reads_ * kTickMs; }

 private:
  void Shoot(const kit::Command& command) const;

  std::string file_;
  std::wstring shots_;
  std::vector<kit::Command> commands_;
  std::size_t next_ = 0;
  std::uint64_t nextAtMs_ = 0;  // when commands_[next_] is due
  std::uint64_t reads_ = 0;
  kit::SensorAngles tilt_;
  bool closing_ = false;
};

}  // namespace sensor_dll
