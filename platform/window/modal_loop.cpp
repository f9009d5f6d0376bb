// The modal loop: a box's own message pump, which ends when the box is answered.
#include "platform/window/modal_loop.h"

namespace handset {

void EndBox(Window& box, INT_PTR result) {
  box.ended = true;
  box.result = result;
  // Wakes a loop that waits for input, so the box goes at once.
  PostMessageW(box.handle, WM_NULL, 0, 0);
}

INT_PTR RunModalLoop(HWND box) {
  for (;;) {
    const auto window = WindowOf(box);
    if (!window) {
      return 0;
    }
    if (window->ended) {
      return window->result;
    }
    MSG message{};
    if (!GetMessageW(&message, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return window->result;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace handset
