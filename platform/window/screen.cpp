// Screen sizes the handset accepts.
#include "platform/window/screen.h"

#include <algorithm>
#include <charconv>

namespace handset {

namespace {
constexpr int kMinSide = 240;
constexpr int kMaxWidth = 1440;
constexpr int kMaxHeight = 2560;

int DpiOf(int width) { return width < 480 ? 96 : 192; }
}  // namespace

ScreenSize SmallestScreen(int band) {
  ScreenSize screen{kMinSide, 0, DpiOf(kMinSide)};
  screen.height = std::clamp(2 * screen.BarHeight() + band, kMinSide, kMaxHeight);
  return screen;
}

ScreenSize LargestScreen() { return {kMaxWidth, kMaxHeight, DpiOf(kMaxWidth)}; }

std::optional<ScreenSize> ScreenOf(int width, int height, int band, std::string& error) {
  if (width < kMinSide || height < kMinSide || width > kMaxWidth || height > kMaxHeight) {
    error = "screen " + std::to_string(width) + "x" + std::to_string(height) +
            " is outside the sizes a handset has (240x240 to 1440x2560)";
    return std::nullopt;
  }
  ScreenSize screen{width, height, DpiOf(width)};
  const int room = height - 2 * screen.BarHeight();
  if (room < band) {
    error = "screen " + std::to_string(width) + "x" + std::to_string(height) + " leaves " + std::to_string(room) +
            " pixels between its bars; the program needs " + std::to_string(band);
    return std::nullopt;
  }
  return screen;
}

std::optional<ScreenSize> ParseScreen(const std::string& text, int band, std::string& error) {
  const auto x = text.find('x');
  int width = 0;
  int height = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  const auto number = [](const char* from, const char* to, int& value) {
    const auto [ptr, failed] = std::from_chars(from, to, value);
    return from != to && ptr == to && failed == std::errc{};
  };
  if (x == std::string::npos || !number(begin, begin + x, width) || !number(begin + x + 1, end, height)) {
    error = "screen size '" + text + "' is not WIDTHxHEIGHT, e.g. 480x640";
    return std::nullopt;
  }
  return ScreenOf(width, height, band, error);
}

}  // namespace handset
