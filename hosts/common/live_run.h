// A program on the handset in front of a user: the handset's clock follows the host's
// real one, input waits its turn behind due ticks, the tilt is read after every tick,
// and the screen is shown whenever the program waits. A live host gives four callbacks
// and passes on what its user does.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "lap_book.h"
#include "main_window.h"
#include "platform/host/screen.h"
#include "script_recorder.h"
#include "tilt_models.h"

namespace kit {

class LiveRun;

struct LiveHost {
  // The host's clock, in milliseconds from any start.
  std::function<std::uint64_t()> realMs;
  // Passes the user's keys, taps and a closed window to `run`, as they arrived.
  std::function<void(LiveRun& run)> takeInput;
  // The phone's pose now, `elapsedMs` on the handset's clock after the last sample.
  std::function<PhonePose(double elapsedMs)> samplePose;
  // Shows the screen; `changed` false when no window has handled a message since the
  // last call, so a host that keeps its own copy need not look again.
  std::function<void(const handset::host::ScreenPixels& screen, bool changed)> present;
  // Waits up to `ms` of real time, or until input arrives; 0 gives the host a turn.
  std::function<void(DWORD ms)> wait;

  // A line for the user (without the program's name).
  std::function<void(const std::string& line)> tell;
  // The tilt the handset reports has changed.
  std::function<void()> tiltChanged;
  // Real milliseconds the program may keep busy (starting up, catching up after a
  // stall) before the host is given a turn.
  std::uint64_t busyTurnMs = 100;
  // Whether a turn may come between two messages of one burst of work too, not only
  // when the program goes back to its loop: for a host that owns no thread of its own.
  bool turnsWithinMessages = false;
  // With no timer running, the host still gets a turn this often.
  DWORD longestWait = 200;
  // The program's laps, counted as it closes them (HostProgram::lapWatch).
  LapWatch lapWatch;
};

class LiveRun {
 public:
  // Input is recorded to `recorder` as it is applied, when it records.
  LiveRun(LiveHost host, ScriptRecorder& recorder);
  LiveRun(const LiveRun&) = delete;
  LiveRun& operator=(const LiveRun&) = delete;
  ~LiveRun();

  // The user's input, stamped with its arrival on the host's clock.
  void Key(std::string name, std::uint64_t arrivedMs);
  void Tap(POINT at, std::uint64_t arrivedMs);
  // The user closed the program's window: boxes are answered one by one, then the
  // session ends; a program that will not end is ended after a grace period.
  void Close();
  bool Closing() const { return closeAsked_; }

  // Runs `winMain` on the booted handset until it returns, with this run as its host.
  int Run(HINSTANCE instance, int (*winMain)(HINSTANCE, HINSTANCE, LPWSTR, int));
  // Notes the end of the session in the recording.
  void EndRecording();
  const LapBook& Laps() const { return laps_; }

 private:
  struct Input {
    enum class Kind { Key, Tap, Close };
    Kind kind = Kind::Key;
    std::string key;
    POINT at{};
    std::uint64_t arrived = 0;  // on the handset's scale
  };

  std::uint64_t Real();
  std::uint64_t OnHandsetScale(std::uint64_t realMs);
  bool Idle();
  bool SampleTilt();
  bool CloseStep();
  void Apply(const Input& input);
  void Present();
  // While the program keeps busy, gives the host a turn now and then.
  void TurnWhenBusy(bool betweenMessages);
  void Tell(const std::string& line) const;

  LiveHost host_;
  ScriptRecorder& recorder_;
  LapBook laps_;
  MainWindow main_;
  std::deque<Input> pending_;
  std::optional<std::uint64_t> base_;  // the host's clock less the handset's, modulo 2^64
  std::uint64_t lastTurn_ = 0;
  bool screenTouched_ = true;
  bool shown_ = false;
  std::uint64_t ticks_ = 0;
  bool tickHandled_ = true;  // the first idle sets the tilt the player starts with
  std::optional<DWORD> lastSample_;
  std::optional<SensorAngles> lastAngles_;
  bool closeAsked_ = false;  // nothing the user does after counts
  bool closing_ = false;     // the close has come in its turn
  bool forced_ = false;
  std::optional<DWORD> endAt_;
};

}  // namespace kit
