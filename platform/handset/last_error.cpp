// The calling thread's last error, as Win32 keeps it; the handset has one thread.
#include <windows.h>

#include "platform/handset/handset.h"

DWORD GetLastError() { return handset::TheHandset().lastError; }

void SetLastError(DWORD error) { handset::TheHandset().lastError = error; }
