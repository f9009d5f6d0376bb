// Takes this process's session files along when a signal ends it: the handler only
// unlinks through the saved folder descriptor, then dies of the signal as it would have.
#pragma once

#include <sys/types.h>

namespace handset {

// From now on SIGTERM, SIGINT and SIGHUP remove pid's files from `folder` (and the
// folder from `root` when it is then empty). Signals the host already handles keep
// their handler: such a host ends in order and the session's destructor does the work.
void CleanUpOnSignals(int root, int folder, const char* folderName, pid_t pid);
// The descriptors are about to close: a later signal removes nothing.
void StopCleaningUp();

}  // namespace handset
