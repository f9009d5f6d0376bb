// Screen sizes the handset accepts.
#include "window/screen.h"

#include <algorithm>
#include <charconv>

namespace handset {

namespace {
constexpr int kMinSide = 240;
constexpr int kMaxWidth = 1440;
constexpr int kMaxHeight = 2560;
// The game draws a 200-pixel display band and needs at least one 40-pixel road
// segment above it, between the taskbar and the soft-key bar.
constexpr int kGameBand = 200 + 40;

int DpiOf(int width) { return width < 480 ? 96 : 192; }
}  // namespace

ScreenSize SmallestScreen() {
  ScreenSize screen{kMinSide, 0, DpiOf(kMinSide)};
  screen.height = std::max(kMinSide, 2 * screen.BarHeight() + kGameBand);
  return screen;
}

ScreenSize LargestScreen() { return {kMaxWidth, kMaxHeight, DpiOf(kMaxWidth)}; }

std::optional<ScreenSize> ScreenOf(int width, int height, std::string& error) {
  if (width < kMinSide || height < kMinSide || width > kMaxWidth || height > kMaxHeight) {
    error = "screen " + std::to_string(width) + "x" + std::to_string(height) +
            " is outside the sizes a handset has (240x240 to 1440x2560)";
    return std::nullopt;
  }
  ScreenSize screen{width, height, DpiOf(width)};
  const int room = height - 2 * screen.BarHeight();
  if (room < kGameBand) {
    error = "screen " + std::to_string(width) + "x" + std::to_string(height) + " leaves " + std::to_string(room) +
            " pixels between its bars; the game needs " + std::to_string(kGameBand);
    return std::nullopt;
  }
  return screen;
}

std::optional<ScreenSize> ParseScreen(const std::string& text, std::string& error) {
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
  return ScreenOf(width, height, error);
}

}  // namespace handset
