// The window classes the layer draws its own pieces with.
#pragma once

#include <windows.h>

namespace winmobile {

// Registers the class `name` of `instance` with `procedure` and the arrow cursor, once for
// the run; true when it is there to use.
bool RegisterLayerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

}  // namespace winmobile
