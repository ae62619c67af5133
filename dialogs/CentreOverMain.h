#pragma once
// Where a dialog opens: centred over the main window's outer bounds, in
// twips, without clamping to the screen.

namespace dialogs {

struct Placement {
  float Top;
  float Left;
};

// Computes in double from the single-precision bounds, then rounds once to
// single precision. A result that does not fit (overflow, infinity, NaN)
// raises the run-time error 6.
Placement CentreOverMain(float mainLeft, float mainTop, float mainWidth, float mainHeight, float dialogWidth,
                         float dialogHeight);

}  // namespace dialogs
