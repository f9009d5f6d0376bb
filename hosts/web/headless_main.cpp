// vireta-headless.js: the headless host under node, the same options, script and trace
// as `vireta --headless`, with the vendor libraries built in.
#include "game_trace.h"
#include "headless_host.h"
#include "program.h"
#include "vendor_libraries.h"

int main(int argc, char** argv) {
  headless::HeadlessProgram program;
  DescribeVireta(program);
  program.libraries = VendorLibraries();
  program.afterMessage = TraceGameState;
  return headless::RunHeadless(argc, argv, program);
}
