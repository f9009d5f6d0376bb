// The handset's Win32 surface: the one header game code includes. It pulls in the
// areas the game calls, each kept in a header of its own.
#pragma once

#include "winbase.h"
#include "windef.h"
#include "winerror.h"
#include "wingdi.h"
#include "winreg.h"
#include "winresource.h"
#include "winuser.h"
