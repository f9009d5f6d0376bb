// vireta-bench.js: the page's build with the headless host inside, on the page's file
// system, for measuring the page's WebAssembly on the very frames the native host draws.
#include <emscripten.h>

#include <string>
#include <vector>

#include "game_trace.h"
#include "headless_host.h"
#include "page_options.h"
#include "program.h"
#include "vendor_libraries.h"

// Arguments one a line, as for the headless host; its exit code.
extern "C" EMSCRIPTEN_KEEPALIVE int vireta_headless(const char* arguments) {
  headless::HeadlessProgram program;
  DescribeVireta(program);
  program.libraries = VendorLibraries();
  program.afterMessage = TraceGameState;
  std::vector<std::string> args = web::OptionLines(arguments);
  args.insert(args.begin(), "vireta");
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  return headless::RunHeadless(static_cast<int>(argv.size()), argv.data(), program);
}
