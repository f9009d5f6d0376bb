// Kernel services: the last error, modules loaded by name, named events, local memory.
#pragma once

#include "windef.h"
#include "winerror.h"

using SIZE_T = std::size_t;
using LPSECURITY_ATTRIBUTES = void*;

DWORD GetLastError();
void SetLastError(DWORD error);

// Modules. A name without an extension gets ".dll", as on Windows; names are compared
// without regard to case and never carry a path.
HMODULE LoadLibraryW(LPCWSTR name);
BOOL FreeLibrary(HMODULE module);
// Windows CE looks entry points up by wide name. An ordinal (a "name" below 0x10000)
// finds nothing here: the handset's modules export by name only.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR name);

// Events and waits.
#define INFINITE 0xFFFFFFFFU
#define WAIT_OBJECT_0 0x00000000U
#define WAIT_TIMEOUT 0x00000102U
#define WAIT_FAILED 0xFFFFFFFFU

#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3

// A name already in use opens the existing event (its state untouched) and sets the
// last error to ERROR_ALREADY_EXISTS; a new event sets it to 0.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL EventModify(HANDLE handle, DWORD action);
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);

inline BOOL SetEvent(HANDLE event) { return EventModify(event, EVENT_SET); }
inline BOOL ResetEvent(HANDLE event) { return EventModify(event, EVENT_RESET); }
inline BOOL PulseEvent(HANDLE event) { return EventModify(event, EVENT_PULSE); }

// Local memory: fixed blocks only, so the handle is the memory itself.
#define LMEM_FIXED 0x0000U
#define LMEM_ZEROINIT 0x0040U
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// Returns null when freed, else `memory` itself.
HLOCAL LocalFree(HLOCAL memory);
