// The core library's calls that desktop Windows spells differently.
#include <windows.h>

#include <string>

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
  if (name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Exported names are ASCII: anything else cannot name an entry point, and narrowing it
  // could make it name another one.
  std::string narrow;
  for (const wchar_t* c = name; *c != L'\0'; ++c) {
    if (*c > 0x7F) {
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
    narrow.push_back(static_cast<char>(*c));
  }
  return GetProcAddress(module, narrow.c_str());
}

BOOL EventModify(HANDLE event, DWORD action) {
  switch (action) {
    case EVENT_SET:
      return SetEvent(event);
    case EVENT_RESET:
      return ResetEvent(event);
    case EVENT_PULSE:
      return PulseEvent(event);
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}
