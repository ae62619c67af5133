#include "platform/forms/twips.h"

namespace platform {

long long RoundHalfAway(double value) {
  // What a truncation leaves is exact in double arithmetic.
  auto whole = static_cast<long long>(value);
  const double fraction = value - static_cast<double>(whole);
  if (fraction >= 0.5) ++whole;
  if (fraction <= -0.5) --whole;
  return whole;
}

int TwipsToPixels(float twips, int dpi) {
  return static_cast<int>(RoundHalfAway(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

float PixelsToTwips(int pixels, int dpi) {
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

int PointsToPixels(float points, int dpi) {
  return static_cast<int>(RoundHalfAway(static_cast<double>(points) * dpi / 72.0));
}

}  // namespace platform
