#include "picture_fit.h"

namespace desktop {

PictureFit::PictureFit(int windowWidth, int windowHeight, int screenWidth, int screenHeight)
    : screenWidth_(screenWidth), screenHeight_(screenHeight) {
  if (windowWidth <= 0 || windowHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
    return;
  }
  // Products in 64 bits: a 1440 x 2560 screen in a large window overflows nothing.
  if (static_cast<long long>(windowWidth) * screenHeight <= static_cast<long long>(windowHeight) * screenWidth) {
    width_ = windowWidth;
    height_ = static_cast<int>(static_cast<long long>(windowWidth) * screenHeight / screenWidth);
  } else {
    height_ = windowHeight;
    width_ = static_cast<int>(static_cast<long long>(windowHeight) * screenWidth / screenHeight);
  }
  left_ = (windowWidth - width_) / 2;
  top_ = (windowHeight - height_) / 2;
}

int PictureFit::Along(int offset, int picture, int screen) {
  if (picture <= 0 || offset < 0) {
    return -1;
  }
  if (offset >= picture) {
    return screen;
  }
  return static_cast<int>(static_cast<long long>(offset) * screen / picture);
}

// The first picture pixel whose screen pixel is at or past `screenOffset`.
int PictureFit::Ceil(int screenOffset, int picture, int screen) {
  if (screen <= 0) {
    return 0;
  }
  return static_cast<int>((static_cast<long long>(screenOffset) * picture + screen - 1) / screen);
}

}  // namespace desktop
