// Where the handset's screen sits in a window of any size: the largest picture of the
// screen's shape that fits, centred, each window pixel showing its nearest screen pixel.
#pragma once

namespace desktop {

// A run of window pixels [first, last) along one axis.
struct WindowSpan {
  int first = 0;
  int last = 0;
};

class PictureFit {
 public:
  PictureFit() = default;
  PictureFit(int windowWidth, int windowHeight, int screenWidth, int screenHeight);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // The screen pixel a window pixel shows; outside the picture the result lies outside
  // the screen, below 0 or at its size and beyond.
  int ScreenX(int windowX) const { return Along(windowX - left_, width_, screenWidth_); }
  int ScreenY(int windowY) const { return Along(windowY - top_, height_, screenHeight_); }
  // Exactly the window pixels that show screen columns [x0, x1), or rows [y0, y1).
  WindowSpan Columns(int x0, int x1) const {
    return {left_ + Ceil(x0, width_, screenWidth_), left_ + Ceil(x1, width_, screenWidth_)};
  }
  WindowSpan Rows(int y0, int y1) const {
    return {top_ + Ceil(y0, height_, screenHeight_), top_ + Ceil(y1, height_, screenHeight_)};
  }

 private:
  static int Along(int offset, int picture, int screen);
  static int Ceil(int screenOffset, int picture, int screen);
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace desktop
