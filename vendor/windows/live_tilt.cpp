#include "live_tilt.h"

#include "settings.h"

namespace sensor_dll {

namespace {

// A program that stalls (a box open, a debugger) should not find the phone tipped all
// the way when it comes back.
constexpr ULONGLONG kLongestStepMs = 250;

bool Held(int key) { return (static_cast<unsigned short>(GetAsyncKeyState(key)) & 0x8000U) != 0; }

// The foreground window when it is one of this process's; null otherwise.
HWND OurFront() {
  const HWND front = GetForegroundWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return front != nullptr && process == GetCurrentProcessId() ? front : nullptr;
}

LiveTilt::Kind KindNamed(const std::wstring& name) {
  if (name.empty()) {
    return LiveTilt::Kind::PadElseKeys;
  }
  if (name == L"keys") {
    return LiveTilt::Kind::Keys;
  }
  if (name == L"mouse") {
    return LiveTilt::Kind::Mouse;
  }
  if (name == L"stick") {
    return LiveTilt::Kind::Stick;
  }
  Refuse("HTC_SENSOR_TILT=" + Utf8(name) + ": not a tilt (keys, mouse, stick)");
}

}  // namespace

LiveTilt::LiveTilt(const std::wstring& kind, double levelPitch)
    : kind_(KindNamed(kind)), gestures_(levelPitch), keys_(gestures_) {
  if (kind_ == Kind::Stick || kind_ == Kind::PadElseKeys) {
    pad_ = std::make_unique<XInputPad>();
  }
}

kit::PhonePose LiveTilt::Keys(HWND front) {
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG step = lastRead_ == 0 ? 0 : now - lastRead_;
  lastRead_ = now;
  kit::KeyTilt::Keys keys;
  if (front != nullptr) {
    keys = {.left = Held(VK_LEFT), .right = Held(VK_RIGHT), .up = Held(VK_UP), .down = Held(VK_DOWN)};
  }
  keys_.Advance(static_cast<double>(step < kLongestStepMs ? step : kLongestStepMs), keys);
  return keys_.Pose();
}

kit::PhonePose LiveTilt::Mouse(HWND front) const {
  POINT at{};
  RECT client{};
  if (front == nullptr || GetCursorPos(&at) == FALSE || ScreenToClient(front, &at) == FALSE ||
      GetClientRect(front, &client) == FALSE) {
    return gestures_.Level();
  }
  return gestures_.Pointer(at.x, at.y, client.right, client.bottom);
}

kit::SensorAngles LiveTilt::Read() {
  const HWND front = OurFront();
  kit::PhonePose pose = gestures_.Level();
  switch (kind_) {
    case Kind::Keys:
      pose = Keys(front);
      break;
    case Kind::Mouse:
      pose = Mouse(front);
      break;
    case Kind::Stick:
      if (const auto stick = front != nullptr ? pad_->LeftStick() : std::nullopt) {
        pose = gestures_.Stick(stick->first, stick->second);
      }
      break;
    case Kind::PadElseKeys:
      if (const auto stick = front != nullptr ? pad_->LeftStick() : std::nullopt) {
        pose = gestures_.Stick(stick->first, stick->second);
        lastRead_ = 0;
      } else {
        pose = Keys(front);
      }
      break;
  }
  return kit::AnglesOf(pose);
}

}  // namespace sensor_dll
