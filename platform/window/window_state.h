// The window system's share of the handset: classes, windows in their stacking order,
// the thread's message queue, timers, the virtual clock, and the hooks a host sets.
#pragma once

#include <winuser.h>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/handset/object_table.h"
#include "platform/handset/ticks.h"
#include "platform/window/screen.h"

namespace handset {

struct DialogData;  // window/dialogs.cpp

struct WindowClass {
  std::u16string name;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HBRUSH background = nullptr;
  UINT style = 0;
  ATOM atom = 0;
};

class Window : public Object {
 public:
  // The program's own windows, and those the handset draws itself.
  enum class Kind { Program, MessageBox, Dialog, MenuBar, Menu };
  Kind kind = Kind::Program;
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC procedure = nullptr;
  std::u16string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{};  // on the screen; the client area is the whole window
  HWND owner = nullptr;
  HINSTANCE instance = nullptr;
  bool visible = false;
  bool enabled = true;
  bool destroying = false;
  // The part waiting for WM_PAINT, in client coordinates, as one bounding rectangle.
  bool invalid = false;
  RECT invalidRect{};
  bool erase = false;
  bool painting = false;
  // A dialog's or box's result once it is ended; its modal loop watches it.
  bool ended = false;
  bool answered = false;  // by the system at the end of a session
  INT_PTR result = 0;
  std::u16string text;                 // a message box's message
  UINT boxStyle = 0;                   // a message box's MB_ flags
  std::shared_ptr<DialogData> dialog;  // a dialog's procedure and controls
};

struct Timer {
  HWND window;
  UINT_PTR id;
  UINT period;
  TIMERPROC procedure;
  DWORD due;
};

// Other processes' windows: none until the handset joins a session, which fills these.
struct SessionLink {
  std::function<void()> publish;  // told of every change to the list of windows
  std::function<HWND(LPCWSTR className, LPCWSTR title)> find;
  std::function<bool(HWND handle, bool withOwned)> foreground;  // for a handle `find` gave
};

struct WindowState {
  ScreenSize screenSize;
  std::shared_ptr<Bitmap> screen;
  std::map<std::u16string, std::shared_ptr<WindowClass>> classes;  // by lower-case name
  ATOM nextAtom = 0xC000;
  std::vector<HWND> stack;  // top-level windows, topmost first
  std::deque<MSG> posted;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  DWORD now = 0;  // the tick count: milliseconds since boot plus `bootTicks`, wrapping
  DWORD bootTicks = 0;
  HWND foreground = nullptr;
  HWND focus = nullptr;
  std::array<bool, 256> keysDown{};
  int sessionEnds = 0;
  // The clock the taskbar shows: minutes past midnight at boot.
  DWORD clockBaseMinutes = 0;
  bool taskbarDrawn = false;
  std::u16string taskbarTitle;
  std::u16string taskbarRight;
  SessionLink session;
  // BeginPaint's work space, kept so that painting allocates nothing.
  std::vector<RECT> paintClip;
  std::vector<RECT> paintScratch;
};

// The window system, made on first use with the default 480 × 640 screen.
WindowState& Windows();
// Starts the window system afresh on `size`.
void BootScreen(const ScreenSize& size);

std::shared_ptr<Window> WindowOf(HWND window);

// When the next timer falls due (perhaps already passed), if any timer runs.
std::optional<DWORD> NextTimerDue();

// The system closes the program, as at the end of a session: open boxes are answered
// (Cancel where a message box has it, else its default; a dialog OK), then the
// program's windows get WM_CLOSE.
void EndSession();

}  // namespace handset
