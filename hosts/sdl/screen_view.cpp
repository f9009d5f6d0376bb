#include "screen_view.h"

#include <algorithm>
#include <cstring>

namespace desktop {

ScreenView::~ScreenView() { Close(); }

std::size_t ScreenView::Offset(int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }

bool ScreenView::Open(int width, int height, int scale, bool fullscreen, std::string& error) {
  Close();
  // Nearest scaling keeps the handset's pixels sharp at any size.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  const Uint32 flags = static_cast<Uint32>(SDL_WINDOW_RESIZABLE) |
                       (fullscreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0U);
  window_ =
      SDL_CreateWindow("Vireta", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale, height * scale, flags);
  if (window_ != nullptr) {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
  }
  if (renderer_ != nullptr) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
  }
  if (texture_ == nullptr || SDL_RenderSetLogicalSize(renderer_, width, height) != 0) {
    error = SDL_GetError();
    Close();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, std::min(width, 120), std::min(height, 160));
  width_ = width;
  height_ = height;
  shown_.clear();
  damaged_ = true;
  return true;
}

void ScreenView::Close() {
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
    texture_ = nullptr;
  }
  if (renderer_ != nullptr) {
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
  }
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
}

void ScreenView::Present(const handset::Bitmap& screen) {
  if (!IsOpen() || screen.Width() != width_ || screen.Height() != height_) {
    return;
  }
  const auto rowBytes = static_cast<std::size_t>(width_) * sizeof(std::uint32_t);
  const auto size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  bool changed = shown_.size() != size;
  if (!changed) {
    for (int y = 0; y < height_ && !changed; ++y) {
      changed = std::memcmp(screen.Row(y), shown_.data() + Offset(y), rowBytes) != 0;
    }
  }
  if (!changed && !damaged_) {
    return;
  }
  if (changed) {
    shown_.resize(size);
    for (int y = 0; y < height_; ++y) {
      std::memcpy(shown_.data() + Offset(y), screen.Row(y), rowBytes);
    }
    // The handset's 0x00RRGGBB is SDL's RGB888.
    SDL_UpdateTexture(texture_, nullptr, shown_.data(), static_cast<int>(rowBytes));
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  damaged_ = false;
}

void ScreenView::Raise() {
  if (IsOpen()) {
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
  }
}

void ScreenView::SetTitle(const std::string& title) {
  if (IsOpen()) {
    SDL_SetWindowTitle(window_, title.c_str());
  }
}

}  // namespace desktop
