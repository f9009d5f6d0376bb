// Windows, messages, timers, painting and message boxes.
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

ATOM RegisterClassW(const WNDCLASSW* windowClass);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
// Sends WM_CREATE before it returns; null when the class is unknown or WM_CREATE
// answers -1.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// WM_TIMER comes only when due and when nothing else is waiting, at most one pending a
// timer; the next is due a period after one is taken, however late that was.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
DWORD GetTickCount();

// Marks `rect` of the client area (the whole of it when null) for repainting; the
// paint itself comes later, as WM_PAINT, once the message queue is otherwise empty.
// `erase` asks BeginPaint to erase the background first.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// Sends WM_PAINT at once when part of the window is invalid.
BOOL UpdateWindow(HWND window);
// The paint canvas draws on the screen inside the client area, never over the windows
// above it.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

BOOL GetClientRect(HWND window, LPRECT rect);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND window, int command);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
HWND FindWindowW(LPCWSTR className, LPCWSTR title);
// A handle with its lowest bit set also brings the window's owned boxes forward.
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetParent(HWND window);
short GetKeyState(int key);

// Fills `rect` (right and bottom excluded) with `brush`, clipped to the canvas.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Dialogs: the template is a DLGTEMPLATE or DLGTEMPLATEEX as LoadResource gives it.
using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);
struct DLGTEMPLATE;
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC procedure,
                                LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);

// Keyboard shortcuts: turns a key message matching `table` into WM_COMMAND (sent to
// `window`) and returns non-zero; the message is then not to be dispatched.
int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG message);

// A modal box with the buttons `type` names (MB_OK ... MB_RETRYCANCEL, the default one
// by MB_DEFBUTTONn); returns the button chosen (IDOK, IDYES ...). Icons are not drawn.
// Other flags than MB_SETFOREGROUND and MB_TOPMOST are refused: 0, with
// ERROR_INVALID_PARAMETER. Its loop dispatches every message of the thread; the owner
// takes no input meanwhile.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
