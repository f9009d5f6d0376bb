// Start-up, the message loop and the release at the end.
#include "render/surfaces.h"
#include "resource_ids.h"
#include "sensor/nav_control.h"
#include "sensor/service_client.h"
#include "sensor/tilt_sensor.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace {
constexpr int TEXT_CHARS = 100;
}  // namespace

ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  windowClass.hCursor = nullptr;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = className;
  return RegisterClassW(&windowClass);
}

BOOL StartInstance(HINSTANCE instance, int showCommand) {
  WCHAR title[TEXT_CHARS] = {};
  WCHAR className[TEXT_CHARS] = {};
  shell.appInstance = instance;
  SHInitExtraControls();
  LoadStringW(instance, IDS_APP_TITLE, title, TEXT_CHARS);
  LoadStringW(instance, IDS_APP_CLASS, className, TEXT_CHARS);

  if (HWND running = FindWindowW(className, title)) {
    // The low bit brings the running copy's own boxes forward with it.
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(running) | 1U));
    return FALSE;
  }
  if (RegisterMainClass(instance, className) == 0) {
    return FALSE;
  }
  HWND window = CreateWindowExW(0, className, title, WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    return FALSE;
  }
  if (StartSensorService(window) == 0) {
    MessageBoxW(nullptr, TEXT("Unable to load Sensor DLL"), TEXT("Error06"), MB_OK | MB_TOPMOST);
    return FALSE;
  }
  if (shell.menuBar != nullptr) {
    RECT windowRect{};
    RECT barRect{};
    GetWindowRect(window, &windowRect);
    GetWindowRect(shell.menuBar, &barRect);
    const LONG bottom = windowRect.bottom - (barRect.bottom - barRect.top);
    MoveWindow(window, windowRect.left, windowRect.top, windowRect.right - windowRect.left, bottom - windowRect.top,
               FALSE);
  }
  OpenNavControl(window);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPWSTR /*commandLine*/, int showCommand) {
  if (!StartInstance(instance, showCommand)) {
    return 0;
  }
  HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_SHORTCUTS));
  if (OpenTiltSensor() == 0) {
    MessageBoxW(nullptr, TEXT("Unable to load Sensor DLL"), TEXT("Error01"), MB_OK | MB_TOPMOST);
    return 0;
  }
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0)) {
    if (TranslateAcceleratorW(message.hwnd, accelerators, &message) == 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DeleteDC(surfaces.FrameSurface);
  DeleteDC(surfaces.BackgroundSurface);
  DeleteDC(surfaces.CarSheet);
  DeleteDC(surfaces.MarkerSprite);
  DeleteDC(surfaces.DialImage);
  CloseTiltSensor();
  StopSensorService();
  return static_cast<int>(message.wParam);
}
