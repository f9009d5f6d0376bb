// The navigation control of the phone's device library. A desktop has no navigation
// wheel to set: the calls are taken and do nothing.
#include <windows.h>

extern "C" {
__declspec(dllexport) DWORD HTCNavOpen(HWND /*window*/, DWORD /*value*/) { return 1; }
__declspec(dllexport) DWORD HTCNavSetMode(HWND /*window*/, DWORD /*mode*/) { return 1; }
__declspec(dllexport) DWORD HTCNavClose(HWND /*window*/) { return 1; }
}
