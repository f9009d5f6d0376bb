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

std::string Utf8(const std::wstring& text) {
  if (text.empty()) {
    return {};
  }
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

void Refuse(const std::string& line) {
  const std::string text = line + "\n";
  const HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  if (out == nullptr || out == INVALID_HANDLE_VALUE ||
      WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) == FALSE) {
    // Started from the desktop, with nowhere to write: the line is not lost.
    const int size = MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, line.c_str(), -1, wide.data(), size);
    MessageBoxW(nullptr, wide.c_str(), L"HTCSensorSDK", MB_OK | MB_ICONERROR);
  }
  ExitProcess(2);
}

}  // namespace sensor_dll
