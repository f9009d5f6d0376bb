// The SDL window that shows the handset's whole screen: made on first use, scaled to fit
// with its shape kept. Only the pixels that changed are drawn and sent to the display,
// straight into the window's surface: at 20 ticks a second the picture is most of the
// desktop host's cost.
#pragma once

#include <SDL.h>
#include <windef.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture_fit.h"
#include "platform/host/screen.h"

namespace desktop {

class ScreenView {
 public:
  // Asks SDL, before it starts, for drivers that show something: it would otherwise
  // fall back to drawing off screen. SDL_VIDEODRIVER still rules.
  static void ChooseVideoDrivers();

  ScreenView() = default;
  ~ScreenView();
  ScreenView(const ScreenView&) = delete;
  ScreenView& operator=(const ScreenView&) = delete;

  // Makes the window, titled `title`, for a screen of that size; false with `error` set.
  bool Open(const std::string& title, int width, int height, int scale, bool fullscreen, std::string& error);
  bool IsOpen() const { return window_ != nullptr; }
  void Close();
  Uint32 WindowId() const { return window_ != nullptr ? SDL_GetWindowID(window_) : 0; }

  // Shows what changed in `screen` since the last time, or all of it if the window needs
  // drawing. False with `error` set when the window has no surface to draw on.
  bool Present(const handset::host::ScreenPixels& screen, std::string& error);
  // The window was exposed or resized: draw it whole at the next Present.
  void Damaged() { damaged_ = true; }
  bool NeedsDrawing() const { return damaged_; }
  void Raise();
  void SetTitle(const std::string& title);
  // The screen point under a window point; outside the picture it lies outside the screen.
  POINT ToScreen(int windowX, int windowY) const;

 private:
  // Copies the changed pixels into shown_; false when nothing changed.
  bool TakeChanges(const handset::host::ScreenPixels& screen, SDL_Rect& changed);
  void Draw(SDL_Surface* surface, const SDL_Rect& changed, SDL_Rect& drawn);
  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  PictureFit fit_;
  std::vector<std::uint32_t> shown_;
  std::vector<int> columnOf_;  // screen column of each picture column
  std::vector<std::uint32_t> row_;
  bool damaged_ = true;
};

}  // namespace desktop
