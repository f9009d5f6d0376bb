// Which screens a handset can have, and what the window system makes of them.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/window/screen.h"

namespace {

constexpr int kBand = 240;  // a program window of 240 pixels between the bars

TEST(ScreenTest, SizesDensitiesAndRefusals) {
  // The size given, its density and bar (0: refused), and part of the message when refused.
  const std::tuple<const char*, int, int, const char*> cases[] = {
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
  for (const auto& [text, dpi, bar, message] : cases) {
    SCOPED_TRACE(text);
    std::string error;
    const auto screen = handset::ParseScreen(text, kBand, error);
    if (dpi == 0) {
      EXPECT_FALSE(screen);
      EXPECT_NE(error.find(message), std::string::npos) << error;
    } else {
      ASSERT_TRUE(screen) << error;
      EXPECT_EQ(screen->dpi, dpi);
      EXPECT_EQ(screen->BarHeight(), bar);
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
