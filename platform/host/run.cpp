// The handset's clock, user, screen and tilt, as a host moves them.
#include <algorithm>

#include "platform/device/device.h"
#include "platform/gdi/png_file.h"
#include "platform/handset/handset.h"
#include "platform/host/clock.h"
#include "platform/host/device.h"
#include "platform/host/input.h"
#include "platform/host/screen.h"
#include "platform/session/session.h"
#include "platform/window/input.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"

namespace handset::host {

DWORD Now() { return Windows().now; }
void SetNow(DWORD now) { Windows().now = now; }
std::optional<DWORD> NextTimerDue() { return handset::NextTimerDue(); }

void PressKey(UINT virtualKey, bool control) { handset::PressKey(virtualKey, control); }
void Tap(POINT at) { handset::Tap(at); }
int AnswerTopmostBox(int button, bool dismiss) {
  return handset::AnswerTopmostBox(dismiss ? BoxAnswer::Dismiss : BoxAnswer::Default, button);
}
bool BoxOpen() { return TopmostBox() != nullptr; }
void EndSession() { handset::EndSession(); }
int ServeSessionRequests() { return handset::ServeSessionRequests(); }

bool IsMainWindowCandidate(HWND window) {
  const auto found = WindowOf(window);
  return found && found->kind == Window::Kind::Program && found->owner == nullptr && (found->style & WS_CHILD) == 0;
}

bool ProgramHasVisibleWindow() {
  const std::vector<HWND>& stack = Windows().stack;
  return std::any_of(stack.begin(), stack.end(), [](HWND window) {
    const auto found = WindowOf(window);
    return found && found->kind == Window::Kind::Program && found->visible;
  });
}

std::optional<ScreenPixels> Screen() {
  const std::shared_ptr<Bitmap>& screen = Windows().screen;
  if (!screen) {
    return std::nullopt;
  }
  // Rows lie one after another, one pixel per column.
  return ScreenPixels{screen->Width(), screen->Height(), static_cast<std::size_t>(screen->Width()), screen->Row(0)};
}

bool WriteScreenPng(const std::filesystem::path& file, std::string& error) {
  const std::shared_ptr<Bitmap>& screen = Windows().screen;
  if (!screen) {
    error = "the handset has no screen yet";
    return false;
  }
  if (TheHandset().pixelsSkipped) {
    error = "the screen is not drawn in this run";
    return false;
  }
  return WritePng(*screen, file, error);
}

void DrawPixels(bool draw) {
  Handset& handset = TheHandset();
  handset.drawPixels = draw;
  handset.pixelsSkipped = handset.pixelsSkipped || !draw;
}

void SetTilt(Tilt tilt) { handset::SetTilt({tilt.pitch, tilt.roll}); }
Tilt CurrentTilt() {
  const TiltAngles tilt = handset::CurrentTilt();
  return {tilt.pitch, tilt.roll};
}

}  // namespace handset::host
