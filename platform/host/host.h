// The handset as a host sees it: boot it, install the hooks its loops call, move its
// clock, play its user, and read its screen and device. A host includes this (or one of
// the headers it gathers) and <windows.h> for the program's own types, nothing else.
#pragma once

#include "platform/host/boot.h"
#include "platform/host/clock.h"
#include "platform/host/device.h"
#include "platform/host/hooks.h"
#include "platform/host/input.h"
#include "platform/host/screen.h"
#include "platform/host/text.h"
