// Stacking order, activation and exposure.
#include "platform/window/window_tree.h"

#include <algorithm>

#include "platform/window/regions.h"

namespace handset {

namespace {
bool IsTopmost(HWND window) {
  const auto found = WindowOf(window);
  return found && (found->exStyle & WS_EX_TOPMOST) != 0;
}
}  // namespace

void BringToTop(HWND window) {
  auto& stack = Windows().stack;
  std::erase(stack, window);
  auto at = stack.begin();
  if (!IsTopmost(window)) {
    at = std::find_if(stack.begin(), stack.end(), [](HWND w) { return !IsTopmost(w); });
  }
  stack.insert(at, window);
}

void Activate(HWND window) {
  WindowState& state = Windows();
  const HWND previous = state.foreground;
  if (previous == window) {
    state.focus = window;
    return;
  }
  state.foreground = window;
  state.focus = window;
  if (const auto old = WindowOf(previous); old && !old->destroying) {
    SendMessageW(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
  }
  if (window != nullptr) {
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
  }
}

HWND NextForeground(HWND leaving) {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (candidate != leaving && window && window->visible && window->enabled && !window->destroying) {
      return candidate;
    }
  }
  return nullptr;
}

void Expose(const RECT& area, HWND above) {
  const auto& stack = Windows().stack;
  auto from = stack.begin();
  if (above != nullptr) {
    from = std::find(stack.begin(), stack.end(), above);
    if (from != stack.end()) {
      ++from;
    }
  }
  for (auto it = from; it != stack.end(); ++it) {
    const auto window = WindowOf(*it);
    if (!window || !window->visible) {
      continue;
    }
    const RECT overlap = IntersectRects(area, window->rect);
    if (!IsEmpty(overlap)) {
      const RECT client = Offset(overlap, -window->rect.left, -window->rect.top);
      InvalidateRect(*it, &client, TRUE);
    }
  }
}

std::vector<RECT> VisibleRegion(const Window& window) {
  std::vector<RECT> region;
  std::vector<RECT> scratch;
  VisibleRegion(window, region, scratch);
  return region;
}

void VisibleRegion(const Window& window, std::vector<RECT>& region, std::vector<RECT>& scratch) {
  const WindowState& state = Windows();
  // Below the taskbar, which the handset draws itself, always on top.
  const RECT screen{0, state.screenSize.BarHeight(), state.screenSize.width, state.screenSize.height};
  region.clear();
  const RECT whole = IntersectRects(window.rect, screen);
  if (IsEmpty(whole)) {
    return;
  }
  region.push_back(whole);
  for (const HWND above : state.stack) {
    if (above == window.handle) {
      break;
    }
    const auto other = WindowOf(above);
    if (other && other->visible) {
      SubtractInto(region, other->rect, scratch);
      region.swap(scratch);
    }
  }
}

std::vector<HWND> OwnedWindows(HWND owner) {
  std::vector<HWND> owned;
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (window && window->owner == owner) {
      owned.push_back(candidate);
    }
  }
  return owned;
}

}  // namespace handset
