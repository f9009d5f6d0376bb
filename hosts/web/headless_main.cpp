// vireta-headless.js: the headless host under node, the same options, script and trace
// as `vireta --headless`, with the vendor libraries built in.
#include <emscripten.h>

#include "game_trace.h"
#include "headless_host.h"
#include "program.h"
#include "vendor_libraries.h"

namespace {

// clang-format off
EM_JS(int, StderrIsTerminal, (), { return process.stderr.isTTY ? 1 : 0; });
// clang-format on

}  // namespace

int main(int argc, char** argv) {
  headless::HeadlessProgram program;
  DescribeVireta(program);
  program.libraries = VendorLibraries();
  program.afterMessage = TraceGameState;
  program.stderrIsTerminal = StderrIsTerminal() != 0;
  return headless::RunHeadless(argc, argv, program);
}
