// The program's main window and a picture of its client area, as the screen shows it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sensor_dll {

// The visible top-level window of this process with the largest client area; null for
// none.
HWND MainWindow();

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top down, three bytes a pixel
};

// The client area of `window`, read from its window DC; false when it cannot be read.
bool CaptureClient(HWND window, Picture& picture);

}  // namespace sensor_dll
