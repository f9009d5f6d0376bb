// The window system's record, made on first use.
#include "platform/window/window_state.h"

#include "platform/handset/handset.h"

namespace handset {

namespace {
std::shared_ptr<WindowState> Fresh(const ScreenSize& size) {
  auto state = std::make_shared<WindowState>();
  state->screenSize = size;
  state->screen = std::make_shared<Bitmap>(
      size.width, size.height,
      std::vector<std::uint32_t>(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height), 0U));
  return state;
}
}  // namespace

WindowState& Windows() {
  Handset& handset = TheHandset();
  if (!handset.window) {
    handset.window = Fresh(ScreenSize{});
  }
  return *handset.window;
}

void BootScreen(const ScreenSize& size) {
  TheHandset().dpi = size.dpi;
  TheHandset().window = Fresh(size);
}

std::shared_ptr<Window> WindowOf(HWND window) { return TheHandset().objects.Find<Window>(window); }

std::optional<DWORD> NextTimerDue() {
  std::optional<DWORD> next;
  const DWORD now = Windows().now;
  for (const Timer& timer : Windows().timers) {
    if (!next || TicksUntil(timer.due, now) < TicksUntil(*next, now)) {
      next = timer.due;
    }
  }
  return next;
}

}  // namespace handset
