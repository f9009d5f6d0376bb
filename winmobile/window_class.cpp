#include "window_class.h"

namespace winmobile {

bool RegisterLayerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  if (GetClassInfoW(instance, name, &windowClass) != FALSE) {
    return true;
  }
  // The look-up's "no such class" is no error of the caller's next call.
  SetLastError(ERROR_SUCCESS);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.lpszClassName = name;
  return RegisterClassW(&windowClass) != 0;
}

}  // namespace winmobile
