// The page's host, as a program's entry points in a page call it.
#pragma once

#include "handset_boot.h"

namespace web {

// Runs `program` once on a fresh handset with the options from the page's address, one
// a line; the exit code is the program's, 2 for bad options. With --record the page
// then finds the session's input as a script in Module.page.recording.
int RunPage(const char* arguments, const kit::HostProgram& program);

// The page's memory as the browser holds it, and the part of its heap in use.
double PageMemoryBytes();
double PageHeapInUse();

}  // namespace web
