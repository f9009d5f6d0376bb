// Watching a drive in the page: a recording played on the handset with the very steps
// the headless host takes, at the pace of the page's clock, its screen on the canvas.
// The laps the page is told are the ones this replay closes, whatever the drive's
// comments claim.
#pragma once

#include <string_view>

#include "handset_boot.h"
#include "page_options.h"

namespace web {

// Plays `drive`, a script's text, on a handset booted with `options` and those the
// drive's header names. The exit code is the program's; 2 for a drive refused, with the
// reason told to the page in one line; 3 for a program that would not end.
int WatchDrive(PageOptions options, std::string_view drive, const kit::HostProgram& program);

}  // namespace web
