// Runs a program on the handset in an SDL window, in real time: the desktop's keys,
// clicks and a tilt source play the phone's user.
#pragma once

#include <string>

#include "handset_boot.h"

namespace desktop {

// The --help lines of the desktop host's options, then the program's other hosts' or the
// handset's.
std::string DesktopHelp(const kit::HostProgram& program);

// Exit codes: the program's own, 1 when there is no display, 2 for bad options, a
// session that cannot be joined or a recording that cannot be written.
int RunDesktop(int argc, char** argv, const kit::HostProgram& program);

}  // namespace desktop
