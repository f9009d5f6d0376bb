// The thread's message queue: posted messages first, then the quit request, then
// paints, then timers, as Windows orders them; the host's idle hook when none is ready.
#include <winbase.h>
#include <winuser.h>

#include <algorithm>

#include "platform/handset/handset.h"
#include "platform/handset/refuse.h"
#include "platform/window/message_boxes.h"
#include "platform/window/window_state.h"

using handset::WindowOf;
using handset::Windows;

namespace {

bool Wanted(const MSG& message, HWND window, UINT first, UINT last) {
  if (window != nullptr && message.hwnd != window) {
    return false;
  }
  return (first == 0 && last == 0) || (message.message >= first && message.message <= last);
}

void NoteKeys(const MSG& message) {
  if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) {
    Windows().keysDown[message.wParam & 0xFFU] = message.message == WM_KEYDOWN;
  }
}

// A window with something to repaint, topmost first.
HWND WindowToPaint(HWND only) {
  for (const HWND candidate : Windows().stack) {
    const auto window = WindowOf(candidate);
    if (window && window->visible && window->invalid && !window->painting && (only == nullptr || only == candidate)) {
      return candidate;
    }
  }
  return nullptr;
}

handset::Timer* DueTimer(HWND only) {
  handset::WindowState& state = Windows();
  handset::Timer* due = nullptr;
  for (handset::Timer& timer : state.timers) {
    if (handset::TicksUntil(timer.due, state.now) <= 0 && (only == nullptr || timer.window == only) &&
        (due == nullptr || handset::TicksUntil(timer.due, due->due) < 0)) {
      due = &timer;
    }
  }
  return due;
}

// Without a host: let time run to the next timer; with none, end the session.
bool DefaultIdle() {
  handset::WindowState& state = Windows();
  if (const auto next = handset::NextTimerDue(); next && state.sessionEnds == 0) {
    if (handset::TicksUntil(*next, state.now) > 0) {
      state.now = *next;
    }
    return true;
  }
  handset::EndSession();
  return true;
}

}  // namespace

namespace handset {

void EndSession() {
  WindowState& state = Windows();
  if (AnswerTopmostBox(BoxAnswer::Dismiss) != 0) {
    return;
  }
  if (state.sessionEnds++ == 0) {
    std::vector<HWND> windows = state.stack;
    for (const HWND window : windows) {
      if (const auto found = WindowOf(window); found && found->owner == nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
    return;
  }
  // The program ignored the close: the system ends it.
  PostQuitMessage(0);
}

}  // namespace handset

BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last) {
  if (message == nullptr) {
    handset::Refuse("GetMessageW", "no MSG", ERROR_INVALID_PARAMETER);
    return -1;
  }
  handset::WindowState& state = Windows();
  for (;;) {
    const auto posted = std::find_if(state.posted.begin(), state.posted.end(),
                                     [&](const MSG& m) { return Wanted(m, window, first, last); });
    if (posted != state.posted.end()) {
      *message = *posted;
      state.posted.erase(posted);
      NoteKeys(*message);
      return TRUE;
    }
    if (state.quitPosted) {
      state.quitPosted = false;
      *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0, state.now, {}};
      return FALSE;
    }
    const bool paintsWanted = (first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last);
    if (const HWND paint = paintsWanted ? WindowToPaint(window) : nullptr) {
      *message = MSG{paint, WM_PAINT, 0, 0, state.now, {}};
      return TRUE;
    }
    const bool timersWanted = (first == 0 && last == 0) || (WM_TIMER >= first && WM_TIMER <= last);
    if (handset::Timer* timer = timersWanted ? DueTimer(window) : nullptr) {
      timer->due = state.now + timer->period;
      *message = MSG{timer->window, WM_TIMER, timer->id, reinterpret_cast<LPARAM>(timer->procedure), state.now, {}};
      return TRUE;
    }
    const bool progressed = handset::TheHandset().hooks.idle ? handset::TheHandset().hooks.idle() : DefaultIdle();
    if (!progressed) {
      DefaultIdle();
    }
  }
}

BOOL TranslateMessage(const MSG* message) {
  if (message == nullptr || message->message != WM_KEYDOWN) {
    return FALSE;
  }
  const WPARAM key = message->wParam;
  const bool control = Windows().keysDown[VK_CONTROL];
  char16_t character = 0;
  if (key >= 'A' && key <= 'Z') {
    character = control ? static_cast<char16_t>(key - 'A' + 1)
                        : static_cast<char16_t>(key - 'A' + 'a' - (Windows().keysDown[VK_SHIFT] ? 32 : 0));
  } else if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN || key == VK_ESCAPE || key == VK_BACK ||
             key == VK_TAB) {
    character = static_cast<char16_t>(key);
  }
  if (character != 0) {
    Windows().posted.push_front(MSG{message->hwnd, WM_CHAR, character, message->lParam, message->time, message->pt});
  }
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* message) {
  if (message == nullptr) {
    return 0;
  }
  LRESULT result = 0;
  if (handset::TheHandset().hooks.delivering && (message->lParam == 0 || message->message != WM_TIMER)) {
    handset::TheHandset().hooks.delivering(*message);
  }
  if (message->message == WM_TIMER && message->lParam != 0) {
    reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam, Windows().now);
  } else if (const auto window = WindowOf(message->hwnd)) {
    result = window->procedure(message->hwnd, message->message, message->wParam, message->lParam);
  } else {
    return 0;
  }
  if (handset::TheHandset().hooks.afterDispatch) {
    handset::TheHandset().hooks.afterDispatch(*message);
  }
  return result;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr && !WindowOf(window)) {
    handset::Refuse("PostMessageW", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  handset::WindowState& state = Windows();
  state.posted.push_back(MSG{window, message, wParam, lParam, state.now, {}});
  return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = WindowOf(window);
  if (!found) {
    handset::Refuse("SendMessageW", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (handset::TheHandset().hooks.delivering) {
    handset::TheHandset().hooks.delivering(MSG{window, message, wParam, lParam, Windows().now, {}});
  }
  const LRESULT result = found->procedure(window, message, wParam, lParam);
  if (handset::TheHandset().hooks.afterSend) {
    handset::TheHandset().hooks.afterSend(MSG{window, message, wParam, lParam, Windows().now, {}});
  }
  return result;
}

void PostQuitMessage(int exitCode) {
  handset::WindowState& state = Windows();
  state.quitPosted = true;
  state.quitCode = exitCode;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
  handset::WindowState& state = Windows();
  if (window != nullptr && !WindowOf(window)) {
    handset::Refuse("SetTimer", "not a window", ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (window == nullptr) {
    // A thread timer gets an identifier of its own.
    id = 1;
    while (std::any_of(state.timers.begin(), state.timers.end(),
                       [&](const handset::Timer& t) { return t.window == nullptr && t.id == id; })) {
      ++id;
    }
  }
  const UINT period = std::max(milliseconds, 1U);
  const auto existing = std::find_if(state.timers.begin(), state.timers.end(),
                                     [&](const handset::Timer& t) { return t.window == window && t.id == id; });
  const handset::Timer timer{window, id, period, procedure, state.now + period};
  if (existing != state.timers.end()) {
    *existing = timer;
  } else {
    state.timers.push_back(timer);
  }
  return window == nullptr ? id : (id == 0 ? 1 : id);
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  auto& timers = Windows().timers;
  const auto removed = std::erase_if(timers, [&](const handset::Timer& t) { return t.window == window && t.id == id; });
  return removed > 0 ? TRUE : FALSE;
}

DWORD GetTickCount() { return Windows().now; }

short GetKeyState(int key) {
  if (key < 0 || key > 255) {
    return 0;
  }
  return Windows().keysDown[static_cast<std::size_t>(key)] ? static_cast<short>(0x8000U) : 0;
}
