#include "refusal.h"

#include <cwchar>
#include <iterator>

namespace winmobile {

BOOL Refuse(const wchar_t* function, const std::wstring& reason, DWORD error) {
  const std::wstring line = std::wstring(function) + L": " + reason + L"\n";
  OutputDebugStringW(line.c_str());
  const HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
  // Last, as writing may set an error of its own.
  SetLastError(error);
  return FALSE;
}

std::wstring Hex(DWORD value) {
  wchar_t text[16] = {};
  // Sixteen characters hold any DWORD in hex: the count it returns tells nothing more.
  (void)swprintf(text, std::size(text), L"0x%lX", static_cast<unsigned long>(value));
  return text;
}

}  // namespace winmobile
