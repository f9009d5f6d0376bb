#include "xinput_pad.h"

#include <xinput.h>

#include <cstring>

namespace sensor_dll {

namespace {

// Asking a slot with no pad in it is slow on some systems: once a second at most.
constexpr ULONGLONG kLookAgainMs = 1000;
constexpr DWORD kSlots = 4;

}  // namespace

XInputPad::XInputPad() {
  for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
    library_ = LoadLibraryW(name);
    if (library_ != nullptr) {
      break;
    }
  }
  if (library_ == nullptr) {
    return;
  }
  // Copied, not cast: a cast between function types draws a warning.
  const FARPROC found = GetProcAddress(library_, "XInputGetState");
  static_assert(sizeof getState_ == sizeof found);
  std::memcpy(&getState_, &found, sizeof getState_);
}

XInputPad::~XInputPad() {
  if (library_ != nullptr) {
    FreeLibrary(library_);
  }
}

std::optional<std::pair<int, int>> XInputPad::LeftStick() {
  if (getState_ == nullptr) {
    return std::nullopt;
  }
  XINPUT_STATE state{};
  if (pad_ >= 0 && getState_(static_cast<DWORD>(pad_), &state) != ERROR_SUCCESS) {
    pad_ = -1;
  }
  if (pad_ < 0) {
    const ULONGLONG now = GetTickCount64();
    if (lookedAt_ != 0 && now - lookedAt_ < kLookAgainMs) {
      return std::nullopt;
    }
    lookedAt_ = now;
    for (DWORD slot = 0; slot < kSlots && pad_ < 0; ++slot) {
      if (getState_(slot, &state) == ERROR_SUCCESS) {
        pad_ = static_cast<int>(slot);
      }
    }
    if (pad_ < 0) {
      return std::nullopt;
    }
  }
  // XInput's y points up, the kit's (as game controllers report it elsewhere) down.
  return std::pair<int, int>{state.Gamepad.sThumbLX, -1 - state.Gamepad.sThumbLY};
}

}  // namespace sensor_dll
