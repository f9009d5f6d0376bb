// The session's input as a headless script, each line at its exact handset time, so a
// headless run of the file replays the drive tick for tick. Once the session starts each
// line goes straight into the file, whole or not at all, so a session that is killed,
// loses its display or fills the disk keeps every input up to then.
#pragma once

#include <windef.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "output_file.h"

namespace kit {

class ScriptRecorder {
 public:
  // The recording's first line names what it was made with (see RecordingHeader), and
  // its waits count from the handset's clock at boot, `boot`.
  void Begin(DWORD boot, const std::string& header);
  void Tilt(DWORD at, std::uint32_t throttle, std::uint32_t steer);
  void Key(DWORD at, std::string_view name);
  void Tap(DWORD at, int x, int y);
  // A box answered: by its default button, or by `button` (a script's name, "no" ...).
  void Ok(DWORD at, std::string_view button = {});
  // The session ended at `at` after `ticks` ticks: the last wait, and a note of both
  // and of the laps (LapBook::Summary).
  void End(DWORD at, std::uint64_t ticks, const std::string& laps = {});
  // What is recorded and not yet in the file.
  const std::string& Text() const { return text_; }

  // Records from now on, kept in Text() for a host without files. Until this or Open, a
  // recorder keeps nothing, so a session that records nothing does not grow.
  void Keep() { keeping_ = true; }

  // Checks `file` and gets ready to write it, leaving what is there alone; false with
  // `error` when it cannot be written.
  bool Open(const std::filesystem::path& file, std::string& error);
  // The session begins: the file is put in place and from now on grows line by line.
  bool Start(std::string& error);
  // Writes the rest and closes the file; false with the first failure in `error`.
  bool Close(std::string& error);
  // Told at once when a write fails: the file keeps every whole line written before,
  // and the session goes on without recording.
  void OnFailure(std::function<void(const std::string& error)> told) { told_ = std::move(told); }

 private:
  void Line(DWORD at, const std::string& line);
  void WriteOut();
  DWORD last_ = 0;
  std::string text_;
  kit::OutputFile out_;
  bool keeping_ = false;
  bool started_ = false;
  std::string failure_;
  std::function<void(const std::string&)> told_;
};

}  // namespace kit
