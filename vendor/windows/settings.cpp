#include "settings.h"

#include <windows.h>

namespace sensor_dll {

std::wstring Setting(const wchar_t* name) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD size = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (size == 0) {
      return {};
    }
    if (size < value.size()) {
      value.resize(size);
      return value;
    }
    value.resize(size);
  }
}

void Refuse(const std::string& line) {
  winmobile::Tell(STD_ERROR_HANDLE, winmobile::Wide(line), L"HTCSensorSDK", MB_ICONERROR);
  ExitProcess(2);
}

}  // namespace sensor_dll
