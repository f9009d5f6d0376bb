// The handset's registry: keys under the predefined roots, values by name, in memory for
// the run. Names are compared without regard to case. Each call returns ERROR_SUCCESS or
// its error, as its result only: the last error is left alone.
#pragma once

#include "winbase.h"
#include "windef.h"

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000U)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001U)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002U)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000003U)))

#define REG_NONE 0U
#define REG_SZ 1U
#define REG_BINARY 3U
#define REG_DWORD 4U

#define KEY_QUERY_VALUE 0x0001U
#define KEY_SET_VALUE 0x0002U
#define KEY_NOTIFY 0x0010U
#define KEY_ALL_ACCESS 0xF003FU

using REGSAM = DWORD;
using PHKEY = HKEY*;

// ERROR_FILE_NOT_FOUND for a key not made yet, ERROR_INVALID_HANDLE for a `root` that is no
// key; `options` and `access` are not checked.
LONG RegOpenKeyExW(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Makes the missing parents too; `*disposition` gets 1 for a key made, 2 for one opened.
LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
// With `data` null, only the type and the size are returned. ERROR_MORE_DATA, with the size
// needed in `*size`, for a short buffer; ERROR_FILE_NOT_FOUND for no such value.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
// The windows registered for the value are told only when its type or content changes.
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG RegCloseKey(HKEY key);
