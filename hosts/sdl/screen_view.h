// The SDL window that shows the handset's whole screen: made on first use, scaled to fit
// with its shape kept, redrawn only when the pixels changed or the window asked.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gdi/bitmap.h"

namespace desktop {

class ScreenView {
 public:
  ScreenView() = default;
  ~ScreenView();
  ScreenView(const ScreenView&) = delete;
  ScreenView& operator=(const ScreenView&) = delete;

  // Makes the window for a screen of that size; false with `error` set.
  bool Open(int width, int height, int scale, bool fullscreen, std::string& error);
  bool IsOpen() const { return window_ != nullptr; }
  void Close();
  Uint32 WindowId() const { return window_ != nullptr ? SDL_GetWindowID(window_) : 0; }

  // Shows `screen` if it changed since the last time, or if the window needs drawing.
  void Present(const handset::Bitmap& screen);
  // The window was exposed or resized: draw it again at the next Present.
  void Damaged() { damaged_ = true; }
  void Raise();
  void SetTitle(const std::string& title);

 private:
  std::size_t Offset(int y) const;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> shown_;
  bool damaged_ = true;
};

}  // namespace desktop
