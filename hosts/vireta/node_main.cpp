// vireta-headless.js: the game on the headless host under node, with the same options,
// script and trace as `vireta --headless`, and the vendor libraries built in.
#include <emscripten.h>

#include <algorithm>
#include <iostream>
#include <string_view>

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
  // Node runs one process with no others to find, and no locks between copies.
  if (std::any_of(argv + 1, argv + argc, [](const char* arg) { return std::string_view(arg) == "--session"; })) {
    std::cerr << "--session is not available under node: it has no other processes to find\n";
    return 2;
  }
  headless::HeadlessProgram program;
  DescribeVireta(program);
  program.libraries = VendorLibraries();
  program.afterMessage = TraceGameState;
  program.stderrIsTerminal = StderrIsTerminal() != 0;
  return headless::RunHeadless(argc, argv, program);
}
