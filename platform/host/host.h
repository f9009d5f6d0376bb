// The handset as a host sees it: boot it, install the hooks its loops call, move its
// clock, play its user, and read its screen and device. A host includes this (or one of
// the headers it gathers) and <windows.h> for the program's own types, nothing else.
#pragma once

#include "host/boot.h"
#include "host/clock.h"
#include "host/device.h"
#include "host/hooks.h"
#include "host/input.h"
#include "host/screen.h"
#include "host/text.h"
