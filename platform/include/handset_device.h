// What the handset's hardware offers the vendor libraries that drive it. A library that
// exports HANDSET_ATTACH_ENTRY is handed this table when it is loaded, before any of its
// entry points can be looked up. Plain C types: the libraries are separate objects.
#pragma once

#include <cstdint>

extern "C" {

enum HandsetArgKind : std::uint32_t {
  HANDSET_ARG_NUMBER = 0,  // an integer argument
  HANDSET_ARG_WINDOW = 1,  // a window handle
  HANDSET_ARG_HANDLE = 2,  // another handle or address, opaque
};

struct HandsetCallArg {
  std::uint32_t kind;  // HandsetArgKind
  std::int64_t value;
};

struct HandsetDevice {
  std::uint32_t size;  // sizeof(HandsetDevice): later fields exist only when it covers them
  // The phone's tilt now, in unsigned degrees: pitch (top edge toward or away from the
  // user) and roll (turned to its left or right).
  void (*readTilt)(std::uint32_t* pitchAngle, std::uint32_t* rollAngle);
  // Milliseconds since the handset booted, on its clock.
  std::uint32_t (*now)();
  // Tells the handset of a call the library received, for its trace.
  void (*reportCall)(const char* function, const HandsetCallArg* args, std::uint32_t count);
};

// Called at each load of the library, before any of its entry points can be found; the
// table outlives the library.
using HandsetAttachProc = void (*)(const HandsetDevice* device);
}

#define HANDSET_ATTACH_ENTRY "HandsetAttachDevice"

// The way the screen stands for a roll angle: 0 portrait, 1 landscape turned to the
// left, 2 landscape turned to the right (from 60 degrees either way).
inline std::uint32_t HandsetOrientationOf(std::uint32_t rollAngle) {
  const std::uint32_t turned = rollAngle % 360U;
  const std::int32_t angle =
      turned > 180U ? static_cast<std::int32_t>(turned) - 360 : static_cast<std::int32_t>(turned);
  if (angle <= -60) {
    return 1;
  }
  return angle >= 60 ? 2U : 0U;
}
