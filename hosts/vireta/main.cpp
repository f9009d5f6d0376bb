// vireta: the game on the handset, in a desktop window or, with --headless, driven by a
// script on a virtual clock.
#include <windows.h>

#include <algorithm>
#include <string_view>

#include "desktop_host.h"
#include "game_trace.h"
#include "headless_host.h"
#include "platform/resources/embedded_resources.h"
#include "shell/shell.h"

namespace {

void Describe(hostboot::HostProgram& program) {
  program.name = u"vireta";
  program.title = "Vireta";
  program.resources = EmbeddedResources();
  program.winMain = WinMain;
  // The game's 200-pixel display band with at least one 40-pixel road segment above it.
  program.smallestBand = 200 + 40;
}

}  // namespace

int main(int argc, char** argv) {
  const bool headless =
      std::any_of(argv + 1, argv + argc, [](const char* a) { return std::string_view(a) == "--headless"; });
  if (headless) {
    headless::HeadlessProgram program;
    Describe(program);
    program.afterMessage = TraceGameState;
    return headless::RunHeadless(argc, argv, program);
  }
  hostboot::HostProgram program;
  Describe(program);
  return desktop::RunDesktop(argc, argv, program);
}
