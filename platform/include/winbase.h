// Kernel services: the last error, modules loaded by name, named events, local memory.
// A call that fails sets the last error; one refused for a malformed argument, or for what
// the handset does not implement, also reports the refusal to the host.
#pragma once

#include "windef.h"
#include "winerror.h"

using SIZE_T = std::size_t;
using LPSECURITY_ATTRIBUTES = void*;

// One last error for the whole handset, not one a thread.
DWORD GetLastError();
void SetLastError(DWORD error);

// Modules. A name without an extension gets ".dll", as on Windows; names are compared
// without regard to case and never carry a path.
// A module loaded again is counted, not loaded twice. Null with ERROR_MOD_NOT_FOUND when
// there is no such module (or the device's options took it away), ERROR_BAD_EXE_FORMAT
// for a file that is no library.
HMODULE LoadLibraryW(LPCWSTR name);
// Unloads at the last reference; FALSE with ERROR_INVALID_HANDLE for no loaded module.
BOOL FreeLibrary(HMODULE module);
// Windows CE looks entry points up by wide name. An ordinal (a "name" below 0x10000)
// finds nothing here: the handset's modules export by name only.
// Null with ERROR_PROC_NOT_FOUND, or ERROR_INVALID_HANDLE when `module` is none.
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
// Sets, resets or pulses; the device's services hear each action on a named event. FALSE
// with ERROR_INVALID_HANDLE for no event, ERROR_INVALID_PARAMETER for another action.
BOOL EventModify(HANDLE handle, DWORD action);
// Events only, in real time, not on the handset's clock; a signal ends one wait of an
// auto-reset event. WAIT_FAILED with ERROR_INVALID_HANDLE for no event.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
// Closes events only (FALSE with ERROR_INVALID_HANDLE for anything else); a name is free
// to make afresh once its last handle is closed.
BOOL CloseHandle(HANDLE object);

inline BOOL SetEvent(HANDLE event) { return EventModify(event, EVENT_SET); }
inline BOOL ResetEvent(HANDLE event) { return EventModify(event, EVENT_RESET); }
inline BOOL PulseEvent(HANDLE event) { return EventModify(event, EVENT_PULSE); }

// Local memory: fixed blocks only, so the handle is the memory itself.
#define LMEM_FIXED 0x0000U
#define LMEM_ZEROINIT 0x0040U
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Null with ERROR_INVALID_PARAMETER for a flag but LMEM_ZEROINIT, ERROR_NOT_ENOUGH_MEMORY
// past 256 MiB or when memory runs out.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
// Returns null when freed, else `memory` itself (with ERROR_INVALID_HANDLE: no block of
// LocalAlloc's).
HLOCAL LocalFree(HLOCAL memory);
