// Kernel services: the last error, modules loaded by name, named events, local memory.
#pragma once

#include "windef.h"
#include "winerror.h"

DWORD GetLastError();
void SetLastError(DWORD error);
