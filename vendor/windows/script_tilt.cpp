#include "script_tilt.h"

#include <windows.h>

#include "files.h"
#include "png_file.h"
#include "settings.h"
#include "window_shot.h"

namespace sensor_dll {

namespace {

// The kit's own limit; one byte more is read so that it can say so.
constexpr std::size_t kMostScript = std::size_t{16} * 1024 * 1024;

const char* Unplayed(kit::Command::Kind kind) {
  switch (kind) {
    case kit::Command::Kind::Key:
      return "key";
    case kit::Command::Kind::Tap:
      return "tap";
    case kit::Command::Kind::Ok:
      return "ok";
    default:
      return nullptr;
  }
}

}  // namespace

ScriptTilt::ScriptTilt(const std::wstring& file, std::wstring shots) : file_(Utf8(file)), shots_(std::move(shots)) {
  std::string text;
  std::string error;
  if (!ReadWhole(file, kMostScript, text, error)) {
    Refuse(error);
  }
  auto script = kit::ParseScript(text, file_, error);
  if (!script) {
    Refuse(error);
  }
  bool shoots = false;
  for (const kit::Command& command : script->commands) {
    // The sensor library plays the tilt alone; keys, taps and boxes are the user's.
    if (const char* verb = Unplayed(command.kind)) {
      Refuse(file_ + ":" + std::to_string(command.line) + ": " + verb + " is not played on Windows");
    }
    shoots = shoots || command.kind == kit::Command::Kind::Shot;
  }
  if (shoots && !IsFolder(shots_)) {
    Refuse("shots folder " + Utf8(shots_) + ": no such folder");
  }
  commands_ = std::move(script->commands);
}

kit::SensorAngles ScriptTilt::Read() {
  ++reads_;
  const std::uint64_t now = ClockMs();
  for (; next_ < commands_.size() && nextAtMs_ < now; ++next_) {
    const kit::Command& command = commands_[next_];
    switch (command.kind) {
      case kit::Command::Kind::Tilt:
        tilt_ = {command.throttle, command.steer};
        break;
      case kit::Command::Kind::Wait:
        nextAtMs_ += command.ms;
        break;
      case kit::Command::Kind::Shot:
        Shoot(command);
        break;
      default:
        break;
    }
  }
  if (next_ == commands_.size() && !closing_) {
    closing_ = true;
    // As the headless host ends a session: the program closes as its user would.
    if (const HWND window = MainWindow()) {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
  return tilt_;
}

void ScriptTilt::Shoot(const kit::Command& command) const {
  const std::string where = file_ + ":" + std::to_string(command.line) + ": shot: ";
  Picture picture;
  if (!CaptureClient(MainWindow(), picture)) {
    Refuse(where + "the program's window could not be read");
  }
  std::string error;
  const std::wstring name(command.name.begin(), command.name.end());  // letters, digits, '_', '.', '-'
  if (!WriteInto(shots_, name + L".png", PngOf(picture.width, picture.height, picture.rgb), error)) {
    Refuse(where + error);
  }
}

}  // namespace sensor_dll
