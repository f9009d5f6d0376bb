#include "screen_view.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace desktop {

// A session nobody sees is no session.
void ScreenView::ChooseVideoDrivers() {
  if (const char* chosen = std::getenv("SDL_VIDEODRIVER"); chosen != nullptr && *chosen != '\0') {
    return;
  }
  std::string drivers;
  for (const auto& [variable, driver] : {std::pair{"DISPLAY", "x11"}, std::pair{"WAYLAND_DISPLAY", "wayland"}}) {
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
      drivers += std::string(driver) + ",";
    }
  }
  drivers += "KMSDRM";
  SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

namespace {

// First and one past the last column where two rows differ; first == last when they agree.
void DifferingColumns(const std::uint32_t* a, const std::uint32_t* b, int width, int& first, int& last) {
  first = 0;
  while (first < width && a[first] == b[first]) {
    ++first;
  }
  last = width;
  while (last > first && a[last - 1] == b[last - 1]) {
    --last;
  }
}

}  // namespace

ScreenView::~ScreenView() { Close(); }

bool ScreenView::Open(const std::string& title, int width, int height, int scale, bool fullscreen, std::string& error) {
  Close();
  // X11 then puts the changed rectangles through shared memory; the default texture
  // path would have the software GL of a headless display draw the whole window every
  // frame. Wayland and KMSDRM have only that path. SDL_FRAMEBUFFER_ACCELERATION rules.
  if (const char* driver = SDL_GetCurrentVideoDriver(); driver != nullptr && std::strcmp(driver, "x11") == 0) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  }
  const Uint32 flags = static_cast<Uint32>(SDL_WINDOW_RESIZABLE) |
                       (fullscreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0U);
  window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale,
                             height * scale, flags);
  if (window_ == nullptr) {
    error = SDL_GetError();
    return false;
  }
  SDL_SetWindowMinimumSize(window_, std::min(width, 120), std::min(height, 160));
  width_ = width;
  height_ = height;
  shown_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  damaged_ = true;
  return true;
}

void ScreenView::Close() {
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);  // takes its surface with it
    window_ = nullptr;
  }
  surface_ = nullptr;
  fit_ = PictureFit();
}

bool ScreenView::TakeChanges(const handset::host::ScreenPixels& screen, SDL_Rect& changed) {
  int top = height_;
  int bottom = 0;
  int left = width_;
  int right = 0;
  const auto rowBytes = static_cast<std::size_t>(width_) * sizeof(std::uint32_t);
  for (int y = 0; y < height_; ++y) {
    std::uint32_t* shown = shown_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    const std::uint32_t* now = screen.Row(y);
    if (std::memcmp(now, shown, rowBytes) == 0) {
      continue;
    }
    int first = 0;
    int last = 0;
    DifferingColumns(now, shown, width_, first, last);
    std::memcpy(shown + first, now + first, static_cast<std::size_t>(last - first) * sizeof(std::uint32_t));
    top = std::min(top, y);
    bottom = y + 1;
    left = std::min(left, first);
    right = std::max(right, last);
  }
  changed = SDL_Rect{left, top, right - left, bottom - top};
  return top < bottom;
}

void ScreenView::Draw(SDL_Surface* surface, const SDL_Rect& changed, SDL_Rect& drawn) {
  const WindowSpan columns = fit_.Columns(changed.x, changed.x + changed.w);
  const WindowSpan rows = fit_.Rows(changed.y, changed.y + changed.h);
  drawn = SDL_Rect{columns.first, rows.first, columns.last - columns.first, rows.last - rows.first};
  if (drawn.w <= 0 || drawn.h <= 0) {
    return;
  }
  auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
  const int bytesPerPixel = surface->format->BytesPerPixel;
  // At full width each picture column is its screen column and rows go across whole.
  const bool sameColumns = fit_.Width() == width_;
  int lastRow = -1;
  for (int y = rows.first; y < rows.last; ++y) {
    const int screenY = fit_.ScreenY(y);
    const std::uint32_t* source = shown_.data() + static_cast<std::size_t>(screenY) * static_cast<std::size_t>(width_);
    if (sameColumns) {
      source += columns.first - fit_.Left();
    } else {
      if (screenY != lastRow) {
        for (int x = columns.first; x < columns.last; ++x) {
          row_[static_cast<std::size_t>(x - columns.first)] =
              source[columnOf_[static_cast<std::size_t>(x - fit_.Left())]];
        }
        lastRow = screenY;
      }
      source = row_.data();
    }
    // The handset's 0x00RRGGBB is SDL's RGB888; other surfaces get it converted.
    std::uint8_t* target = pixels + static_cast<std::ptrdiff_t>(y) * surface->pitch +
                           static_cast<std::ptrdiff_t>(columns.first) * bytesPerPixel;
    SDL_ConvertPixels(drawn.w, 1, SDL_PIXELFORMAT_RGB888, source, drawn.w * 4, surface->format->format, target,
                      surface->pitch);
  }
}

bool ScreenView::Present(const handset::host::ScreenPixels& screen, std::string& error) {
  if (!IsOpen() || screen.width != width_ || screen.height != height_) {
    return true;
  }
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) {
    error = SDL_GetError();
    return false;
  }
  SDL_Rect changed{};
  const bool anyChange = TakeChanges(screen, changed);
  const bool whole = damaged_ || surface != surface_ || fit_.Empty();
  if (!whole && !anyChange) {
    return true;
  }
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
    error = SDL_GetError();
    return false;
  }
  if (whole) {
    surface_ = surface;
    fit_ = PictureFit(surface->w, surface->h, width_, height_);
    columnOf_.resize(static_cast<std::size_t>(std::max(fit_.Width(), 0)));
    for (int x = 0; x < fit_.Width(); ++x) {
      columnOf_[static_cast<std::size_t>(x)] = fit_.ScreenX(fit_.Left() + x);
    }
    row_.resize(columnOf_.size());
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    changed = SDL_Rect{0, 0, width_, height_};
  }
  SDL_Rect drawn{};
  Draw(surface, changed, drawn);
  if (SDL_MUSTLOCK(surface)) {
    SDL_UnlockSurface(surface);
  }
  if (!whole && (drawn.w <= 0 || drawn.h <= 0)) {
    return true;
  }
  const int sent = whole ? SDL_UpdateWindowSurface(window_) : SDL_UpdateWindowSurfaceRects(window_, &drawn, 1);
  if (sent != 0) {
    error = SDL_GetError();
    return false;
  }
  damaged_ = false;
  return true;
}

POINT ScreenView::ToScreen(int windowX, int windowY) const {
  if (fit_.Empty()) {
    return POINT{windowX, windowY};
  }
  return POINT{fit_.ScreenX(windowX), fit_.ScreenY(windowY)};
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
