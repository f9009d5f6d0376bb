// Window classes, by name without regard to case.
#include <winbase.h>
#include <winuser.h>

#include "platform/handset/refuse.h"
#include "platform/window/window_names.h"
#include "platform/window/window_state.h"

ATOM RegisterClassW(const WNDCLASSW* windowClass) {
  if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
      windowClass->lpszClassName[0] == 0) {
    handset::Refuse("RegisterClassW", "no class, procedure or name", ERROR_INVALID_PARAMETER);
    return 0;
  }
  handset::WindowState& state = handset::Windows();
  const std::u16string key = handset::FoldCase(windowClass->lpszClassName);
  if (state.classes.contains(key)) {
    handset::Refuse("RegisterClassW", "the class is registered already", ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto entry = std::make_shared<handset::WindowClass>();
  entry->name = windowClass->lpszClassName;
  entry->procedure = windowClass->lpfnWndProc;
  entry->instance = windowClass->hInstance;
  entry->icon = windowClass->hIcon;
  entry->background = windowClass->hbrBackground;
  entry->style = windowClass->style;
  entry->atom = state.nextAtom++;
  state.classes.emplace(key, entry);
  return entry->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE /*instance*/) {
  handset::WindowState& state = handset::Windows();
  if (className == nullptr || state.classes.erase(handset::FoldCase(className)) == 0) {
    handset::Refuse("UnregisterClassW", "no such window class", ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  return TRUE;
}
