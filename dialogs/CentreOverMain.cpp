#include "dialogs/CentreOverMain.h"

#include <cfloat>
#include <cmath>

#include "platform/runtime_error.h"

namespace dialogs {

namespace {

float ToSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) throw platform::RunTimeError(platform::kOverflow, L"Überlauf");
  return static_cast<float>(value);
}

float Centre(float mainStart, float mainSize, float dialogSize) {
  return ToSingle((static_cast<double>(mainSize) - dialogSize) / 2.0 + mainStart);
}

}  // namespace

Placement CentreOverMain(float mainLeft, float mainTop, float mainWidth, float mainHeight, float dialogWidth,
                         float dialogHeight) {
  Placement p{};
  p.Top = Centre(mainTop, mainHeight, dialogHeight);  // Top first, as the dialogs assign it
  p.Left = Centre(mainLeft, mainWidth, dialogWidth);
  return p;
}

}  // namespace dialogs
