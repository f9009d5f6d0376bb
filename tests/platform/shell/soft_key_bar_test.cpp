// The soft-key bar from the game's resource: what it draws, what its keys send, the
// "Ayuda" menu it opens, and a program that destroys itself from a command.
#include <algorithm>
#include <tuple>

#include "platform/shell/menus.h"
#include "platform/window/input.h"
#include "shell_test_support.h"
#include "support/screen_pixels.h"

namespace {

using handset::Window;
using shelltest::ShellTest;

constexpr WORD kOk = 40000;
constexpr WORD kHelp = 40001;
constexpr WORD kAbout = 40002;
constexpr std::uint32_t kRed = 0xFF0000U;

bool Bright(std::uint32_t pixel) { return (pixel & 0xFFU) > 0xC0U && ((pixel >> 8U) & 0xFFU) > 0xC0U; }

int BrightPixels(const RECT& area) { return testsupport::ScreenPixelsIn(area, Bright); }

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST_F(ShellTest, BarDrawsBothLabelsLightOnDarkAndTheOwnerNeverPaintsOverIt) {
  const HWND bar = MakeBar();
  steps.emplace_back([&] {
    // The owner comes forward again and repaints all of its (unshrunk) client area.
    SetForegroundWindow(main);
    InvalidateRect(main, nullptr, TRUE);
  });
  steps.emplace_back([&] {
    EXPECT_EQ(std::make_tuple(Pixel(10, 100), Pixel(2, 640 - 50), Pixel(240, 639)),
              std::make_tuple(kRed, 0x181818U, 0x181818U));
    EXPECT_GT(BrightPixels({0, 588, 240, 640}), 20);
    EXPECT_GT(BrightPixels({240, 588, 480, 640}), 20);
    // "Aceptar" sits in the middle of its half, not at the edges.
    EXPECT_EQ(BrightPixels({0, 588, 20, 640}) + BrightPixels({220, 588, 260, 640}), 0);
  });
  Run();
  EXPECT_FALSE(IsWindow(bar));
}

TEST_F(ShellTest, RightKeySendsHelpThenOpensAyudaAboveItWithTheFocus) {
  const HWND bar = MakeBar();
  steps.emplace_back([] { handset::PressKey(VK_F2, false); });
  steps.emplace_back([&] {
    EXPECT_EQ(CommandIds(), std::vector<WORD>{kHelp});
    const HWND menu = handset::OpenMenu();
    ASSERT_NE(menu, nullptr);
    const RECT rect = RectOf(menu);
    EXPECT_EQ(
        std::make_tuple(handset::WindowOf(menu)->kind, GetFocus(), GetForegroundWindow(), rect.bottom, rect.right),
        std::make_tuple(Window::Kind::Menu, menu, main, RectOf(bar).top, 480));
    EXPECT_GT(rect.left, 240);
    // The one item shows highlighted (light text on the dark band).
    EXPECT_GT(BrightPixels(rect), 0);
    SetForegroundWindow(main);
    InvalidateRect(main, nullptr, TRUE);
  });
  steps.emplace_back([&] {
    const RECT rect = RectOf(handset::OpenMenu());
    EXPECT_NE(Pixel(rect.right - 2, rect.top + 2), kRed);
    EXPECT_EQ(Pixel(rect.left - 2, rect.top + 2), kRed);
  });
  Run();
}

// Each way of choosing "Acerca de" sends 40002 once, after the menu has closed; each way
// of dismissing the menu sends nothing.
TEST_F(ShellTest, EveryWayOfChoosingOrDismissingTheMenu) {
  struct Choice {
    const char* name;
    std::function<void(HWND menu)> choose;
    std::vector<WORD> commands;
  };
  const auto press = [](std::vector<UINT> keys) {
    return [keys](HWND) {
      for (const UINT key : keys) {
        handset::PressKey(key, false);
      }
    };
  };
  const auto tap = [](POINT at) { return [at](HWND) { handset::Tap(at); }; };
  const std::vector<Choice> choices{
      {"enter", press({VK_RETURN}), {kHelp, kAbout}},
      {"down, then enter", press({VK_DOWN, VK_RETURN}), {kHelp, kAbout}},
      {"the same soft key", press({VK_F2}), {kHelp, kAbout}},
      {"a tap on the item", [](HWND menu) { handset::Tap(Centre(RectOf(menu))); }, {kHelp, kAbout}},
      {"escape", press({VK_ESCAPE}), {kHelp}},
      {"the other soft key", press({VK_F1}), {kHelp}},
      {"a tap above it", tap({100, 200}), {kHelp}},
      {"a tap on the bar's left key", tap({60, 620}), {kHelp}},
  };
  MakeBar();
  for (const Choice& choice : choices) {
    steps.emplace_back([] { handset::PressKey(VK_F2, false); });
    steps.emplace_back([&] {
      ASSERT_TRUE(handset::MenuIsOpen()) << choice.name;
      choice.choose(handset::OpenMenu());
    });
    steps.emplace_back([&] {
      EXPECT_FALSE(handset::MenuIsOpen()) << choice.name;
      EXPECT_EQ(CommandIds(), choice.commands) << choice.name;
      EXPECT_EQ(GetFocus(), main) << choice.name;
      log.seen.clear();
    });
  }
  Run();
}

// As the game does for 40000: a sent close, whose default handling destroys the window;
// the bar and any menu go with it.
struct Closing {
  WORD closesOn;
  std::vector<std::function<void()>> input;
  std::vector<WORD> commands;
};
class OwnerClosing : public ShellTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(OwnerClosing, ItselfFromACommandLeavesNothingBehind) {
  MakeBar();
  log.on = [](HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == GetParam().closesOn) {
      SendMessageW(window, WM_CLOSE, 0, 0);
    }
    return false;
  };
  steps.assign(GetParam().input.begin(), GetParam().input.end());
  Run();
  EXPECT_EQ(CommandIds(), GetParam().commands);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(handset::Windows().stack.empty());
}

const std::function<void()> kTapOk = [] { handset::Tap({60, 620}); };
const std::function<void()> kPressHelp = [] { handset::PressKey(VK_F2, false); };
INSTANTIATE_TEST_SUITE_P(ShellTest, OwnerClosing,
                         ::testing::Values(Closing{kOk, {kTapOk}, {kOk}}, Closing{kHelp, {kPressHelp}, {kHelp}},
                                           Closing{kAbout, {kPressHelp, kPressHelp}, {kHelp, kAbout}}));

TEST_F(ShellTest, BrokenBarsAndBadRequestsMakeNoWindow) {
  // A bar that cannot be made clears the handle; a request it cannot read is left alone.
  const auto id = [this](UINT bar) {
    return [bar, this](SHMENUBARINFO& info) {
      info.nToolBarId = bar;
      info.hwndMB = main;
    };
  };
  const std::pair<std::function<void(SHMENUBARINFO&)>, DWORD> cases[] = {
      {id(999), ERROR_RESOURCE_NAME_NOT_FOUND},  // no such RCDATA
      {id(201), ERROR_INVALID_DATA},             // cut short
      {id(202), ERROR_RESOURCE_NAME_NOT_FOUND},  // label missing
      {id(203), ERROR_INVALID_DATA},             // pop-up index past the menu
      {id(204), ERROR_RESOURCE_NAME_NOT_FOUND},  // menu missing
      {[](SHMENUBARINFO& info) { --info.cbSize; }, ERROR_INVALID_PARAMETER},
      {[](SHMENUBARINFO& info) { info.hwndParent = reinterpret_cast<HWND>(0x1234); }, ERROR_INVALID_WINDOW_HANDLE},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SHMENUBARINFO info = BarRequest(102);
    const auto& [change, error] = cases[i];
    change(info);
    SetLastError(0);
    const std::uint64_t refusals = handset::TheHandset().refusals;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << i;
    EXPECT_EQ(GetLastError(), error) << i;
    EXPECT_EQ(handset::TheHandset().refusals, refusals + 1) << i;  // the inner look-up's or the bar's, not both
    EXPECT_EQ(info.hwndMB, nullptr) << i;
  }
  EXPECT_FALSE(SHCreateMenuBar(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WindowsOfKind(Window::Kind::MenuBar), 0);
}

TEST_F(ShellTest, AnEmptyBarReadsNoResourceAndItsKeysDoNothing) {
  SHMENUBARINFO info = BarRequest(999);
  info.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_COLORBK;
  info.clrBk = RGB(0, 80, 160);
  ASSERT_TRUE(SHCreateMenuBar(&info));
  EXPECT_EQ(RectOf(info.hwndMB).top, 640 - 52);
  steps.emplace_back([] {
    EXPECT_EQ(Pixel(2, 639), 0x0050A0U);
    handset::PressKey(VK_F1, false);
    handset::PressKey(VK_F2, false);
  });
  Run();
  EXPECT_TRUE(log.seen.empty());
}

}  // namespace
