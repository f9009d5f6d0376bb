// The session's input as a headless script, each line at its exact handset time, so a
// headless run of the file replays the drive tick for tick.
#pragma once

#include <windef.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace desktop {

class ScriptRecorder {
 public:
  void Tilt(DWORD at, std::uint32_t throttle, std::uint32_t steer);
  void Key(DWORD at, std::string_view name);
  void Tap(DWORD at, int x, int y);
  void Ok(DWORD at);
  // The session ended at `at` after `ticks` ticks: the last wait, and a note of both.
  void End(DWORD at, std::uint64_t ticks);
  const std::string& Text() const { return text_; }

 private:
  void Line(DWORD at, const std::string& line);
  DWORD last_ = 0;
  std::string text_;
};

// Writes `text` beside `file` and renames it into place; false with `error` set.
bool WriteScriptFile(const std::filesystem::path& file, const std::string& text, std::string& error);

}  // namespace desktop
