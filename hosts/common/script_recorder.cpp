#include "script_recorder.h"

#include <string>

namespace kit {

void ScriptRecorder::Line(DWORD at, const std::string& line) {
  if (!keeping_) {
    return;
  }
  // Inputs arrive in time order; one that does not would be a fault of the caller, and
  // is kept at the current time rather than written as a negative wait.
  if (at > last_) {
    text_ += "wait " + std::to_string(at - last_) + "\n";
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

void ScriptRecorder::End(DWORD at, std::uint64_t ticks) {
  Line(at, "# session ended at " + std::to_string(at) + " ms after " + std::to_string(ticks) + " ticks");
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
  if (failure_.empty() && !text_.empty()) {
    out_.Write(text_, failure_);
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
