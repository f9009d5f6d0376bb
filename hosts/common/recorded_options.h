// The handset's options a recording was made with, written into its header and taken
// back by a replay: the recording's hold, and a command line may repeat them but not
// contradict them.
#pragma once

#include <string>
#include <vector>

#include "handset_boot.h"
#include "script.h"

namespace kit {

// What a recording's header names of a session booted with `options`: its screen and
// clock always, and every piece of the phone the user took away.
std::vector<std::string> RecordingOptions(const HandsetOptions& options);

// Takes the options `with` names into `options`, the command line's. False with `error`
// when the header is bad or the command line contradicts it; a recording another
// version made sets `warning` and still replays.
bool TakeRecordedOptions(const RecordedWith& with, const std::string& file, const std::string& nameAndVersion,
                         HandsetOptions& options, std::string& error, std::string& warning);

}  // namespace kit
