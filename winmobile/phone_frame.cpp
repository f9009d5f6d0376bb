// The frame's share of the phone window's messages, taken by subclassing: the program's
// own procedure still sees every message.
#include "phone_frame.h"

#include <commctrl.h>

#include <algorithm>

#include "gdi_handles.h"
#include "shell_look.h"
#include "window_placement.h"
#include "window_records.h"

namespace winmobile {

namespace {

constexpr UINT_PTR kSubclassId = 0x57'4D'46;  // any number of ours

struct Frame {
  bool placeOnCreate = false;
  bool destroying = false;
  int strip = 0;
  HWND bar = nullptr;
  HWND captionButton = nullptr;
};

WindowRecords<Frame>& Frames() {
  static WindowRecords<Frame> frames;
  return frames;
}

RECT ClientOnDesktop(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

void PlacePopups(HWND window, const Frame& frame) {
  const RECT client = ClientOnDesktop(window);
  constexpr UINT kJustMove = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (IsWindow(frame.bar) != FALSE) {
    SetWindowPos(frame.bar, nullptr, client.left, client.bottom, client.right - client.left, frame.strip, kJustMove);
  }
  if (IsWindow(frame.captionButton) != FALSE) {
    // In the title band, between the frame's border and the client area, at its right.
    RECT outer{};
    GetWindowRect(window, &outer);
    const LONG border = client.left - outer.left;
    const LONG top = outer.top + border + 1;
    const LONG bottom = std::max(top + 1, client.top - 1);
    RECT own{};
    GetWindowRect(frame.captionButton, &own);
    const LONG width = own.right - own.left;
    SetWindowPos(frame.captionButton, nullptr, client.right - 1 - width, top, width, bottom - top, kJustMove);
  }
}

// The strip shows the bar's colour until the bar itself is drawn over it.
void PaintStrip(HWND window, const Frame& frame) {
  HDC dc = GetWindowDC(window);
  if (dc == nullptr) {
    return;
  }
  RECT outer{};
  GetWindowRect(window, &outer);
  RECT strip = ClientOnDesktop(window);
  strip.top = strip.bottom;
  strip.bottom += frame.strip;
  OffsetRect(&strip, -outer.left, -outer.top);
  const UniqueBrush brush(CreateSolidBrush(look::kBar));
  FillRect(dc, &strip, brush.get());
  ReleaseDC(window, dc);
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                DWORD_PTR /*data*/) {
  const auto frame = Frames().Find(window);
  if (!frame) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_CREATE:
      if (frame->placeOnCreate) {
        // Before the program's WM_CREATE, which hangs the bar under the window.
        TakeDesktopFrame(window);
        FitPhoneArea(window, DefaultPhoneArea());
      }
      break;
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      RECT& client =
          wParam != FALSE ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
      client.bottom = std::max(client.top, client.bottom - frame->strip);
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (frame->strip > 0) {
        PaintStrip(window, *frame);
      }
      return result;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (!frame->destroying) {
        PlacePopups(window, *frame);
        // A frame resized without a repaint (MoveWindow(..., FALSE), as programs shrinking
        // themselves do) still needs its new edges drawn where the desktop draws frames
        // itself, as Wine does.
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOSIZE) == 0) {
          RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
      }
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      // The soft keys: the program's window never handles them, the bar does.
      if ((wParam == VK_F1 || wParam == VK_F2) && IsWindow(frame->bar) != FALSE) {
        if (message == WM_KEYDOWN) {
          SendMessageW(frame->bar, message, wParam, lParam);
        }
        return 0;
      }
      break;
    case WM_DESTROY:
      frame->destroying = true;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, FrameProcedure, kSubclassId);
      Frames().Remove(window);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

std::shared_ptr<Frame> FrameOf(HWND window) {
  if (auto frame = Frames().Find(window)) {
    return frame;
  }
  if (SetWindowSubclass(window, FrameProcedure, kSubclassId, 0) == FALSE) {
    return nullptr;
  }
  return Frames().Add(window);
}

// Recomputes the client area with the strip as it now is, leaving the frame in place.
void Reframe(HWND window, int outerGrowth) {
  RECT outer{};
  GetWindowRect(window, &outer);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + outerGrowth,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

void BecomePhoneWindow(HWND window) {
  if (const auto frame = FrameOf(window)) {
    frame->placeOnCreate = true;
  }
}

void AttachBar(HWND frameWindow, HWND bar, int height) {
  const auto frame = FrameOf(frameWindow);
  if (!frame) {
    return;
  }
  const int growth = height - frame->strip;
  frame->bar = bar;
  frame->strip = height;
  Reframe(frameWindow, growth);
  PlacePopups(frameWindow, *frame);
}

void DetachBar(HWND frameWindow, HWND bar) {
  const auto frame = Frames().Find(frameWindow);
  if (!frame || frame->bar != bar) {
    return;
  }
  frame->bar = nullptr;
  frame->strip = 0;
  if (!frame->destroying) {
    Reframe(frameWindow, 0);
  }
}

void AttachCaptionButton(HWND frameWindow, HWND button) {
  if (const auto frame = FrameOf(frameWindow)) {
    frame->captionButton = button;
    PlacePopups(frameWindow, *frame);
  }
}

bool IsPhoneWindow(HWND window) {
  const auto frame = Frames().Find(window);
  return frame && frame->placeOnCreate;
}

RECT PhoneAreaOf(HWND window) {
  RECT area = ClientOnDesktop(window);
  if (const auto frame = Frames().Find(window)) {
    area.bottom += frame->strip;
  }
  return area;
}

void FitPhoneArea(HWND window, const RECT& area) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const RECT now = PhoneAreaOf(window);
  // The frame's own margins around what it shows, as they are.
  SetWindowPos(window, nullptr, area.left - (now.left - outer.left), area.top - (now.top - outer.top),
               (area.right - area.left) + (now.left - outer.left) + (outer.right - now.right),
               (area.bottom - area.top) + (now.top - outer.top) + (outer.bottom - now.bottom),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace winmobile
