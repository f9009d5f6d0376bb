// The C++ end of the page's script (hosts/web/page/vireta-page.js keeps the other).
#include "page_bridge.h"

#include <emscripten.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// clang-format off
EM_JS(int, JsTakeInput, (double* numbers, char* key, int keySize), {
  const input = Module.page.inputs.shift();
  if (!input) return 0;
  HEAPF64[numbers >> 3] = input.at;
  HEAPF64[(numbers >> 3) + 1] = input.x || 0;
  HEAPF64[(numbers >> 3) + 2] = input.y || 0;
  stringToUTF8(input.key || "", key, keySize);
  return input.kind === "key" ? 1 : 2;
});

EM_JS(void, JsTilt, (double* out), {
  const t = Module.page.tilt;
  const values = [t.pointerSeen, t.pointerX, t.pointerY, t.left, t.right, t.up, t.down, t.motion, t.beta, t.gamma,
                  t.screenAngle, t.levelled, t.levelBeta, t.levelGamma, t.levelScreenAngle, t.fingerSteers];
  for (let i = 0; i < values.length; ++i) HEAPF64[(out >> 3) + i] = Number(values[i]) || 0;
});

EM_JS(double, JsClock, (), { return Module.page.clock(); });

EM_JS(void, JsShow, (const std::uint8_t* rgba, int width, int height), {
  Module.page.show(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});

EM_ASYNC_JS(void, JsWait, (int ms), {
  await new Promise(resolve => {
    const timer = setTimeout(() => { Module.page.wake = null; resolve(); }, ms);
    Module.page.wake = () => { clearTimeout(timer); Module.page.wake = null; resolve(); };
  });
});

EM_JS(void, JsTell, (const char* line), { Module.page.tell(UTF8ToString(line)); });

EM_JS(void, JsRecording, (const char* script), { Module.page.recording = UTF8ToString(script); });

EM_JS(void, JsLaps, (const char* times, const char* best), {
  const all = UTF8ToString(times);
  Module.page.laps = { times: all ? all.split(' ') : [], best: UTF8ToString(best) || null };
});

EM_JS(int, JsDriveSize, (), {
  const drive = Module.page.drive;
  return drive instanceof Uint8Array ? drive.length : -1;
});

EM_JS(void, JsDriveInto, (char* bytes), { HEAPU8.set(Module.page.drive, bytes); });

EM_JS(double, JsSpeed, (), { return Number(Module.page.speed) || 1; });

// Thrown through the program's frames (no C++ handler catches what JavaScript throws) up
// to the page, whose run ends with `code`.
EM_JS(void, JsEndRun, (int code), { throw new Module.page.RunEnd(code); });
// clang-format on

}  // namespace

namespace web {

double PageNow() { return JsClock(); }

PageInput TakePageInput() {
  std::array<double, 3> numbers{};
  std::array<char, 32> key{};
  const int kind = JsTakeInput(numbers.data(), key.data(), static_cast<int>(key.size()));
  if (kind == 0) {
    return {};
  }
  PageInput input;
  input.kind = kind == 1 ? PageInput::Kind::Key : PageInput::Kind::Tap;
  input.at = numbers[0];
  input.x = static_cast<int>(numbers[1]);
  input.y = static_cast<int>(numbers[2]);
  input.key = key.data();
  return input;
}

PageTilt PageTiltNow() {
  std::array<double, 16> v{};
  JsTilt(v.data());
  PageTilt tilt;
  tilt.pointerSeen = v[0] != 0;
  tilt.pointerX = v[1];
  tilt.pointerY = v[2];
  tilt.left = v[3] != 0;
  tilt.right = v[4] != 0;
  tilt.up = v[5] != 0;
  tilt.down = v[6] != 0;
  tilt.motion = v[7] != 0;
  tilt.beta = v[8];
  tilt.gamma = v[9];
  tilt.screenAngle = v[10];
  tilt.levelled = v[11] != 0;
  tilt.levelBeta = v[12];
  tilt.levelGamma = v[13];
  tilt.levelScreenAngle = v[14];
  tilt.fingerSteers = v[15] != 0;
  return tilt;
}

void ShowOnPage(const std::uint8_t* rgba, int width, int height) { JsShow(rgba, width, height); }

void WaitOnPage(int ms) { JsWait(ms); }

void TellPage(const std::string& line) { JsTell(line.c_str()); }

void HandRecording(const std::string& script) { JsRecording(script.c_str()); }

void HandLaps(const kit::LapBook& laps) {
  std::string times;
  for (const double lap : laps.Laps()) {
    times += (times.empty() ? "" : " ") + kit::LapTime(lap);
  }
  const std::optional<double> best = laps.Best();
  JsLaps(times.c_str(), best ? kit::LapTime(*best).c_str() : "");
}

std::optional<std::string> DriveToWatch() {
  const int size = JsDriveSize();
  if (size < 0) {
    return std::nullopt;
  }
  // Bytes, not a C string: a NUL in a drive reaches the parser, which names its line.
  std::string drive(static_cast<std::size_t>(size), '\0');
  if (size > 0) {
    JsDriveInto(drive.data());
  }
  return drive;
}

double WatchSpeed() { return JsSpeed(); }

void EndRunOnPage(int code) {
  JsEndRun(code);
  std::abort();
}

}  // namespace web
