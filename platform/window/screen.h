// The handset's screen: its size and density, the taskbar across the top and the
// soft-key bar's place across the bottom.
#pragma once

#include <windef.h>

#include <optional>
#include <string>

namespace handset {

struct ScreenSize {
  int width = 480;
  int height = 640;
  int dpi = 192;

  // The taskbar's and the soft-key bar's height: 26 pixels at 96 dpi.
  int BarHeight() const { return 26 * dpi / 96; }
  // Below the taskbar, down to the bottom of the screen.
  RECT WorkArea() const { return {0, BarHeight(), width, height}; }
};

// The size a handset of `width` × `height` has (96 dpi below a width of 480, 192 from
// there), or an error naming what is wrong: a size outside 240 × 240 .. 1440 × 2560, or
// fewer than `band` pixels between the taskbar and the soft-key bar, the least the
// program's window needs.
std::optional<ScreenSize> ScreenOf(int width, int height, int band, std::string& error);

// The smallest screen ScreenOf takes for `band` (wider ones may need to be taller), and
// the largest.
ScreenSize SmallestScreen(int band);
ScreenSize LargestScreen();

// Parses "WxH" (as the hosts' --screen takes it) into a screen, or says why not.
std::optional<ScreenSize> ParseScreen(const std::string& text, int band, std::string& error);

}  // namespace handset
