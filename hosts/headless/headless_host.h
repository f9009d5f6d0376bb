// Runs a program on the handset without a display: a script plays the user on a
// virtual clock, a trace records what happened, `shot` saves the screen as PNG.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "handset_boot.h"
#include "trace_writer.h"

namespace headless {

// A message a window procedure has just handled.
struct HandledMessage {
  const MSG& message;
  bool sent;    // through SendMessageW rather than the queue
  bool toMain;  // to the program's main window: its first top-level one
};

struct HeadlessProgram : kit::HostProgram {
  // After each handled message, so the program can add its own events; the host knows
  // nothing of them.
  std::function<void(const HandledMessage&, kit::TraceWriter&)> afterMessage;
  // Whether stderr is a terminal, where the system cannot tell (WebAssembly under node);
  // none: ask the system. Only a terminal sees the progress of a long run.
  std::optional<bool> stderrIsTerminal;
};

// The virtual clock's time, for the `ms` of events.
DWORD Ms();

// The --help lines of the host's and the handset's options, for a program of
// `smallestBand` (see HostProgram).
std::string HeadlessOptionsHelp(int smallestBand);

// Exit codes: the program's own, 2 for bad options, a bad script or a failed write,
// 3 when the program would not end at the end of the session.
int RunHeadless(int argc, char** argv, const HeadlessProgram& program);

}  // namespace headless
