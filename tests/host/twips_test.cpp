#include "platform/forms/twips.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::PixelsToTwips;
using platform::PointsToPixels;
using platform::RoundHalfAway;
using platform::TwipsToPixels;

TEST(Twips, ConvertAtTheWindowsDpi) {
  // The main window's client area and controls at 96 and 144 DPI.
  EXPECT_EQ(TwipsToPixels(6015, 96), 401);
  EXPECT_EQ(TwipsToPixels(915, 96), 61);
  EXPECT_EQ(TwipsToPixels(120, 96), 8);
  EXPECT_EQ(TwipsToPixels(6015, 144), 602);  // 601.5 rounds up
  EXPECT_EQ(TwipsToPixels(255, 144), 26);    // 25.5 rounds up
  EXPECT_EQ(TwipsToPixels(1440, 120), 120);
  EXPECT_EQ(TwipsToPixels(-1245, 96), -83);  // dialogs may open above the screen
  EXPECT_EQ(TwipsToPixels(7, 96), 0);
  EXPECT_EQ(TwipsToPixels(8, 96), 1);
}

TEST(Twips, RoundTripPixels) {
  for (int dpi : {96, 120, 144, 192}) {
    for (int px = -500; px <= 2000; px += 7) EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, dpi), dpi), px);
  }
  EXPECT_FLOAT_EQ(PixelsToTwips(1, 96), 15.0f);
}

TEST(Twips, FontSizes) {
  EXPECT_EQ(PointsToPixels(8.25f, 96), 11);
  EXPECT_EQ(PointsToPixels(8.25f, 144), 17);  // 16.5
  EXPECT_EQ(PointsToPixels(36, 96), 48);
}

TEST(Twips, RoundsAsTheCRuntimesLround) {
  for (double v = -2000.0; v <= 2000.0; v += 0.125) EXPECT_EQ(RoundHalfAway(v), std::lround(v)) << v;
  // Just below a half, and halves where a double holds no further fraction.
  for (double v : {0.49999999999999994, -0.49999999999999994, 4503599627370495.5, -4503599627370495.5, 1e18})
    EXPECT_EQ(RoundHalfAway(v), std::lround(v)) << v;
}
