// The colours of the shell's own windows, as the handset draws them.
#pragma once

#include <windows.h>

namespace winmobile::look {

constexpr COLORREF kBar = RGB(24, 24, 24);
constexpr COLORREF kLabel = RGB(255, 255, 255);
constexpr COLORREF kDisabledLabel = RGB(120, 120, 120);
constexpr COLORREF kMenu = RGB(255, 255, 255);
constexpr COLORREF kHighlight = RGB(16, 40, 96);  // also the taskbar, where OK sits
constexpr COLORREF kMenuText = RGB(0, 0, 0);
constexpr COLORREF kMenuGrey = RGB(128, 128, 128);

}  // namespace winmobile::look
