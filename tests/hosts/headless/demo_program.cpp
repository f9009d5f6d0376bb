// The tests' little program on the headless host, with a trace event of its own a tick.
#include <windows.h>

#include "headless_host.h"
#include "support/demo_window.h"

int main(int argc, char** argv) {
  headless::HeadlessProgram program;
  program.name = u"demo";
  program.winMain = testsupport::DemoMain;
  program.smallestBand = 200;
  program.afterMessage = [](const headless::HandledMessage& handled, kit::TraceWriter& trace) {
    if (handled.message.message == WM_TIMER && !handled.sent) {
      trace.Begin("tick")
          .Field("ms", static_cast<std::int64_t>(headless::Ms()))
          .Field("n", std::int64_t{testsupport::TheDemo().ticks})
          .End();
    }
  };
  return headless::RunHeadless(argc, argv, program);
}
