#include "dialogs/CentreOverMain.h"

#include <cfloat>
#include <cmath>

#include "platform/runtime_error.h"
#include "platform/forms/form_layout.h"

namespace dialogs {

namespace {

float ToSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
    platform::Raise(platform::RunTimeError(platform::kOverflow, L"Überlauf"));
  return static_cast<float>(value);
}

float Centre(float mainStart, float mainSize, float dialogSize) {
  return ToSingle((static_cast<double>(mainSize) - dialogSize) / 2.0 + mainStart);
}

int CentrePixels(int mainStart, int mainSize, int dialogSize) {
  return mainStart + static_cast<int>(platform::RoundHalfAway((static_cast<double>(mainSize) - dialogSize) / 2.0));
}

}  // namespace

Placement CentreOverMain(float mainLeft, float mainTop, float mainWidth, float mainHeight, float dialogWidth,
                         float dialogHeight) {
  Placement p{};
  p.Top = Centre(mainTop, mainHeight, dialogHeight);  // Top first, as the dialogs assign it
  p.Left = Centre(mainLeft, mainWidth, dialogWidth);
  return p;
}

PixelPoint DialogPosition(const PixelRect& main, int mainDpi, int dialogWidth, int dialogHeight, int dialogDpi) {
  if (mainDpi != dialogDpi) {
    return {CentrePixels(main.left, main.width, dialogWidth), CentrePixels(main.top, main.height, dialogHeight)};
  }
  using platform::PixelsToTwips;
  using platform::TwipsToPixels;
  const Placement p = CentreOverMain(PixelsToTwips(main.left, mainDpi), PixelsToTwips(main.top, mainDpi),
                                     PixelsToTwips(main.width, mainDpi), PixelsToTwips(main.height, mainDpi),
                                     PixelsToTwips(dialogWidth, dialogDpi), PixelsToTwips(dialogHeight, dialogDpi));
  return {TwipsToPixels(p.Left, dialogDpi), TwipsToPixels(p.Top, dialogDpi)};
}

}  // namespace dialogs
