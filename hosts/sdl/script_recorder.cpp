#include "script_recorder.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace desktop {

void ScriptRecorder::Line(DWORD at, const std::string& line) {
  // Inputs arrive in time order; one that does not would be a fault of the caller, and
  // is kept at the current time rather than written as a negative wait.
  if (at > last_) {
    text_ += "wait " + std::to_string(at - last_) + "\n";
    last_ = at;
  }
  text_ += line;
  text_ += '\n';
}

void ScriptRecorder::Tilt(DWORD at, std::uint32_t throttle, std::uint32_t steer) {
  Line(at, "tilt " + std::to_string(throttle) + " " + std::to_string(steer));
}

void ScriptRecorder::Key(DWORD at, std::string_view name) { Line(at, "key " + std::string(name)); }

void ScriptRecorder::Tap(DWORD at, int x, int y) { Line(at, "tap " + std::to_string(x) + " " + std::to_string(y)); }

void ScriptRecorder::Ok(DWORD at) { Line(at, "ok"); }

void ScriptRecorder::End(DWORD at, std::uint64_t ticks) {
  Line(at, "# session ended at " + std::to_string(at) + " ms after " + std::to_string(ticks) + " ticks");
}

bool WriteScriptFile(const std::filesystem::path& file, const std::string& text, std::string& error) {
  std::filesystem::path temporary = file;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      error = file.string() + ": cannot write the recording: " + std::strerror(errno);
      return false;
    }
    out << text;
    out.flush();
    if (!out) {
      error = file.string() + ": cannot write the recording";
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code code;
  std::filesystem::rename(temporary, file, code);
  if (code) {
    error = file.string() + ": cannot write the recording: " + code.message();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

}  // namespace desktop
