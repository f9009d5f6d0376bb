#include "options.h"

#include <cwchar>

namespace winmobile {

namespace {

constexpr int kMinSide = 240;
constexpr int kMaxWidth = 1440;
constexpr int kMaxHeight = 2560;

// A whole number of at most six digits, nothing around it.
std::optional<int> WholeNumber(const std::wstring& text) {
  if (text.empty() || text.size() > 6) {
    return std::nullopt;
  }
  int value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') {
      return std::nullopt;
    }
    value = value * 10 + (c - L'0');
  }
  return value;
}

std::optional<Screen> ScreenNamed(const std::wstring& text, int smallestBand, std::wstring& error) {
  const auto cross = text.find(L'x');
  const auto width = cross == std::wstring::npos ? std::nullopt : WholeNumber(text.substr(0, cross));
  const auto height = cross == std::wstring::npos ? std::nullopt : WholeNumber(text.substr(cross + 1));
  if (!width || !height) {
    error = L"--screen needs WIDTHxHEIGHT, such as 480x640, got \"" + text + L"\"";
    return std::nullopt;
  }
  if (*width < kMinSide || *height < kMinSide || *width > kMaxWidth || *height > kMaxHeight) {
    error = L"screen " + text + L" is outside the sizes a phone has (240x240 to 1440x2560)";
    return std::nullopt;
  }
  Screen screen;
  screen.width = *width;
  screen.height = *height;
  screen.dpi = *width < 480 ? 96 : 192;
  const int room = screen.height - 2 * screen.BarHeight();
  if (room < smallestBand) {
    error = L"screen " + text + L" leaves " + std::to_wstring(room) + L" pixels between its bars; the program needs " +
            std::to_wstring(smallestBand);
    return std::nullopt;
  }
  return screen;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::wstring>& args, int smallestBand, std::wstring& error) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& option = args[i];
    if (option == L"--help" || option == L"-h") {
      options.help = true;
      continue;
    }
    if (option == L"--version") {
      options.version = true;
      continue;
    }
    const bool takesValue = option == L"--screen" || option == L"--tilt" || option == L"--script" ||
                            option == L"--shots" || option == L"--without";
    if (!takesValue) {
      error = L"unknown option \"" + option + L"\" (--help lists them)";
      return std::nullopt;
    }
    if (i + 1 == args.size()) {
      error = option + L" needs a value";
      return std::nullopt;
    }
    const std::wstring& value = args[++i];
    if (option == L"--screen") {
      auto screen = ScreenNamed(value, smallestBand, error);
      if (!screen) {
        return std::nullopt;
      }
      options.screen = *screen;
    } else if (option == L"--tilt") {
      if (value != L"keys" && value != L"mouse" && value != L"stick") {
        error = L"--tilt needs keys, mouse or stick, got \"" + value + L"\"";
        return std::nullopt;
      }
      options.tilt = value;
    } else if (option == L"--script") {
      options.script = value;
    } else if (option == L"--shots") {
      options.shots = value;
    } else if (value == L"sensor-service") {
      options.sensorService = false;
    } else if (value == L"soft-key-bar") {
      options.softKeyBar = false;
    } else {
      error = L"--without takes sensor-service or soft-key-bar, got \"" + value + L"\"";
      return std::nullopt;
    }
  }
  if (!options.shots.empty() && options.script.empty()) {
    error = L"--shots needs --script: the script says when to take them";
    return std::nullopt;
  }
  return options;
}

std::wstring OptionsHelp(const std::wstring& name) {
  return L"Usage: " + name +
         L" [options]\n"
         L"  --screen WxH     the phone's screen: 480x640 (default), 240x320, 480x800 ...\n"
         L"  --tilt SOURCE    keys (the arrows), mouse (the pointer over the screen) or stick (a\n"
         L"                   gamepad); by default a gamepad's stick when one is connected, and the keys\n"
         L"  --script FILE    tilt as the script says instead, one step every 50 ms tick\n"
         L"  --shots DIR      where the script's shot lines write their pictures\n"
         L"  --without PIECE  take a piece of the phone away: sensor-service or soft-key-bar\n"
         L"  --version        print the version\n";
}

}  // namespace winmobile
