#include "refusal.h"

#include "console.h"

#include <cwchar>
#include <iterator>

namespace winmobile {

BOOL Refuse(const wchar_t* function, const std::wstring& reason, DWORD error) {
  const std::wstring line = std::wstring(function) + L": " + reason;
  OutputDebugStringW((line + L"\n").c_str());
  (void)WriteLine(STD_ERROR_HANDLE, line);  // a program with no console has the debugger's copy
  // Last, as writing may set an error of its own.
  SetLastError(error);
  return FALSE;
}

BOOL RefuseFailed(const wchar_t* function, const std::wstring& reason) {
  const DWORD error = GetLastError();
  return Refuse(function, reason + L" (error " + std::to_wstring(error) + L")", error);
}

std::wstring Hex(DWORD value) {
  wchar_t text[16] = {};
  // Sixteen characters hold any DWORD in hex: the count it returns tells nothing more.
  (void)swprintf(text, std::size(text), L"0x%lX", static_cast<unsigned long>(value));
  return text;
}

}  // namespace winmobile
