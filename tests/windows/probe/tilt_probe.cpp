// Reads the sensor DLL beside it as the game would, from a window of its own, for the
// Wine tests: one line per read every 50 ms, "<ms> <steer> <throttle> <front>", where
// front is 1 while the probe's window has the foreground. With "window" it only shows a
// window, for another process to take the foreground.
// usage: tilt_probe.exe read|window SECONDS
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

#include "vendor/htc_sensor/htc_sensor_sdk.h"

namespace {

constexpr DWORD kReadEveryMs = 50;

void Write(DWORD stream, const std::string& line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int Fail(const std::string& line) {
  Write(STD_ERROR_HANDLE, "tilt_probe: " + line + "\n");
  return 1;
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

HWND ShowProbeWindow(HINSTANCE instance, const wchar_t* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"TILT_PROBE";
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, L"TILT_PROBE", title, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                      instance, nullptr);
  if (window != nullptr) {
    SetForegroundWindow(window);
  }
  return window;
}

using Open = HANDLE (*)(DWORD);
using Read = DWORD (*)(HANDLE, void*);

// By way of void(*)(), the one cast between function types that says nothing of them.
template <typename Function>
Function Entry(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 3 ? argv[1] : L"";
  const long seconds = argc == 3 ? std::wcstol(argv[2], nullptr, 10) : 0;
  if ((mode != L"read" && mode != L"window") || seconds <= 0) {
    return Fail("usage: tilt_probe.exe read|window SECONDS");
  }
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HWND window = ShowProbeWindow(instance, mode == L"read" ? L"Tilt probe" : L"Other window");
  if (window == nullptr) {
    return Fail("no window");
  }
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG end = start + static_cast<ULONGLONG>(seconds) * 1000;
  if (mode == L"window") {
    while (GetTickCount64() < end) {
      Pump();
      Sleep(kReadEveryMs);
    }
    return 0;
  }
  const HMODULE sensor = LoadLibraryW(L"HTCSensorSDK.dll");
  const auto open = sensor != nullptr ? Entry<Open>(sensor, "HTCSensorOpen") : nullptr;
  const auto read = sensor != nullptr ? Entry<Read>(sensor, "HTCSensorGetDataOutput") : nullptr;
  const HANDLE handle = open != nullptr && read != nullptr ? open(1) : nullptr;
  if (handle == nullptr) {
    return Fail("HTCSensorSDK.dll cannot be loaded or opened");
  }
  while (GetTickCount64() < end) {
    Pump();
    SensorRecord record{};
    if (read(handle, &record) != 1) {
      return Fail("a read failed");
    }
    const int front = GetForegroundWindow() == window ? 1 : 0;
    Write(STD_OUTPUT_HANDLE, std::to_string(GetTickCount64() - start) + " " +
                                 std::to_string(static_cast<std::int32_t>(record.steerAngle)) + " " +
                                 std::to_string(static_cast<std::int32_t>(record.throttleAngle)) + " " +
                                 std::to_string(front) + "\n");
    Sleep(kReadEveryMs);
  }
  return 0;
}
