#include "program.h"

#include "lap_watch.h"
#include "platform/resources/embedded_resources.h"
#include "shell/shell.h"

void DescribeVireta(kit::HostProgram& program) {
  program.name = u"vireta";
  program.title = "Vireta";
  program.version = VIRETA_VERSION;
  program.resources = EmbeddedResources();
  program.winMain = WinMain;
  // The game's 200-pixel display band with at least one 40-pixel road segment above it.
  program.smallestBand = 200 + 40;
  // The throttle angle at which the car neither speeds up nor slows down.
  program.levelPitch = 44.0;
  program.lapWatch = WatchViretaLaps();
}
