// vireta.js: the game in a page. The page's script calls vireta_run with the options
// from its address, one a line, and awaits its exit code.
#include <emscripten.h>

#include "page_host.h"
#include "program.h"
#include "vendor_libraries.h"

extern "C" EMSCRIPTEN_KEEPALIVE int vireta_run(const char* arguments) {
  kit::HostProgram program;
  DescribeVireta(program);
  program.libraries = VendorLibraries();
  return web::RunPage(arguments, program);
}

// For watching a long session.
extern "C" EMSCRIPTEN_KEEPALIVE double vireta_memory_bytes() { return web::PageMemoryBytes(); }
extern "C" EMSCRIPTEN_KEEPALIVE double vireta_heap_in_use() { return web::PageHeapInUse(); }
