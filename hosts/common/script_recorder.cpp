#include "script_recorder.h"

#include <string>

namespace kit {

void ScriptRecorder::Line(DWORD at, const std::string& line) {
  if (!keeping_) {
    return;
  }
  // Inputs arrive in time order, the clock wrapping as the handset's does; one that does
  // not would be a fault of the caller, kept at the current time rather than written as
  // a wait of nearly 2^32 ms.
  if (const auto ahead = static_cast<std::int32_t>(at - last_); ahead > 0) {
    text_ += "wait " + std::to_string(ahead) + "\n";
    last_ = at;
  }
  text_ += line;
  text_ += '\n';
  WriteOut();
}

void ScriptRecorder::Tilt(DWORD at, std::uint32_t throttle, std::uint32_t steer) {
  Line(at, "tilt " + std::to_string(throttle) + " " + std::to_string(steer));
}

void ScriptRecorder::Key(DWORD at, std::string_view name) { Line(at, "key " + std::string(name)); }

void ScriptRecorder::Tap(DWORD at, int x, int y) { Line(at, "tap " + std::to_string(x) + " " + std::to_string(y)); }

void ScriptRecorder::Ok(DWORD at, std::string_view button) {
  Line(at, button.empty() ? std::string("ok") : "ok " + std::string(button));
}

void ScriptRecorder::Begin(DWORD boot, const std::string& header) {
  last_ = boot;
  if (keeping_) {
    text_ += header + "\n";
  }
}

void ScriptRecorder::End(DWORD at, std::uint64_t ticks, const std::string& laps) {
  Line(at, "# session ended at " + std::to_string(at) + " ms after " + std::to_string(ticks) + " ticks" +
               (laps.empty() ? std::string() : "; " + laps));
}

bool ScriptRecorder::Open(const std::filesystem::path& file, std::string& error) {
  keeping_ = out_.Open(file, "the recording", error);
  return keeping_;
}

bool ScriptRecorder::Start(std::string& error) {
  started_ = out_.Place(error);
  if (started_) {
    WriteOut();
  }
  return started_;
}

void ScriptRecorder::WriteOut() {
  // A line at a time costs a write call each, a few a second: nothing beside a frame.
  if (!started_) {
    return;
  }
  if (failure_.empty() && !text_.empty() && !out_.WriteWhole(text_, failure_) && told_) {
    told_(failure_ + " (the recording keeps what came before)");
  }
  text_.clear();
}

bool ScriptRecorder::Close(std::string& error) {
  WriteOut();
  if (!failure_.empty()) {
    error = failure_;
    return false;
  }
  return out_.Commit(error);
}

}  // namespace kit
