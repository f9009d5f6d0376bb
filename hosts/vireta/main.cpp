// vireta: the game on the handset, in a desktop window or, with --headless, driven by a
// script on a virtual clock.
#include <algorithm>
#include <string_view>

#include "desktop_host.h"
#include "game_trace.h"
#include "headless_host.h"
#include "program.h"

int main(int argc, char** argv) {
  const bool headless =
      std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string_view(a) == "--headless"; });
  if (headless) {
    headless::HeadlessProgram program;
    DescribeVireta(program);
    program.afterMessage = TraceGameState;
    return headless::RunHeadless(argc, argv, program);
  }
  kit::HostProgram program;
  DescribeVireta(program);
  program.otherHostsHelp = headless::HeadlessOptionsHelp(program.smallestBand);
  return desktop::RunDesktop(argc, argv, program);
}
