// Which screens a handset can have, and what the window system makes of them.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/window/screen.h"

namespace {

constexpr int kBand = 240;  // a program window of 240 pixels between the bars

TEST(ScreenTest, SizesDensitiesAndRefusals) {
  struct Case {
    const char* text;
    int dpi;  // 0: refused
    int bar;
    const char* error;  // part of the message when refused
  };
  const Case cases[] = {
      {"480x640", 192, 52, ""},
      {"1440x2560", 192, 52, ""},
      {"479x640", 96, 26, ""},
      {"240x292", 96, 26, ""},
      {"240x291", 0, 0, "leaves 239 pixels"},
      {"480x340", 0, 0, "leaves 236"},
      {"239x320", 0, 0, "outside"},
      {"1441x2560", 0, 0, "outside"},
      {"480x2561", 0, 0, "outside"},
      {"480", 0, 0, "not WIDTHxHEIGHT"},
      {"480x", 0, 0, "not WIDTHxHEIGHT"},
      {"480x640x2", 0, 0, "not WIDTHxHEIGHT"},
      {"-480x640", 0, 0, "outside"},
      {"99999999999x640", 0, 0, "not WIDTHxHEIGHT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    const auto screen = handset::ParseScreen(c.text, kBand, error);
    if (c.dpi == 0) {
      EXPECT_FALSE(screen);
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    } else {
      ASSERT_TRUE(screen) << error;
      EXPECT_EQ(screen->dpi, c.dpi);
      EXPECT_EQ(screen->BarHeight(), c.bar);
    }
  }
}

// The bounds the table above finds, one pixel either side.
TEST(ScreenTest, TheSmallestAndLargestAreTheBoundsOfWhatIsTaken) {
  const handset::ScreenSize small = handset::SmallestScreen(kBand);
  const handset::ScreenSize large = handset::LargestScreen();
  EXPECT_EQ(std::tie(small.width, small.height, small.dpi, large.width, large.height, large.dpi),
            std::make_tuple(240, 292, 96, 1440, 2560, 192));
}

}  // namespace
