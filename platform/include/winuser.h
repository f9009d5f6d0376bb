// Windows, messages, timers, painting and message boxes, on the handset's one thread.
// Unless a line says otherwise, a handle that names no window fails the call with
// ERROR_INVALID_WINDOW_HANDLE (the Is... questions just answer FALSE); a call refused for
// a malformed argument, or for what the handset does not implement, sets the last error
// and reports the refusal to the host.
#pragma once

#include "windef.h"
#include "wingdi.h"

using WNDPROC = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void(CALLBACK*)(HWND, UINT, UINT_PTR, DWORD);
DECLARE_HANDLE(HCURSOR);

#define LOWORD(l) (static_cast<WORD>(static_cast<std::uintptr_t>(l) & 0xFFFFU))
#define HIWORD(l) (static_cast<WORD>((static_cast<std::uintptr_t>(l) >> 16) & 0xFFFFU))
#define MAKELONG(a, b) \
  (static_cast<LONG>(static_cast<DWORD>(static_cast<WORD>(a)) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16U)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))

// Messages.
#define WM_NULL 0x0000U
#define WM_CREATE 0x0001U
#define WM_DESTROY 0x0002U
#define WM_MOVE 0x0003U
#define WM_SIZE 0x0005U
#define WM_ACTIVATE 0x0006U
#define WM_SETFOCUS 0x0007U
#define WM_KILLFOCUS 0x0008U
#define WM_ENABLE 0x000AU
#define WM_PAINT 0x000FU
#define WM_CLOSE 0x0010U
#define WM_QUIT 0x0012U
#define WM_ERASEBKGND 0x0014U
#define WM_SHOWWINDOW 0x0018U
#define WM_SETTINGCHANGE 0x001AU
#define WM_KEYDOWN 0x0100U
#define WM_KEYUP 0x0101U
#define WM_CHAR 0x0102U
#define WM_INITDIALOG 0x0110U
#define WM_COMMAND 0x0111U
#define WM_TIMER 0x0113U
#define WM_LBUTTONDOWN 0x0201U
#define WM_LBUTTONUP 0x0202U
#define MK_LBUTTON 0x0001U
#define WM_USER 0x0400U

// WM_ACTIVATE
#define WA_INACTIVE 0
#define WA_ACTIVE 1

// Window styles.
#define WS_OVERLAPPED 0x00000000U
#define WS_POPUP 0x80000000U
#define WS_CHILD 0x40000000U
#define WS_VISIBLE 0x10000000U
#define WS_DISABLED 0x08000000U
#define WS_CAPTION 0x00C00000U
#define WS_BORDER 0x00800000U
#define WS_SYSMENU 0x00080000U
#define WS_GROUP 0x00020000U
#define WS_TABSTOP 0x00010000U
#define WS_EX_TOPMOST 0x00000008U
#define WS_EX_CAPTIONOKBTN 0x80000000U

#define CS_VREDRAW 0x0001U
#define CS_HREDRAW 0x0002U

#define CW_USEDEFAULT (static_cast<int>(0x80000000U))

// ShowWindow
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define SW_SHOWNOACTIVATE 4

// Virtual keys.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_F1 0x70
#define VK_F2 0x71

// Message boxes and dialog results.
#define MB_OK 0x00000000U
#define MB_OKCANCEL 0x00000001U
#define MB_ABORTRETRYIGNORE 0x00000002U
#define MB_YESNOCANCEL 0x00000003U
#define MB_YESNO 0x00000004U
#define MB_RETRYCANCEL 0x00000005U
#define MB_ICONHAND 0x00000010U
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020U
#define MB_ICONEXCLAMATION 0x00000030U
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040U
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000U
#define MB_DEFBUTTON2 0x00000100U
#define MB_DEFBUTTON3 0x00000200U
#define MB_APPLMODAL 0x00000000U
#define MB_SETFOREGROUND 0x00010000U
#define MB_TOPMOST 0x00040000U
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Dialog templates and static controls.
#define DS_SETFONT 0x40U
#define SS_LEFT 0x00000000U
#define SS_CENTER 0x00000001U
#define SS_RIGHT 0x00000002U
#define SS_ICON 0x00000003U
#define SS_NOPREFIX 0x00000080U
#define SS_REALSIZEIMAGE 0x00000800U

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

// Class names are compared without regard to case. 0 with ERROR_CLASS_ALREADY_EXISTS for
// a name taken, ERROR_INVALID_PARAMETER without a procedure or a name.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
// `instance` is not compared. FALSE with ERROR_CLASS_DOES_NOT_EXIST.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
// Sends WM_CREATE before it returns. Null when the class is unknown (with
// ERROR_CANNOT_FIND_WND_CLASS), for WS_CHILD (refused: there are no child windows) or
// when WM_CREATE answers -1.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// Owned windows go first; then it is hidden (the next window activated), gets WM_DESTROY
// and loses its timers, the messages posted to it and its handle. Called again meanwhile,
// it does nothing: TRUE.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// WM_CLOSE destroys the window, WM_ERASEBKGND fills the class's background (1, or 0
// without one), WM_PAINT validates; everything else answers 0.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Never blocks: posted messages, then WM_QUIT (FALSE), paints, due timers. With none ready
// the host delivers input or moves the clock on; with no host the clock jumps to the next
// timer, or with none the session ends: an open box is answered, else the top-level windows
// get WM_CLOSE, then WM_QUIT comes. -1 with ERROR_INVALID_PARAMETER for a null `message`.
BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last);
// For a key down of a letter (with Ctrl, its control code), digit, space, Enter, Escape,
// Backspace or Tab, puts WM_CHAR ahead of the queue. TRUE for every WM_KEYDOWN.
BOOL TranslateMessage(const MSG* message);
// Calls the window's procedure, or the TIMERPROC a WM_TIMER carries in lParam, and returns
// its answer; 0, and nothing called, for a message to no window (or a null `message`).
LRESULT DispatchMessageW(const MSG* message);
// Queues the message (a null window posts to the thread); it never runs at once.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the procedure at once, even from inside another procedure (re-entrant, no queue),
// and returns its answer; 0 with ERROR_INVALID_WINDOW_HANDLE for no window.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_QUIT comes once the posted messages are taken, before any paint or timer.
void PostQuitMessage(int exitCode);

// WM_TIMER comes only when due and when nothing else is waiting, at most one pending a
// timer; the next is due a period after one is taken, however late that was. Setting a
// window's `id` again restarts it; a thread timer (null window) gets a fresh id.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
// FALSE when `window` (null for a thread timer) has no timer `id`; a destroyed window's
// timers go with it.
BOOL KillTimer(HWND window, UINT_PTR id);
// The handset's clock in milliseconds, wrapping: it moves on only while GetMessageW waits.
DWORD GetTickCount();

// Marks `rect` of the client area (the whole of it when null) for repainting; the
// paint itself comes later, as WM_PAINT, once the message queue is otherwise empty.
// `erase` asks BeginPaint to erase the background first.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// The invalid area is one bounding rectangle: it is validated only when `rect` (null: the
// whole client area) covers all of it.
BOOL ValidateRect(HWND window, const RECT* rect);
// Sends WM_PAINT at once when the window is visible and part of it invalid.
BOOL UpdateWindow(HWND window);
// The paint canvas draws on the screen inside the client area, never over the windows
// above it. Validates the window, sending WM_ERASEBKGND first when an erase was asked for.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
// Deletes the paint canvas; FALSE only for a null `paint`.
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

BOOL GetClientRect(HWND window, LPRECT rect);
BOOL GetWindowRect(HWND window, LPRECT rect);
// Sends WM_SIZE when the size changes and WM_MOVE when the place does.
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Returns whether the window was visible before, not success. Showing activates it unless
// SW_SHOWNOACTIVATE or it is disabled; hiding the foreground window activates the next.
BOOL ShowWindow(HWND window, int command);
// Returns whether it was disabled before; a change sends WM_ENABLE, and a disabled window
// loses the focus.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
// Null matches any; names are compared without regard to case. Also finds the windows of
// other programs in the session, as handles that only SetForegroundWindow takes.
HWND FindWindowW(LPCWSTR className, LPCWSTR title);
// A handle with its lowest bit set also brings the window's owned boxes forward. Another
// program's window (from FindWindowW) is brought forward by that program.
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
// Returns the focus before; a handle that is no window (null aside) leaves it unchanged.
HWND SetFocus(HWND window);
HWND GetFocus();
// The owner: there are owned popups only, no child windows.
HWND GetParent(HWND window);
// The down bit (0x8000) only, as the key messages GetMessageW has taken left the key.
short GetKeyState(int key);

// Fills `rect` (right and bottom excluded) with `brush`, clipped to the canvas.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Dialogs: the template is a DLGTEMPLATE or DLGTEMPLATEEX as LoadResource gives it.
using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;
// Modal until EndDialog, the owner disabled meanwhile; returns EndDialog's result. The box
// draws its controls (none is a window); Enter and Escape send IDOK and IDCANCEL. -1 for
// a template no resource holds, malformed or with a menu or class of its own, or a dead
// owner.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC procedure,
                                LPARAM initParam);
// Only records the result: the box goes at its loop's next turn, which a posted WM_NULL
// brings at once. FALSE with ERROR_INVALID_WINDOW_HANDLE for a window that is no dialog.
BOOL EndDialog(HWND dialog, INT_PTR result);

// Keyboard shortcuts: turns a key message matching `table` into WM_COMMAND (sent to
// `window`) and returns non-zero; the message is then not to be dispatched. 0 otherwise,
// with ERROR_INVALID_PARAMETER for no table, no message or no window.
int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG message);

// A modal box with the buttons `type` names (MB_OK ... MB_RETRYCANCEL, the default one
// by MB_DEFBUTTONn); returns the button chosen (IDOK, IDYES ...). Icons are not drawn.
// Other flags than MB_SETFOREGROUND and MB_TOPMOST are refused: 0, with
// ERROR_INVALID_PARAMETER. Its loop dispatches every message of the thread; the owner
// takes no input meanwhile.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
