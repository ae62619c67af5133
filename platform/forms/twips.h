#pragma once
// Layout is given in twips (1/1440 inch); windows are sized in pixels at the
// window's DPI, so 15 twips are one pixel at 96 DPI and 10 at 144 DPI.

namespace platform {

inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel, halves away from zero.
int TwipsToPixels(float twips, int dpi);
float PixelsToTwips(int pixels, int dpi);

// Font height in pixels for a size in points (1/72 inch), as a positive
// character height.
int PointsToPixels(float points, int dpi);

// The nearest integer, halves away from zero, as std::lround gives it for any
// value a long long holds, without linking the C runtime's lround (0.5 KB).
long long RoundHalfAway(double value);

}  // namespace platform
