// Watching a recording in the desktop window: the headless replay's very steps, with the
// handset's clock held to the real one, so what the window shows is the drive as it was.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop_options.h"
#include "handset_boot.h"
#include "script.h"

namespace desktop {

// Plays `commands` (the recording options->replay names) on the booted handset at
// options.speed; Space pauses, Escape, Ctrl+Q or closing the window stops. Prints the
// laps at the end; returns the program's exit code, 3 when it would not end.
int WatchReplay(const DesktopOptions& options, std::vector<kit::Command> commands, HINSTANCE instance,
                const kit::HostProgram& program);

}  // namespace desktop
